#pragma once
// The trace pane: a virtual list view (one column, no header) over the trace's lines, which it
// keeps as the engine's Windows-1250 bytes, one block with a start offset per line, converting
// only the lines drawn. Millions of lines cost their bytes and eight more each, and scrolling
// stays immediate. Lines are selected with the mouse, Shift and Ctrl+A, copied with Ctrl+C as
// text, scroll sideways when wider than the pane, and are read by screen readers as the list's
// items.

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace trevo::win32 {

class TraceList {
  public:
    void Create(HWND parent, int id);
    HWND Handle() const { return list_; }
    void SetFont(HFONT font);

    // Lines joined by '\n'. The view follows the end when it was showing the last line.
    void AppendLines(std::string_view win1250Lines);
    void Clear();

    std::size_t LineCount() const { return starts_.size(); }
    std::string_view Line(std::size_t index) const;
    // The selected lines joined by CR LF, as the clipboard takes them.
    std::wstring SelectedText() const;
    void SelectAll();
    // The selected lines to the clipboard; nothing when none is selected.
    void CopySelection() const;

    // The parent's WM_NOTIFY from the list; true when handled (`result` set).
    bool OnNotify(NMHDR& header, LRESULT& result);

  private:
    // A line drawn whole, in the list's colours.
    LRESULT Draw(NMLVCUSTOMDRAW& draw) const;
    // The column as wide as the widest line, so that long lines scroll sideways.
    void WidenColumn(std::size_t firstNewLine);

    HWND list_ = nullptr;
    HFONT font_ = nullptr;
    std::string text_;                  // every line's bytes, one after the other
    std::vector<std::size_t> starts_;   // where each line begins in text_
    std::size_t widestCharacters_ = 0;  // the longest line measured
    int columnWidth_ = 0;
    std::wstring shown_;  // the line last handed to the list for drawing
};

}  // namespace trevo::win32
