#include "cli/Help.h"

#include "version/Version.h"

namespace trevo::cli {

namespace {

// Each command's exit statuses: one status a line, its cases separated by semicolons. The
// manual pages and the README list the same cases (tests/packaging/check-exit-statuses.py).
constexpr std::string_view kExitStatuses =
    "Kod wyjścia:\n"
    "  0      plik eksportu przeczytany do końca\n"
    "  1      przebieg przerwany błędem pliku danych KPR lub odczytu (ślad jest pełny); ostatni\n"
    "         plik danych nie dał się zamknąć; śladu nie udało się zapisać na standardowe\n"
    "         wyjście; plik eksportu zmienił się w trakcie odczytu; podsumowania JSON nie udało\n"
    "         się zapisać\n"
    "  2      błąd wywołania (także odrzucona nazwa --summary-json); brak katalogu danych KPR;\n"
    "         pliku eksportu nie da się otworzyć\n"
    "  3      z --strict: plik przeczytany do końca, ale dokument odrzucono, wartość odczytano\n"
    "         jako zero albo pominięto niepusty wiersz o długości innej niż 510 znaków\n"
    "  128+N  przebieg przerwany sygnałem numer N po zapisaniu bieżącego dokumentu (130 Ctrl+C,\n"
    "         143 SIGTERM, 129 SIGHUP; w Windows 130 Ctrl+C, 149 Ctrl+Break, 129 zamknięcie okna\n"
    "         konsoli), ostatni wiersz śladu podaje liczbę zapisanych\n";

constexpr std::string_view kMoneyFormat =
    "Kwoty w śladzie mają format pieniężny ustawień regionalnych LC_MONETARY (albo LC_ALL,\n"
    "LANG): przy C 319.03, przy pl_PL.UTF-8 319,03 zł.\n"
    "\n";

constexpr std::string_view kConvertUsage =
    "  trevo2kpr-cli convert [--check] [--code-page mazovia|852] [--attribute C]\n"
    "                        [--register C] [--skip-booked] [--summary]\n"
    "                        [--summary-json FILE] [--strict] EXPORT_FILE [LEDGER_DIR]\n";
constexpr std::string_view kCompaniesUsage =
    "  trevo2kpr-cli companies [--code-page mazovia|852] LIST_FILE\n";
constexpr std::string_view kShowUsage =
    "  trevo2kpr-cli show [--code-page mazovia|852] [--format text|csv|json] PERIOD_FILE\n";
constexpr std::string_view kVerifyUsage =
    "  trevo2kpr-cli verify [--code-page mazovia|852] LEDGER_DIR\n";
constexpr std::string_view kUndoUsage =
    "  trevo2kpr-cli undo [--check | --discard-unfinished] LEDGER_DIR\n";

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
        kShowUsage,
        kVerifyUsage,
        kUndoUsage,
        "  trevo2kpr-cli help [POLECENIE] | --help | --version\n"
        "\n"
        "Polecenia:\n"
        "  convert    księguje dokumenty pliku eksportu i wypisuje ślad przebiegu\n"
        "  companies  wypisuje firmy z listy firm programu KPR (\"spisfirm.dat\")\n"
        "  show       wypisuje rekordy pliku danych KPR (tabela, CSV albo JSON)\n"
        "  verify     sprawdza pliki danych KPR katalogu z układem rekordu\n"
        "  undo       cofa ostatni zapisujący przebieg do katalogu danych KPR\n"
        "\n"
        "Opcje:\n"
        "  -h, --help     wypisuje tę pomoc (po nazwie polecenia: pomoc polecenia)\n"
        "  -V, --version  wypisuje wersję programu\n"
        "\n",
        kMoneyFormat,
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
        "  --skip-booked         nie księguje ponownie dokumentów, które plik miesiąca już ma\n"
        "                        (ten sam numer, NIP i data); w śladzie jeden wiersz za każdy\n"
        "  --summary             po przebiegu wypisuje podsumowanie na standardowe wyjście błędów\n"
        "  --summary-json PLIK   zapisuje podsumowanie w PLIKU jako JSON; '-' to standardowe\n"
        "                        wyjście po śladzie; urządzenie lub FIFO jest zapisywane, zwykły\n"
        "                        plik zastępowany, ale nigdy plik eksportu, plik okresu KPR,\n"
        "                        dziennik ani plik tylko do odczytu (kod 2 przed przebiegiem)\n"
        "  --strict              kod wyjścia 3, gdy dokument odrzucono, wartość odczytano jako\n"
        "                        zero albo pominięto wiersz o długości innej niż 510 znaków\n"
        "  -h, --help            wypisuje tę pomoc\n"
        "\n"
        "Dokument, który plik miesiąca miał już przed przebiegiem, jest zgłaszany wierszem na\n"
        "standardowym wyjściu błędów. Każdy zapisujący przebieg prowadzi dziennik w katalogu\n"
        "LEDGER_DIR/trevo2KPR.dziennik; polecenie undo cofa przebieg według niego.\n"
        "\n",
        kMoneyFormat,
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
        "Kod wyjścia:\n"
        "  0  lista wypisana\n"
        "  1  listy nie udało się zapisać na standardowe wyjście\n"
        "  2  błąd wywołania; brak pliku listy\n",
    });
    return text;
}

