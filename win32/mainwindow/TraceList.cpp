#include "win32/mainwindow/TraceList.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "win32/common/DpiScale.h"
#include "win32/common/WideText.h"

namespace trevo::win32 {

void TraceList::Create(HWND parent, int id) {
    list_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | LVS_REPORT |
                                  LVS_OWNERDATA | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 0;
    ::SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

void TraceList::SetFont(HFONT font) {
    font_ = font;
    ::SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    widestCharacters_ = 0;
    columnWidth_ = 0;
    WidenColumn(0);
}

std::string_view TraceList::Line(std::size_t index) const {
    const std::size_t start = starts_[index];
    const std::size_t end = index + 1 < starts_.size() ? starts_[index + 1] - 1 : text_.size();
    return std::string_view(text_).substr(start, end - start);
}

void TraceList::AppendLines(std::string_view win1250Lines) {
    const std::size_t count = starts_.size();
    // Following the end: the last line was in view (or there was none).
    const int top = static_cast<int>(::SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
    const int perPage = static_cast<int>(::SendMessageW(list_, LVM_GETCOUNTPERPAGE, 0, 0));
    const bool atEnd = count == 0 || static_cast<std::size_t>(top + perPage) >= count;
    if (count != 0) {
        text_.push_back('\n');
    }
    std::size_t pos = 0;
    for (;;) {
        starts_.push_back(text_.size());
        const std::size_t end = win1250Lines.find('\n', pos);
        text_.append(win1250Lines.substr(pos, end - pos));
        if (end == std::string_view::npos) {
            break;
        }
        text_.push_back('\n');
        pos = end + 1;
    }
    ::SendMessageW(list_, LVM_SETITEMCOUNT, starts_.size(),
                   LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    WidenColumn(count);
    if (atEnd) {
        ::SendMessageW(list_, LVM_ENSUREVISIBLE, starts_.size() - 1, FALSE);
    }
}

void TraceList::Clear() {
    text_.clear();
    text_.shrink_to_fit();
    starts_.clear();
    starts_.shrink_to_fit();
    ::SendMessageW(list_, LVM_SETITEMCOUNT, 0, 0);
    widestCharacters_ = 0;
    columnWidth_ = 0;
    ::SendMessageW(list_, LVM_SETCOLUMNWIDTH, 0, 0);
}

void TraceList::WidenColumn(std::size_t firstNewLine) {
    if (font_ == nullptr) {
        return;
    }
    // Only a line with more characters than the longest so far is measured: a line of
    // millions costs one measurement, not one each. A margin of a few letters covers a
    // shorter line of wider letters.
    int widest = columnWidth_;
    for (std::size_t i = firstNewLine; i < starts_.size(); ++i) {
        const std::string_view line = Line(i);
        if (line.size() <= widestCharacters_) {
            continue;
        }
        widestCharacters_ = line.size();
        const std::wstring wide = WideFromWin1250(line);
        const SIZE size = TextExtent(list_, font_, wide.c_str(), static_cast<int>(wide.size()));
        const SIZE margin = TextExtent(list_, font_, L"WWWW", 4);
        widest = std::max(widest, static_cast<int>(size.cx + margin.cx));
    }
    if (widest != columnWidth_) {
        columnWidth_ = widest;
        ::SendMessageW(list_, LVM_SETCOLUMNWIDTH, 0, columnWidth_);
    }
}

std::wstring TraceList::SelectedText() const {
    std::wstring text;
    int index = -1;
    bool first = true;
    while ((index = static_cast<int>(::SendMessageW(
                list_, LVM_GETNEXTITEM, static_cast<WPARAM>(index), LVNI_SELECTED))) >= 0) {
        if (!first) {
            text += L"\r\n";
        }
        first = false;
        text += WideFromWin1250(Line(static_cast<std::size_t>(index)));
    }
    return text;
}

void TraceList::SelectAll() {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    // Index -1: every item, in one call, as an owner-data list allows.
    ::SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&item));
}

void TraceList::CopySelection() const {
    const std::wstring text = SelectedText();
    if (text.empty() || !::OpenClipboard(list_)) {
        return;
    }
    ::EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::memcpy(::GlobalLock(memory), text.c_str(), bytes);
        ::GlobalUnlock(memory);
        if (::SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
            ::GlobalFree(memory);
        }
    }
    ::CloseClipboard();
}

LRESULT TraceList::Draw(NMLVCUSTOMDRAW& draw) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        return CDRF_NOTIFYITEMDRAW;
    }
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT || draw.nmcd.dwItemSpec >= starts_.size()) {
        return CDRF_DODEFAULT;
    }
    // Each line drawn here whole: the list's own drawing stops at 259 characters.
    const auto index = static_cast<WPARAM>(draw.nmcd.dwItemSpec);
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    ::SendMessageW(list_, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&bounds));
    const auto state = static_cast<UINT>(
        ::SendMessageW(list_, LVM_GETITEMSTATE, index, LVIS_SELECTED | LVIS_FOCUSED));
    const bool focused = ::GetFocus() == list_;
    int background = COLOR_WINDOW;
    int foreground = COLOR_WINDOWTEXT;
    if ((state & LVIS_SELECTED) != 0) {
        background = focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE;
        foreground = focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT;
    }
    const HDC dc = draw.nmcd.hdc;
    const HGDIOBJ oldFont = ::SelectObject(dc, font_);
    ::SetBkColor(dc, ::GetSysColor(background));
    ::SetTextColor(dc, ::GetSysColor(foreground));
    const std::wstring text = WideFromWin1250(Line(index));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    const int x = bounds.left + metrics.tmAveCharWidth / 2 + 1;
    const int y = bounds.top + (bounds.bottom - bounds.top - metrics.tmHeight) / 2;
    ::ExtTextOutW(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &bounds, text.c_str(),
                  static_cast<UINT>(text.size()), nullptr);
    if ((state & LVIS_FOCUSED) != 0 && focused) {
        ::DrawFocusRect(dc, &bounds);
    }
    ::SelectObject(dc, oldFont);
    return CDRF_SKIPDEFAULT;
}

bool TraceList::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != list_) {
        return false;
    }
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
            if ((info.item.mask & LVIF_TEXT) != 0 && info.item.iItem >= 0 &&
                static_cast<std::size_t>(info.item.iItem) < starts_.size()) {
                // The list copies at most cchTextMax characters from its own buffer.
                shown_ = WideFromWin1250(Line(static_cast<std::size_t>(info.item.iItem)));
                info.item.pszText = shown_.data();
            }
            result = 0;
            return true;
        }
        case NM_CUSTOMDRAW:
            result = Draw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
            return true;
        case LVN_KEYDOWN: {
            const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
            if ((::GetKeyState(VK_CONTROL) & 0x8000) != 0) {
                if (key.wVKey == 'A') {
                    SelectAll();
                } else if (key.wVKey == 'C' || key.wVKey == VK_INSERT) {
                    CopySelection();
                }
            }
            result = 0;
            return true;
        }
        default:
            return false;
    }
}

}  // namespace trevo::win32
