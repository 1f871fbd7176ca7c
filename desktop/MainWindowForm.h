#pragma once
// What the main window shows, once for every front end: its caption, its controls with their
// object names, captions, hints and design rectangles, its actions with their keys and icons,
// the toolbar, the Tab order, the names screen readers read, the two choosers and the fixed
// texts of its questions and progress. Texts are UTF-8. Rectangles are the design's pixels at
// 96 dots per inch (MS Sans Serif 8 point), relative to the enclosing panel; each front end
// scales them to its font.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace trevo::desktop::form {

// Left, top, width, height. A label's width and height are 0: it takes its text's size.
struct DesignRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct Control {
    std::string_view name;     // the object name
    std::string_view caption;  // label, check box, radio button; empty for a box or a panel
    std::string_view hint;     // the tooltip; empty for none; '\n' breaks it into lines
    DesignRect design;
    // What a screen reader calls it, where its caption does not say it; empty for none.
    std::string_view accessibleName;
};

inline constexpr std::string_view kWindowName = "FormMain";
inline constexpr std::string_view kCaption = "TREVO 2ORMEK  | w 2008.01.28";
inline constexpr int kDesignWidth = 472;
inline constexpr int kDesignHeight = 466;
// The trace pane keeps about three lines before the controls give way on a small screen.
inline constexpr int kTraceMinimumHeight = 48;
// Panel_Main_LEft's inner border around the trace pane.
inline constexpr int kTraceBorder = 3;
inline constexpr int kToolButtonWidth = 25;
inline constexpr int kToolButtonHeight = 22;
inline constexpr int kToolIconSize = 16;
inline constexpr int kSeparatorWidth = 13;
// PanelTop's and StatusBar's heights are their rectangles' (the whole width).

// Top to bottom.
inline constexpr Control kPanelTop{"PanelTop", {}, {}, {0, 0, 0, 129}, {}};
inline constexpr Control kToolBar1{"ToolBar1", {}, {}, {1, 1, 462, 29}, {}};
// A click on it runs Act_FirmyKPR.
inline constexpr Control kLabel1{"Label1", "Katalog danych KPR", {}, {8, 32, 0, 0}, {}};
inline constexpr Control kDeKpr{"de_KPR",
                                {},
                                "tj. katalog firmy do której importujemy dane",
                                {8, 48, 209, 21},
                                "Katalog danych KPR"};
inline constexpr std::string_view kDeKprBrowseName = "Wybierz katalog danych KPR";
inline constexpr Control kLabel2{"Label2", "Plik Exp2Kap.kpm", {}, {232, 32, 0, 0}, {}};
inline constexpr Control kFeEpp{"FE_EPP",
                                {},
                                "tj. wybranie/ wskazanie jego lokalizacji\n"
                                "Odczytywane są dane z wersji \"format danych:comma\"",
                                {232, 48, 209, 21},
                                "Plik Exp2Kap.kpm"};
inline constexpr std::string_view kFeEppBrowseName = "Wybierz plik Exp2Kap.kpm";
// Its caption to the left of the box; should it not fit, it grows to the left, keeping its right
// edge. Unchecked at start, not saved.
inline constexpr Control kChSprawdz{"ch_sprawdz",
                                    "tylko sprawdź",
                                    "Przeprowadza konwersję bez zapisu danych na dysk",
                                    {353, 29, 84, 17},
                                    {}};
inline constexpr Control kPanelPl{"Panel_PL", {}, {}, {8, 72, 137, 25}, "Polskie litery w KPR"};
// In Panel_PL; RB_MAZ checked at start.
inline constexpr Control kRbMaz{
    "RB_MAZ", "MAZovia", "Polskie litery w KPR_ZD PL=MAZ", {3, 4, 65, 17}, {}};
inline constexpr Control kRb852{
    "RB_852", "CP852", "Polskie litery w KPR_ZD PL=852", {75, 4, 57, 17}, {}};
inline constexpr Control kLabel3{
    "Label3", "Atrybut KPR", "atrybut dokumentu w kpr", {12, 98, 0, 0}, {}};
// One character at most, as Edit_REJ.
inline constexpr Control kEditAtrybut{
    "Edit_Atrybut", {}, "Litera grupująca Atr(x) w KPR", {72, 96, 17, 21}, "Atrybut KPR"};
inline constexpr Control kLabel4{
    "Label4", "Rejestr( )", "identyfikator rejestru", {110, 98, 0, 0}, {}};
inline constexpr Control kEditRej{
    "Edit_REJ", {}, "Literka identyfikacyjna GrupaR(x) w KPR", {168, 96, 17, 21}, "Rejestr( )"};
inline constexpr std::size_t kLetterBoxLength = 1;
// PanelMain fills the rest; Panel_Main_LEft fills it; MemoTrace fills that within its border.
inline constexpr Control kPanelMain{"PanelMain", {}, {}, {}, {}};
inline constexpr Control kPanelMainLeft{"Panel_Main_LEft", {}, {}, {}, {}};
inline constexpr Control kMemoTrace{
    "MemoTrace", {}, "Okienko wyników pracy i przebiegu operacji", {}, {}};
inline constexpr Control kStatusBar{"StatusBar", {}, {}, {0, 0, 0, 19}, "Pasek stanu"};
// The status bar's two texts: the owner line, and instead of it the flow's status text.
inline constexpr std::string_view kOwnerLineName = "OwnerLine";
inline constexpr std::string_view kStatusMessageName = "StatusMessage";
inline constexpr std::string_view kOwnerLine =
    "Program trevo2KPR · właściciel: licencjobiorca programu";

