#include "win32/picker/CompanyGrid.h"

#include <windowsx.h>

#include <algorithm>
#include <string_view>

namespace trevo::win32 {

void CompanyGrid::Create(HWND parent, int id, const std::vector<std::wstring>& titles,
                         std::wstring marker) {
    marker_ = std::move(marker);
    list_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                  LVS_SHOWSELALWAYS | LVS_OWNERDATA,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              ::GetModuleHandleW(nullptr), nullptr);
    // Cut texts show whole in a tip; no flicker while a long list scrolls.
    const DWORD extended =
        LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_LABELTIP | LVS_EX_DOUBLEBUFFER;
    ListView_SetExtendedListViewStyleEx(list_, extended, extended);
    // A double click on the column titles counts as one in the grid (not on a divider, which
    // fits the column).
    ::SetWindowSubclass(ListView_GetHeader(list_), TitlesProcedure, 0,
                        reinterpret_cast<DWORD_PTR>(list_));
    std::vector<std::wstring> columns{L""};
    columns.insert(columns.end(), titles.begin(), titles.end());
    for (std::size_t column = 0; column < columns.size(); ++column) {
        LVCOLUMNW format{};
        format.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        format.fmt = column == 0 ? LVCFMT_CENTER : LVCFMT_LEFT;
        format.cx = 16;
        format.pszText = columns[column].data();
        format.iSubItem = static_cast<int>(column);
        ListView_InsertColumn(list_, static_cast<int>(column), &format);
    }
}

LRESULT CALLBACK CompanyGrid::TitlesProcedure(HWND titles, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_LBUTTONDBLCLK) {
        HDHITTESTINFO hit{};
        hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::SendMessageW(titles, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if ((hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) == 0) {
            const auto list = reinterpret_cast<HWND>(data);
            NMHDR header{};
            header.hwndFrom = list;
            header.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(list));
            header.code = NM_DBLCLK;
            ::SendMessageW(::GetParent(list), WM_NOTIFY, header.idFrom,
                           reinterpret_cast<LPARAM>(&header));
            return 0;
        }
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(titles, TitlesProcedure, 0);
    }
    return ::DefSubclassProc(titles, message, wParam, lParam);
}

void CompanyGrid::SetRows(std::vector<Row> rows) {
    rows_ = std::move(rows);
    marked_.reset();
    ListView_SetItemCountEx(list_, static_cast<int>(rows_.size()), 0);
    ::InvalidateRect(list_, nullptr, TRUE);
}

void CompanyGrid::SetCurrentRow(std::optional<std::size_t> row) {
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (!row || *row >= rows_.size()) {
        Mark(std::nullopt);
        return;
    }
    const int index = static_cast<int>(*row);
    ListView_SetItemState(list_, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list_, index, FALSE);
    Mark(row);
}

