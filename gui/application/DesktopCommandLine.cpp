#include "gui/application/DesktopCommandLine.h"

#include <string_view>

#include "version/Version.h"

namespace trevo::gui {

namespace {

constexpr std::string_view kHelp =
    "Użycie: trevo2KPR [--help | --version]\n"
    "\n"
    "Otwiera okno programu: księguje rejestr VAT wyeksportowany z programu fakturującego\n"
    "(plik eksportu, np. \"eksp2kap.kpm\") w miesięcznych plikach danych KPR firmy.\n"
    "To samo z wiersza poleceń: trevo2kpr-cli (trevo2kpr-cli --help).\n"
    "\n"
    "Opcje:\n"
    "  -h, --help     wypisuje tę pomoc\n"
    "  -V, --version  wypisuje wersję programu\n"
    "Pozostałe opcje przyjmuje Qt (np. -platform, -style).\n"
    "\n"
    "Kwoty w śladzie mają format pieniężny ustawień regionalnych LC_MONETARY (przy C: 319.03,\n"
    "przy pl_PL.UTF-8: 319,03 zł). Ustawienia okien: trevo2KPR.INI obok programu albo, dla\n"
    "programu zainstalowanego, w $XDG_CONFIG_HOME/trevo2KPR/ (domyślnie ~/.config/trevo2KPR/).\n";

}  // namespace

std::optional<std::string> InformationRequested(std::span<char* const> args) {
    for (std::size_t i = 1; i < args.size() && args[i] != nullptr; ++i) {
        const std::string_view arg = args[i];
        if (arg == "--") {
            break;
        }
        if (arg == "--help" || arg == "-h") {
            return std::string(kHelp);
        }
        if (arg == "--version" || arg == "-V") {
            return "trevo2KPR " + std::string(ProgramVersion()) + "\n";
        }
    }
    return std::nullopt;
}

}  // namespace trevo::gui
