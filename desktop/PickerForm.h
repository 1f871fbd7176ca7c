#pragma once
// The company picker "SpisFirm wg KPR" as plain data, for any front end to build it from:
// controls with their names, captions, hints and design rectangles, the grid's columns, the
// open-file dialog's filters, the initial file name and directory, and what a grid cell shows.
// Texts are UTF-8; rectangles are design pixels (x, y, width, height) at 96 pixels per inch,
// which a front end scales to its font or DPI.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "companies/CompanyRows.h"

namespace trevo::desktop::picker_form {

inline constexpr std::string_view kFormName = "FormSpisFirm";
inline constexpr std::string_view kCaption = "SpisFirm wg KPR";
// Also the minimum track size: resizable, never below it.
inline constexpr int kDesignWidth = 360;
inline constexpr int kDesignHeight = 310;

struct DesignRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ControlSpec {
    std::string_view name;     // the control's name (Qt object name, Win32 test hooks)
    std::string_view caption;  // shown text; empty for none
    // The name a screen reader announces (and the tooltip, where one is given); empty when
    // the caption or the label naming the control says it.
    std::string_view accessibleName;
    DesignRect rect;  // width or height 0: laid out (fills or follows, see each)
};

// Along the top edge, full width, 57 pixels high; holds the next four.
inline constexpr ControlSpec kPanelTop{"PanelTop", "", "", {0, 0, 0, 57}};
inline constexpr ControlSpec kLabel1{"Label1", "Lokalizacja pliku SpisFirm.Dat", "", {8, 6, 0, 0}};
// The file box with its browse button at its right end, within these 193 pixels; the label
// names it for a screen reader.
inline constexpr ControlSpec kFilenameEdit{
    "FilenameEdit", "", "Lokalizacja pliku SpisFirm.Dat", {8, 24, 193, 21}};
inline constexpr ControlSpec kBrowseButton{
    "FilenameEditButton", "…", "Wybierz plik listy firm", {0, 0, 0, 0}};
inline constexpr ControlSpec kLoadButton{"bb_Zaladuj", "Załaduj ...", "", {216, 22, 75, 25}};
// Fills the rest above the status line, with a 5-pixel border around the grid.
inline constexpr ControlSpec kPanelMain{"PanelMain", "", "", {0, 57, 0, 0}};
inline constexpr int kPanelMainBorder = 5;
// Read-only, whole rows selected, one current row with a marker, column titles, grid lines,
// resizable columns; focused when the dialog opens; double click and Enter confirm.
inline constexpr ControlSpec kGrid{"DBGridLista", "", "Lista firm", {0, 0, 0, 0}};
// One line under the grid, 5 pixels in from both sides: where the rows came from, or why there
// are none. A long text is shortened in its middle; the whole text is its tooltip.
inline constexpr ControlSpec kStatusLine{"LabelStatus", "", "", {5, 0, 0, 0}};

// Tab order: the grid, the file box, the load button.
inline constexpr std::array<std::string_view, 3> kTabOrder{"DBGridLista", "FilenameEdit",
                                                           "bb_Zaladuj"};

// The grid's columns, in this order: title and width in characters (CompanyRows' widths).
enum class Column : std::uint8_t { Firma, Katalog, Info };
struct ColumnSpec {
    Column column;
    std::string_view title;
    std::size_t widthInCharacters;
};
inline constexpr std::array<ColumnSpec, 3> kColumns{{
    {Column::Firma, "Firma", kFirmaWidth},
    {Column::Katalog, "Katalog", kKatalogWidth},
    {Column::Info, "Info", kInfoWidth},
}};
// The current row's marker in the grid's row header.
inline constexpr std::string_view kCurrentRowMarker = "▶";

// The open-file dialog of the browse button: filters in order (text shown, pattern), an
// existing file only.
struct FileFilter {
    std::string_view text;
    std::string_view pattern;
};
inline constexpr std::array<FileFilter, 2> kFileFilters{{
    {"Plik firm (gw KPR)", "spisfirm.dat"},
    {"Wszystkie (*.*)", "*.*"},
}};

// The box's text before any setting is restored: looked for from the current directory.
inline constexpr std::string_view kInitialFileName = "spisfirm.dat";
// Where the open-file dialog opens when the box's name has no existing directory (and no file
// was chosen before): the ledger program's usual folder on Windows; elsewhere it has no
// counterpart and the dialog opens in the current directory (empty).
#ifdef _WIN32
inline constexpr std::string_view kInitialDirectory = "c:\\kpr_zd";
#else
inline constexpr std::string_view kInitialDirectory = "";
#endif

// What a cell of `row` shows (UTF-8): the row's value; an Info cut to its column ends with "…".
std::string CellText(const CompanyRow& row, Column column);
// The cell's tooltip: the whole value (Info uncut).
std::string CellTip(const CompanyRow& row, Column column);

}  // namespace trevo::desktop::picker_form