std::optional<std::size_t> CompanyGrid::CurrentRow() const {
    const int index = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    if (index < 0 || static_cast<std::size_t>(index) >= rows_.size()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(index);
}

int CompanyGrid::ColumnWidth(int column) const {
    return ListView_GetColumnWidth(list_, column + 1);
}

void CompanyGrid::SetColumnWidth(int column, int width) {
    ListView_SetColumnWidth(list_, column + 1, std::max(width, 1));
}

int CompanyGrid::MarkerWidth() const {
    return ListView_GetColumnWidth(list_, 0);
}

void CompanyGrid::SetMarkerWidth(int width) {
    ListView_SetColumnWidth(list_, 0, std::max(width, 1));
}

int CompanyGrid::InnerWidth() const {
    RECT client{};
    ::GetClientRect(list_, &client);
    // Room for the vertical scroll bar whether it shows or not, so that widths do not jump
    // when a longer list brings it.
    const bool scrolls = (::GetWindowLongPtrW(list_, GWL_STYLE) & WS_VSCROLL) != 0;
    const int bar = scrolls ? 0 : ::GetSystemMetrics(SM_CXVSCROLL);
    return std::max<int>(client.right - client.left - bar, 1);
}

void CompanyGrid::Mark(std::optional<std::size_t> row) {
    const auto redraw = [this](std::optional<std::size_t> which) {
        if (which && *which < rows_.size()) {
            ListView_RedrawItems(list_, static_cast<int>(*which), static_cast<int>(*which));
        }
    };
    if (row == marked_) {
        return;
    }
    const auto old = marked_;
    marked_ = row;
    redraw(old);
    redraw(marked_);
}

bool CompanyGrid::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != list_) {
        return false;
    }
    result = 0;
    if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) != 0 &&
            ((change.uNewState ^ change.uOldState) & LVIS_FOCUSED) != 0) {
            Mark(CurrentRow());
        }
    } else if (header.code == LVN_GETDISPINFOW) {
        AnswerText(header);
    } else if (header.code == NM_CUSTOMDRAW) {
        auto& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(const_cast<NMHDR&>(header));
        switch (draw.nmcd.dwDrawStage) {
            case CDDS_PREPAINT:
                result = CDRF_NOTIFYITEMDRAW;
                break;
            case CDDS_ITEMPREPAINT:
                result = CDRF_NOTIFYSUBITEMDRAW;
                break;
            case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
                result = draw.iSubItem == 0 ? DrawMarkerCell(draw) : CDRF_DODEFAULT;
                break;
            default:
                result = CDRF_DODEFAULT;
                break;
        }
    }
    return true;
}

void CompanyGrid::AnswerText(const NMHDR& header) const {
    const LVITEMW& item = reinterpret_cast<const NMLVDISPINFOW&>(header).item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0 ||
        item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= rows_.size()) {
        return;
    }
    const auto row = static_cast<std::size_t>(item.iItem);
    std::wstring_view text;
    if (item.iSubItem == 0) {
        text = marked_ == row ? std::wstring_view(marker_) : std::wstring_view();
    } else if (static_cast<std::size_t>(item.iSubItem) <= rows_[row].size()) {
        text = rows_[row][static_cast<std::size_t>(item.iSubItem) - 1];
    }
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
    std::copy_n(text.data(), length, item.pszText);
    item.pszText[length] = L'\0';
}

LRESULT CompanyGrid::DrawMarkerCell(NMLVCUSTOMDRAW& draw) const {
    const int index = static_cast<int>(draw.nmcd.dwItemSpec);
    RECT cell{};
    if (!ListView_GetItemRect(list_, index, &cell, LVIR_BOUNDS)) {
        return CDRF_DODEFAULT;
    }
    cell.right = cell.left + MarkerWidth();
    const bool selected = ListView_GetItemState(list_, index, LVIS_SELECTED) != 0;
    const bool focused = ::GetFocus() == list_;
    const int background = selected ? (focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE) : COLOR_WINDOW;
    const int ink = selected && focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT;
    ::FillRect(draw.nmcd.hdc, &cell, ::GetSysColorBrush(background));
    if (marked_ == static_cast<std::size_t>(index)) {
        // Pointing right, three fifths of the row high.
        const int high = std::max<int>((cell.bottom - cell.top) * 3 / 5, 4);
        const int wide = high * 3 / 5;
        const int left = (cell.left + cell.right - wide) / 2;
        const int middle = (cell.top + cell.bottom) / 2;
        const POINT triangle[] = {
            {left, middle - high / 2}, {left, middle + high / 2}, {left + wide, middle}};
        const HGDIOBJ oldBrush = ::SelectObject(draw.nmcd.hdc, ::GetSysColorBrush(ink));
        const HGDIOBJ oldPen = ::SelectObject(draw.nmcd.hdc, ::GetStockObject(NULL_PEN));
        ::Polygon(draw.nmcd.hdc, triangle, 3);
        ::SelectObject(draw.nmcd.hdc, oldPen);
        ::SelectObject(draw.nmcd.hdc, oldBrush);
    }
    return CDRF_SKIPDEFAULT;
}

}  // namespace trevo::win32
