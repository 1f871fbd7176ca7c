#pragma once
// The picker's grid: a report-view list view over the company rows, whole rows selected, grid
// lines, column titles, resizable columns, one row current and marked in a narrow first
// column. The texts live here; the list view asks for them as it draws (owner data), so a list
// of any length is shown at once. The order is the one given: the grid never sorts.

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace trevo::win32 {

class CompanyGrid {
  public:
    // One row's texts, column by column.
    using Row = std::vector<std::wstring>;

    // Creates the list view as the child `id` of `parent`, with the columns' titles; the
    // current row shows `marker` in the column before them.
    void Create(HWND parent, int id, const std::vector<std::wstring>& titles, std::wstring marker);

    HWND Handle() const { return list_; }

    void SetRows(std::vector<Row> rows);
    std::size_t RowCount() const { return rows_.size(); }
    const std::vector<Row>& Rows() const { return rows_; }
    // Makes `row` current: selected, focused, marked and scrolled into view; none clears it.
    void SetCurrentRow(std::optional<std::size_t> row);
    std::optional<std::size_t> CurrentRow() const;

    // Widths of the text columns (0 is the first title's) and of the marker's.
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    int MarkerWidth() const;
    void SetMarkerWidth(int width);
    // The width inside the grid's border and scroll bar.
    int InnerWidth() const;

    // Answers the list view's notifications: a cell's text, the current row's move, the
    // marker's drawing (`result` for the dialog's DWLP_MSGRESULT). True when `header` came from
    // the grid.
    bool OnNotify(const NMHDR& header, LRESULT& result);

  private:
    static LRESULT CALLBACK TitlesProcedure(HWND titles, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR data);
    void Mark(std::optional<std::size_t> row);
    void AnswerText(const NMHDR& header) const;
    // The marker cell of a row: its background, and the marker as a triangle (fonts do not
    // all have the marker's character; the cell's text stays it for a screen reader).
    LRESULT DrawMarkerCell(NMLVCUSTOMDRAW& draw) const;

    HWND list_ = nullptr;
    std::vector<Row> rows_;
    std::wstring marker_;
    std::optional<std::size_t> marked_;
};

}  // namespace trevo::win32
