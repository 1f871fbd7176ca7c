#include "cli/Help.h"

#include "version/Version.h"

namespace trevo::cli {

namespace {

constexpr std::string_view kExitStatuses =
    "Kod wyjścia:\n"
    "  0  plik eksportu przeczytany do końca\n"
    "  1  przebieg przerwany błędem pliku danych KPR lub odczytu (ślad jest pełny), ostatni plik\n"
    "     danych nie dał się zamknąć albo śladu nie udało się zapisać na standardowe wyjście\n"
    "  2  błąd wywołania, brak katalogu danych KPR albo pliku eksportu nie da się otworzyć\n";

constexpr std::string_view kConvertUsage =
    "  trevo2kpr-cli convert [--check] [--code-page mazovia|852] [--attribute C]\n"
    "                        [--register C] EXPORT_FILE [LEDGER_DIR]\n";
constexpr std::string_view kCompaniesUsage =
    "  trevo2kpr-cli companies [--code-page mazovia|852] LIST_FILE\n";

std::string Joined(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts) {
        text += part;
    }
    return text;
}

}  // namespace

std::string_view ProgramHelp() {
    static const std::string text = Joined({
        "Księguje rejestr VAT wyeksportowany z programu fakturującego (plik eksportu, np.\n"
        "\"eksp2kap.kpm\") w miesięcznych plikach danych KPR firmy.\n"
        "\n"
        "Użycie:\n",
        kConvertUsage,
        kCompaniesUsage,
        "  trevo2kpr-cli --help | --version\n"
        "\n"
        "Polecenia:\n"
        "  convert    księguje dokumenty pliku eksportu i wypisuje ślad przebiegu\n"
        "  companies  wypisuje firmy z listy firm programu KPR (\"spisfirm.dat\")\n"
        "\n"
        "Opcje:\n"
        "  -h, --help     wypisuje tę pomoc (po nazwie polecenia: pomoc polecenia)\n"
        "  -V, --version  wypisuje wersję programu\n"
        "\n",
        kExitStatuses,
    });
    return text;
}

std::string_view ConvertHelp() {
    static const std::string text = Joined({
        "Użycie:\n",
        kConvertUsage,
        "\n"
        "Księguje każdy dokument pliku eksportu EXPORT_FILE w pliku danych KPR jego miesiąca\n"
        "(LEDGER_DIR/<rok>ORMEK.<miesiąc>) i wypisuje ślad przebiegu na standardowe wyjście,\n"
        "w UTF-8, wiersz po wierszu.\n"
        "\n"
        "Opcje:\n"
        "  --check               tylko sprawdza: czyta, mapuje i raportuje każdy dokument bez\n"
        "                        zapisu; LEDGER_DIR jest wtedy zbędny i nietknięty\n"
        "  --code-page WARTOŚĆ   strona kodowa polskich liter w plikach KPR: mazovia (domyślnie)\n"
        "                        albo 852\n"
        "  --attribute ZNAK      atrybut KPR: jeden znak wpisywany do każdego zapisu\n"
        "  --register ZNAK       rejestr KPR: jeden znak wpisywany do każdego zapisu\n"
        "  -h, --help            wypisuje tę pomoc\n"
        "\n",
        kExitStatuses,
    });
    return text;
}

std::string_view CompaniesHelp() {
    static const std::string text = Joined({
        "Użycie:\n",
        kCompaniesUsage,
        "\n"
        "Wypisuje firmy z listy firm programu KPR LIST_FILE (\"spisfirm.dat\") w kolejności\n"
        "okna wyboru firmy (według nazwy), po jednej w wierszu: nazwa, katalog i informacja\n"
        "rozdzielone tabulatorami, w UTF-8.\n"
        "\n"
        "Opcje:\n"
        "  --code-page WARTOŚĆ   strona kodowa polskich liter listy: mazovia (domyślnie) albo 852\n"
        "  -h, --help            wypisuje tę pomoc\n"
        "\n"
        "Kod wyjścia: 0 lista wypisana; 2 brak pliku listy albo błąd wywołania.\n",
    });
    return text;
}

std::string VersionText() {
    return "trevo2kpr-cli " + std::string(ProgramVersion()) + "\n";
}

}  // namespace trevo::cli