// Keyboard (Tab) order by object name; of RB_MAZ and RB_852 only the checked one is a stop.
inline constexpr std::array<std::string_view, 8> kTabOrder = {
    "de_KPR", "FE_EPP", "ch_sprawdz", "Edit_Atrybut", "Edit_REJ", "RB_MAZ", "RB_852", "MemoTrace"};

// The choosers of the two boxes with a browse button.
struct FileFilter {
    std::string_view text;     // as the user sees it
    std::string_view pattern;  // "*.*": every file, names without a dot included
};
inline constexpr std::string_view kLedgerDirTitle = "Gdzie te dane ?";
inline constexpr std::string_view kExportFileTitle = "Gdzież ten plik FVS ?";
inline constexpr std::string_view kExportDefaultSuffix = "txt";
// In this order; only an existing file can be chosen.
inline constexpr std::array<FileFilter, 3> kExportFilters = {{
    {"Plik \"Trevovrs\" ", "eksp2kap.kpm"},
    {"Pliki  \"*.kpm\"", "*.kpm"},
    {"Wszystkie pliki", "*.*"},
}};

// Actions, in the order of ActionList.
enum class ActionId : std::uint8_t { Convert, Companies, Help, ClearTrace, Close, Undo };
// What each action's 16 x 16 image shows; each front end draws its own.
enum class Icon : std::uint8_t { Start, OpenFolder, Question, Clear, Close, Back };
// Ctrl/Shift with a letter 'A'..'Z', or a function key (F1 = 1) alone.
struct Key {
    bool ctrl = false;
    bool shift = false;
    char letter = 0;
    int function = 0;
};
struct Action {
    ActionId id;
    std::string_view name;
    std::string_view caption;
    std::string_view hint;  // the tooltip adds the key: ActionTooltip
    Key key;
    Icon icon;
    std::string_view button;  // its toolbar button's object name
    bool checkable = false;   // act_Help: pressed while hints are on
};
// Keys the boxes do not take for themselves (Ctrl+Z, Ctrl+A ... edit text).
inline constexpr std::array<Action, 6> kActions = {{
    {ActionId::Convert,
     "act_Konwert",
     "Konwersja",
     "Konwersja danych ze standardu VAT_R.TXT \"vrs\" 2 KPR",
     {true, false, 'R', 0},
     Icon::Start,
     "tk_KOnwersja",
     false},
    {ActionId::Companies,
     "Act_FirmyKPR",
     "Firmy KPR",
     "Ułatwia wybranie katalogu firmy z KPR",
     {true, false, 'F', 0},
     Icon::OpenFolder,
     "ToolButton3",
     false},
    {ActionId::Help,
     "act_Help",
     "Włącza dymki podpowiedzi",
     "Włącza dymki podpowiedzi",
     {false, false, 0, 1},
     Icon::Question,
     "tb_Help",
     true},
    {ActionId::ClearTrace,
     "act_WyczyscTrace",
     "Wyczyść",
     "Czyści pole śledzenia",
     {true, false, 'L', 0},
     Icon::Clear,
     "tb_ClearTrace",
     false},
    {ActionId::Close,
     "act_Close",
     "Koniec",
     "Kończy pracę programu",
     {true, false, 'Q', 0},
     Icon::Close,
     "tb_koniec",
     false},
    // Ctrl+Z undoes typing in the boxes; a question follows in any case.
    {ActionId::Undo,
     "act_Cofnij",
     "Cofnij ostatnią konwersję",
     "Cofa ostatnią konwersję do katalogu danych KPR",
     {true, true, 'C', 0},
     Icon::Back,
     "tb_Cofnij",
     false},
}};
inline constexpr std::string_view kActionListName = "ActionList";

constexpr const Action& ActionOf(ActionId id) {
    return kActions[static_cast<std::size_t>(id)];
}

// The toolbar, left to right; separators are named ToolSeparator1, 2, ... in order.
struct ToolbarItem {
    bool separator = false;
    ActionId action = ActionId::Convert;  // unless a separator
};
inline constexpr std::array<ToolbarItem, 10> kToolbar = {{
    {false, ActionId::Convert},
    {true, {}},
    {false, ActionId::Companies},
    {true, {}},
    {false, ActionId::Help},
    {false, ActionId::ClearTrace},
    {true, {}},
    {false, ActionId::Close},
    {true, {}},
    {false, ActionId::Undo},
}};
inline constexpr std::string_view kSeparatorNamePrefix = "ToolSeparator";

// "Ctrl+Shift+C", "F1".
std::string KeyText(const Key& key);
// The hint with the key: "Czyści pole śledzenia (Ctrl+L)", so that hints teach the keys.
std::string ActionTooltip(const Action& action);

// The flow's questions and progress texts.
inline constexpr std::string_view kConfirmCaption = "Start ...";
inline constexpr std::string_view kBookedCaption = "Dokumenty już w KPR";
inline constexpr std::string_view kScanProgress =
    "Sprawdzanie, które dokumenty eksportu są już w KPR - proszę czekać…";
inline constexpr std::string_view kUndoQuestionCaption = "Cofnięcie konwersji";
inline constexpr std::string_view kUndoChecking =
    "Cofanie: sprawdzanie plików ostatniej konwersji - proszę czekać…";
inline constexpr std::string_view kUndoing = "Cofanie ostatniej konwersji - proszę czekać…";
// The error box's text for an error without one.
inline constexpr std::string_view kUnknownError = "Nieznany błąd";

}  // namespace trevo::desktop::form
