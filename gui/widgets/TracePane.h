#pragma once
// The trace pane: a read-only view of lines without word wrap that grows at its end by whole
// batches of lines. It keeps each batch as it came and lays out only the lines in view, so that
// a run of hundreds of thousands of lines costs a handful of calls and a few bytes per line, and
// scrolling stays immediate however long the trace is. The user can select with the mouse and
// the keyboard, copy and scroll, as in a read-only text box. Lines are never wrapped; a line wider
// than the pane scrolls sideways (scroll bar, horizontal wheel or Shift with the wheel, and the
// cursor keys, which the view follows), so every column of a summary can be read and copied.

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QString>
#include <compare>
#include <utility>
#include <vector>

class QTextLayout;

namespace trevo::gui {

class TracePane : public QAbstractScrollArea {
    Q_OBJECT

  public:
    explicit TracePane(QWidget* parent = nullptr);

    // Appends the lines of `lines` after the last line. A line ends at "\n", "\r\n", a lone "\r"
    // or U+2029. The view follows the end when it was showing the end.
    void AppendLines(const QString& lines);

    // Removes every line.
    void ClearLines();

    // The number of lines shown; 0 for an empty pane.
    int LineCount() const { return static_cast<int>(lines_.size()); }
    QString Line(int index) const;
    // Every line, joined by '\n'.
    QString toPlainText() const;

    QString SelectedText() const;
    void SelectAll();
    // Puts the selected text on the clipboard; nothing when nothing is selected.
    void CopySelection() const;

    // The text by character offsets, as toPlainText() gives it (lines joined by '\n'): what a
    // screen reader asks for (TracePaneAccessible).
    int CharacterCount() const;
    QString TextBetween(int start, int end) const;
    int CursorOffset() const;
    // The selection's anchor and cursor; equal when nothing is selected.
    std::pair<int, int> SelectionOffsets() const;
    // The line holding `offset` as offsets [start, end), its line break included (the last
    // line has none); {0, 0} when the pane is empty.
    std::pair<int, int> LineSpanAt(int offset) const;
    void SetSelectionOffsets(int anchor, int cursor);
    // The character's box in the pane's coordinates; empty when it is out of range.
    QRect CharacterRect(int offset) const;
    // The offset nearest to a point in the pane's coordinates.
    int OffsetAt(const QPoint& point) const;
    void ScrollToOffset(int offset);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

  private:
    struct Position {
        int line = 0;
        int column = 0;
        auto operator<=>(const Position&) const = default;
    };
    // Where a line's text lies: a batch and a stretch of it. The batches share their data with
    // the strings they came in.
    struct LineSpan {
        int batch;
        int start;
        int length;
    };
    enum class Move {
        NextChar,
        PreviousChar,
        NextWord,
        PreviousWord,
        LineStart,
        LineEnd,
        NextLine,
        PreviousLine,
        NextPage,
        PreviousPage,
        DocumentStart,
        DocumentEnd,
    };

    Position PositionOfOffset(int offset) const;
    int OffsetOfPosition(const Position& position) const;
    // Tells assistive technology where the cursor now is.
    void NotifyCursorMoved();
    // One unwrapped line at the origin for the layout's text.
    void LayOut(QTextLayout& layout) const;
    // The drawn width of a line.
    qreal LineWidth(int line) const;
    void MeasureLineHeight();
    int LinesInView() const;
    int TopLine() const;
    qreal ViewTop() const;
    qreal LineTop(int line) const;
    qreal TextLeft() const;
    Position PositionAt(const QPoint& point) const;
    qreal CursorX(const Position& position) const;
    Position Moved(Position from, Move move) const;
    void MoveCursor(Move move, bool select);
    void SetCursor(const Position& position, bool select);
    void EnsureCursorVisible();
    void SelectWordAt(const Position& position);
    bool HasSelection() const { return anchor_ != cursor_; }
    void OfferSelection() const;
    void UpdateScrollBars();
    void RestartBlink();

    std::vector<QString> batches_;
    std::vector<LineSpan> lines_;
    Position cursor_;
    Position anchor_;
    qreal desiredX_ = 0;        // the column kept while moving up and down
    int widestCharacters_ = 0;  // the longest line's length
    qreal widestMeasured_ = 0;  // the widest line's width, of those measured
    qreal lineHeight_ = 1;
    bool mouseSelecting_ = false;
    bool cursorShown_ = false;
    QBasicTimer blink_;
    QBasicTimer tripleClick_;  // running: a third click selects the whole line
};

}  // namespace trevo::gui