std::string_view ShowHelp() {
    static const std::string text = Joined({
        "Użycie:\n",
        kShowUsage,
        "\n"
        "Wypisuje każdy rekord pliku danych KPR PERIOD_FILE (<rok>ORMEK.<miesiąc>) w UTF-8.\n"
        "text: czytelna tabela najważniejszych pól; csv: wiersz nagłówka, potem wiersz na rekord,\n"
        "kolumna slot (pozycja w pliku od 1) i każde pole rekordu w jego kolejności; json: "
        "tablica\n"
        "obiektów o tych samych kluczach. Daty RRRR-MM-DD (puste dla daty zerowej), kwoty w\n"
        "najkrótszym zapisie dziesiętnym z kropką. Rekordy są wypisywane w miarę czytania;\n"
        "szerokości kolumn tabeli wyznacza pierwszych 1000 rekordów, dłuższa wartość dalej\n"
        "poszerza swoją kolumnę od swojego wiersza. Na terminalu znaki sterujące z rekordów są\n"
        "pokazywane (^[ dla ESC, ^J dla LF), nie wykonywane.\n"
        "\n"
        "Opcje:\n"
        "  --code-page WARTOŚĆ   strona kodowa polskich liter: mazovia (domyślnie) albo 852\n"
        "  --format WARTOŚĆ      text (domyślnie), csv albo json\n"
        "  -h, --help            wypisuje tę pomoc\n"
        "\n"
        "Kod wyjścia:\n"
        "  0  wypisano\n"
        "  1  niepełny rekord na końcu pliku (zgłoszony na standardowym wyjściu błędów po\n"
        "     rekordach); wyniku nie udało się zapisać na standardowe wyjście\n"
        "  2  błąd wywołania; pliku nie da się odczytać\n",
    });
    return text;
}

std::string_view VerifyHelp() {
    static const std::string text = Joined({
        "Użycie:\n",
        kVerifyUsage,
        "\n"
        "Sprawdza każdy plik danych KPR katalogu LEDGER_DIR: całe rekordy, seqNo równy pozycji\n"
        "w pliku, entryDate w roku i miesiącu pliku, zerowe bajty zarezerwowane, teksty w\n"
        "granicach pojemności i wartości pól z dozwolonych zbiorów. Każda data musi być dniem\n"
        "kalendarza (z latami przestępnymi) albo datą zerową; entryDate nie może być zerowa.\n"
        "Każdy problem to jeden wiersz, wypisany od razu; problemów z rekordami jednego pliku\n"
        "najwyżej 100, potem jeden wiersz z liczbą pozostałych. Na terminalu znaki sterujące\n"
        "są pokazywane, nie wykonywane.\n"
        "\n"
        "Opcje:\n"
        "  --code-page WARTOŚĆ   strona kodowa polskich liter: mazovia (domyślnie) albo 852\n"
        "  -h, --help            wypisuje tę pomoc\n"
        "\n"
        "Kod wyjścia:\n"
        "  0  bez problemów\n"
        "  1  jest problem; wyniku nie udało się zapisać na standardowe wyjście\n"
        "  2  błąd wywołania; katalogu nie da się odczytać\n",
    });
    return text;
}

std::string_view UndoHelp() {
    static const std::string text = Joined({
        "Użycie:\n",
        kUndoUsage,
        "\n"
        "Cofa ostatni zapisujący przebieg do katalogu LEDGER_DIR według jego dziennika\n"
        "(LEDGER_DIR/trevo2KPR.dziennik): każdy plik danych wraca bajt w bajt do stanu sprzed\n"
        "przebiegu, plik utworzony przez przebieg jest usuwany. Jeśli któryś plik nie kończy się\n"
        "dokładnie rekordami tego przebiegu albo nie da się go zmienić, nic nie jest zmieniane.\n"
        "Gdy zmiana nie powiedzie się w połowie, to, co już zmieniono, wraca na miejsce; cofanie\n"
        "przerwane (np. zabite) dokończy następne wywołanie undo. Kolejne wywołanie cofa\n"
        "przebieg wcześniejszy.\n"
        "\n"
        "Opcje:\n"
        "  --check                tylko mówi, co zostałoby zrobione\n"
        "  --discard-unfinished   odkłada najnowszy dziennik, którego nie da się użyć (przebieg\n"
        "                         niezakończony, dziennik uszkodzony albo w starym formacie),\n"
        "                         bez zmiany plików danych; potem można cofać przebiegi\n"
        "                         wcześniejsze\n"
        "  -h, --help             wypisuje tę pomoc\n"
        "\n"
        "Kod wyjścia:\n"
        "  0  cofnięto (z --check: można cofnąć, z --discard-unfinished: odłożono)\n"
        "  1  nie ma czego cofnąć; cofnięcie odmówione (nic nie zmieniono); zmiana nie powiodła\n"
        "     się i wszystko przywrócono (standardowe wyjście błędów podaje plik); z --check:\n"
        "     wyniku nie udało się zapisać na standardowe wyjście\n"
        "  2  błąd wywołania; brak katalogu\n"
        "  4  cofnięto albo odłożono, ale wyniku nie udało się zapisać na standardowe wyjście\n"
        "  5  zmiana nie powiodła się i nie wszystko dało się przywrócić (standardowe wyjście\n"
        "     błędów podaje plik, następne undo dokończy cofanie)\n",
    });
    return text;
}

std::string VersionText() {
    return "trevo2kpr-cli " + std::string(ProgramVersion()) + "\n";
}

}  // namespace trevo::cli
