#include "gui/widgets/TracePane.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <QTextOption>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "gui/widgets/TracePaneAccessible.h"

namespace trevo::gui {

namespace {

// The space around the text and the tab stops of a plain text box.
constexpr int kMargin = 4;
constexpr qreal kTabStop = 80;
// Wide enough for any trace line: lines are never wrapped.
constexpr qreal kUnboundedWidth = 1.0e6;

bool IsLineBreak(char16_t c) {
    return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029;
}

bool IsWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

// As a plain text box hands out its text: no-break spaces as plain spaces.
QString AsPlainText(QString text) {
    return text.replace(QChar::Nbsp, u' ');
}

}  // namespace

TracePane::TracePane(QWidget* parent) : QAbstractScrollArea(parent) {
    // Registered once for the process, before any pane can be asked for.
    [[maybe_unused]] static const bool accessible = InstallTracePaneAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    // Lines are never wrapped: a line wider than the pane scrolls sideways.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setCursor(Qt::IBeamCursor);
    MeasureLineHeight();
    UpdateScrollBars();
}

void TracePane::AppendLines(const QString& lines) {
    QScrollBar* bar = verticalScrollBar();
    const bool followEnd = bar->value() == bar->maximum();

    // Counting characters walks every line: only when a screen reader listens.
    const bool tellAccessibility = QAccessible::isActive();
    const bool hadLines = !lines_.empty();
    const int previousCount = tellAccessibility && hadLines ? CharacterCount() : 0;
    const int batch = static_cast<int>(batches_.size());
    batches_.push_back(lines);
    const QChar* text = lines.constData();
    const int size = static_cast<int>(lines.size());
    int start = 0;
    // The batch's longest line: the one likely to be widest, measured once below.
    int longest = -1;
    const auto add = [&](int length) {
        if (length > widestCharacters_) {
            widestCharacters_ = length;
            longest = static_cast<int>(lines_.size());
        }
        lines_.push_back({batch, start, length});
    };
    for (int i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (IsLineBreak(c)) {
            add(i - start);
            if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    add(size - start);
    if (longest >= 0) {
        widestMeasured_ = std::max(widestMeasured_, LineWidth(longest));
    }

    if (tellAccessibility) {
        // The new lines, after a line break unless the pane was empty.
        QAccessibleTextInsertEvent event(this, previousCount,
                                         TextBetween(previousCount, CharacterCount()));
        QAccessible::updateAccessibility(&event);
    }
    UpdateScrollBars();
    if (followEnd) {
        bar->setValue(bar->maximum());
    }
    viewport()->update();
}

void TracePane::ClearLines() {
    if (QAccessible::isActive() && !lines_.empty()) {
        QAccessibleTextRemoveEvent event(this, 0, toPlainText());
        QAccessible::updateAccessibility(&event);
    }
    batches_.clear();
    lines_.clear();
    cursor_ = anchor_ = {};
    desiredX_ = 0;
    widestCharacters_ = 0;
    widestMeasured_ = 0;
    UpdateScrollBars();
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

QString TracePane::Line(int index) const {
    const LineSpan& span = lines_.at(static_cast<std::size_t>(index));
    return batches_[static_cast<std::size_t>(span.batch)].mid(span.start, span.length);
}

QString TracePane::toPlainText() const {
    QString text;
    for (int i = 0; i < LineCount(); ++i) {
        if (i > 0) {
            text += u'\n';
        }
        const LineSpan& span = lines_[static_cast<std::size_t>(i)];
        text += QStringView(batches_[static_cast<std::size_t>(span.batch)])
                    .mid(span.start, span.length);
    }
    return AsPlainText(std::move(text));
}

QString TracePane::SelectedText() const {
    if (!HasSelection()) {
        return {};
    }
    const Position from = std::min(anchor_, cursor_);
    const Position to = std::max(anchor_, cursor_);
    QString text;
    for (int line = from.line; line <= to.line; ++line) {
        const QString whole = Line(line);
        const int start = line == from.line ? from.column : 0;
        const int end = line == to.line ? to.column : static_cast<int>(whole.size());
        text += QStringView(whole).mid(start, end - start);
        if (line != to.line) {
            text += u'\n';
        }
    }
    return AsPlainText(std::move(text));
}

void TracePane::SelectAll() {
    if (lines_.empty()) {
        return;
    }
    anchor_ = {0, 0};
    cursor_ = {LineCount() - 1, lines_.back().length};
    viewport()->update();
    OfferSelection();
}

void TracePane::CopySelection() const {
    if (HasSelection()) {
        QApplication::clipboard()->setText(SelectedText());
    }
}

TracePane::Position TracePane::PositionOfOffset(int offset) const {
    offset = std::max(0, offset);
    for (int line = 0; line < LineCount(); ++line) {
        const int length = lines_[static_cast<std::size_t>(line)].length;
        if (offset <= length) {
            return {line, offset};
        }
        offset -= length + 1;
    }
    return lines_.empty() ? Position{} : Position{LineCount() - 1, lines_.back().length};
}

int TracePane::OffsetOfPosition(const Position& position) const {
    int offset = 0;
    for (int line = 0; line < position.line && line < LineCount(); ++line) {
        offset += lines_[static_cast<std::size_t>(line)].length + 1;
    }
    return offset + position.column;
}

int TracePane::CharacterCount() const {
    if (lines_.empty()) {
        return 0;
    }
    return OffsetOfPosition({LineCount() - 1, lines_.back().length});
}

QString TracePane::TextBetween(int start, int end) const {
    const Position from = PositionOfOffset(start);
    const Position to = PositionOfOffset(end);
    QString text;
    for (int line = from.line; line <= to.line && line < LineCount(); ++line) {
        const QString whole = Line(line);
        const int first = line == from.line ? from.column : 0;
        const int last = line == to.line ? to.column : static_cast<int>(whole.size());
        text += QStringView(whole).mid(first, std::max(0, last - first));
        if (line != to.line) {
            text += u'\n';
        }
    }
    return AsPlainText(std::move(text));
}

int TracePane::CursorOffset() const {
    return OffsetOfPosition(cursor_);
}

std::pair<int, int> TracePane::SelectionOffsets() const {
    return {OffsetOfPosition(anchor_), OffsetOfPosition(cursor_)};
}

std::pair<int, int> TracePane::LineSpanAt(int offset) const {
    if (lines_.empty()) {
        return {0, 0};
    }
    const int line = PositionOfOffset(offset).line;
    const int start = OffsetOfPosition({line, 0});
    const int end = start + lines_[static_cast<std::size_t>(line)].length;
    return {start, line == LineCount() - 1 ? end : end + 1};
}

void TracePane::SetSelectionOffsets(int anchor, int cursor) {
    anchor_ = PositionOfOffset(anchor);
    SetCursor(PositionOfOffset(cursor), true);
    desiredX_ = CursorX(cursor_);
    EnsureCursorVisible();
}

QRect TracePane::CharacterRect(int offset) const {
    if (lines_.empty() || offset < 0 || offset >= CharacterCount()) {
        return {};
    }
    const Position at = PositionOfOffset(offset);
    const qreal left = CursorX(at);
    const qreal right = at.column < lines_[static_cast<std::size_t>(at.line)].length
                            ? CursorX({at.line, at.column + 1})
                            : left + fontMetrics().averageCharWidth();
    const QRectF box(TextLeft() + left, LineTop(at.line), right - left, lineHeight_);
    return box.toAlignedRect().translated(viewport()->pos());
}

int TracePane::OffsetAt(const QPoint& point) const {
    return OffsetOfPosition(PositionAt(point - viewport()->pos()));
}

void TracePane::ScrollToOffset(int offset) {
    const Position at = PositionOfOffset(offset);
    QScrollBar* bar = verticalScrollBar();
    if (at.line < bar->value() || at.line >= bar->value() + LinesInView()) {
        bar->setValue(at.line);
    }
}

void TracePane::NotifyCursorMoved() {
    if (QAccessible::isActive()) {
        QAccessibleTextCursorEvent event(this, CursorOffset());
        QAccessible::updateAccessibility(&event);
    }
}

void TracePane::OfferSelection() const {
    QClipboard* clipboard = QApplication::clipboard();
    if (HasSelection() && clipboard->supportsSelection()) {
        clipboard->setText(SelectedText(), QClipboard::Selection);
    }
}

void TracePane::LayOut(QTextLayout& layout) const {
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(kTabStop);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(kUnboundedWidth);
        line.setPosition(QPointF(0, 0));
    }
    layout.endLayout();
}

qreal TracePane::LineWidth(int line) const {
    QTextLayout layout(Line(line), font(), viewport());
    LayOut(layout);
    return layout.lineAt(0).naturalTextWidth();
}

void TracePane::MeasureLineHeight() {
    // A laid-out line's height is rounded up to whole pixels, as the text box's rows are.
    QTextLayout layout(QStringLiteral(" "), font(), viewport());
    LayOut(layout);
    lineHeight_ = layout.lineAt(0).height();
}

int TracePane::LinesInView() const {
    // Whole lines between the margins, the bottom row of pixels left free, as in a text box.
    const qreal room = viewport()->height() - 2 * kMargin - 1;
    return std::max(1, static_cast<int>(std::floor(room / lineHeight_)));
}

int TracePane::TopLine() const {
    return verticalScrollBar()->value();
}

qreal TracePane::ViewTop() const {
    // The top margin belongs to the first line: scrolled away from it, lines start at the top.
    return TopLine() == 0 ? kMargin : 0;
}

qreal TracePane::LineTop(int line) const {
    return ViewTop() + (line - TopLine()) * lineHeight_;
}

qreal TracePane::TextLeft() const {
    return kMargin - horizontalScrollBar()->value();
}

void TracePane::UpdateScrollBars() {
    const int inView = LinesInView();
    QScrollBar* bar = verticalScrollBar();
    // A view showing the end of a long trace keeps showing it when it gets shorter (the
    // sideways scroll bar appearing under it).
    const bool atEnd = bar->maximum() > 0 && bar->value() == bar->maximum();
    bar->setRange(0, std::max(0, LineCount() - inView));
    if (atEnd) {
        bar->setValue(bar->maximum());
    }
    bar->setPageStep(inView);
    bar->setSingleStep(1);

    // Sideways as far as the widest line measured so far, with the cursor after its end. Lines
    // are measured when they are the longest yet appended and when they are drawn, so a line
    // wider than its length suggests widens the range once it has been seen.
    QScrollBar* across = horizontalScrollBar();
    const int room = viewport()->width();
    const int content = static_cast<int>(std::ceil(widestMeasured_)) + 2 * kMargin + 1;
    across->setRange(0, std::max(0, content - room));
    across->setPageStep(room);
    across->setSingleStep(std::max(1, 2 * fontMetrics().averageCharWidth()));
}

void TracePane::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    if (lines_.empty()) {
        return;
    }
    const Position from = std::min(anchor_, cursor_);
    const Position to = std::max(anchor_, cursor_);
    const int first = TopLine();
    const int rows = static_cast<int>(std::ceil(viewport()->height() / lineHeight_));
    const int last = std::min(LineCount() - 1, first + rows);
    bool widened = false;
    for (int line = first; line <= last; ++line) {
        const QString text = Line(line);
        QTextLayout layout(text, font(), viewport());
        LayOut(layout);
        if (const qreal width = layout.lineAt(0).naturalTextWidth(); width > widestMeasured_) {
            widestMeasured_ = width;
            widened = true;
        }
        QList<QTextLayout::FormatRange> selections;
        if (HasSelection() && line >= from.line && line <= to.line) {
            const int start = line == from.line ? from.column : 0;
            // A selection that goes on to the next line takes this line's break with it.
            const int end = line == to.line ? to.column : static_cast<int>(text.size()) + 1;
            if (end > start) {
                QTextLayout::FormatRange range;
                range.start = start;
                range.length = end - start;
                range.format.setBackground(palette().brush(QPalette::Highlight));
                range.format.setForeground(palette().brush(QPalette::HighlightedText));
                selections << range;
            }
        }
        const QPointF origin(TextLeft(), LineTop(line));
        layout.draw(&painter, origin, selections);
        if (cursorShown_ && hasFocus() && line == cursor_.line) {
            layout.drawCursor(&painter, origin, cursor_.column, 1);
        }
    }
    if (widened) {
        // Not while painting: the scroll bar may appear and resize the view.
        QMetaObject::invokeMethod(this, &TracePane::UpdateScrollBars, Qt::QueuedConnection);
    }
}

void TracePane::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TracePane::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        MeasureLineHeight();
        // The widths were measured in the old font; the longest line stands for them again.
        widestMeasured_ = 0;
        if (!lines_.empty()) {
            int longest = 0;
            for (int line = 0; line < LineCount(); ++line) {
                if (lines_[static_cast<std::size_t>(line)].length == widestCharacters_) {
                    longest = line;
                    break;
                }
            }
            widestMeasured_ = LineWidth(longest);
        }
        UpdateScrollBars();
        viewport()->update();
    }
}

TracePane::Position TracePane::PositionAt(const QPoint& point) const {
    if (lines_.empty()) {
        return {};
    }
    const int row = static_cast<int>(std::floor((point.y() - ViewTop()) / lineHeight_));
    const int line = std::clamp(TopLine() + row, 0, LineCount() - 1);
    const QString text = Line(line);
    QTextLayout layout(text, font(), viewport());
    LayOut(layout);
    return {line, layout.lineAt(0).xToCursor(point.x() - TextLeft())};
}

qreal TracePane::CursorX(const Position& position) const {
    if (lines_.empty()) {
        return 0;
    }
    const QString text = Line(position.line);
    QTextLayout layout(text, font(), viewport());
    LayOut(layout);
    return layout.lineAt(0).cursorToX(position.column);
}

TracePane::Position TracePane::Moved(Position from, Move move) const {
    if (lines_.empty()) {
        return {};
    }
    const int lastLine = LineCount() - 1;
    const auto lengthOf = [this](int line) {
        return lines_[static_cast<std::size_t>(line)].length;
    };
    const auto columnAtDesiredX = [this](int line) {
        const QString text = Line(line);
        QTextLayout layout(text, font(), viewport());
        LayOut(layout);
        return layout.lineAt(0).xToCursor(desiredX_);
    };
    const QString text = Line(from.line);
    QTextLayout layout(text, font(), viewport());
    LayOut(layout);
    switch (move) {
        case Move::NextChar:
        case Move::NextWord:
            if (from.column < lengthOf(from.line)) {
                return {from.line,
                        layout.nextCursorPosition(from.column, move == Move::NextWord
                                                                   ? QTextLayout::SkipWords
                                                                   : QTextLayout::SkipCharacters)};
            }
            return from.line < lastLine ? Position{from.line + 1, 0} : from;
        case Move::PreviousChar:
        case Move::PreviousWord:
            if (from.column > 0) {
                return {from.line,
                        layout.previousCursorPosition(
                            from.column, move == Move::PreviousWord ? QTextLayout::SkipWords
                                                                    : QTextLayout::SkipCharacters)};
            }
            return from.line > 0 ? Position{from.line - 1, lengthOf(from.line - 1)} : from;
        case Move::LineStart:
            return {from.line, 0};
        case Move::LineEnd:
            return {from.line, lengthOf(from.line)};
        case Move::NextLine:
            return from.line < lastLine ? Position{from.line + 1, columnAtDesiredX(from.line + 1)}
                                        : from;
        case Move::PreviousLine:
            return from.line > 0 ? Position{from.line - 1, columnAtDesiredX(from.line - 1)} : from;
        case Move::NextPage: {
            const int line = std::min(lastLine, from.line + LinesInView());
            return {line, columnAtDesiredX(line)};
        }
        case Move::PreviousPage: {
            const int line = std::max(0, from.line - LinesInView());
            return {line, columnAtDesiredX(line)};
        }
        case Move::DocumentStart:
            return {0, 0};
        case Move::DocumentEnd:
            return {lastLine, lengthOf(lastLine)};
    }
    return from;
}

void TracePane::MoveCursor(Move move, bool select) {
    const bool vertical = move == Move::NextLine || move == Move::PreviousLine ||
                          move == Move::NextPage || move == Move::PreviousPage;
    const Position to = Moved(cursor_, move);
    // A page key moves the view by a page as well as the cursor.
    QScrollBar* bar = verticalScrollBar();
    if (move == Move::NextPage) {
        bar->setValue(bar->value() + LinesInView());
    } else if (move == Move::PreviousPage) {
        bar->setValue(bar->value() - LinesInView());
    }
    SetCursor(to, select);
    if (!vertical) {
        desiredX_ = CursorX(cursor_);
    }
    EnsureCursorVisible();
    if (select) {
        OfferSelection();
    }
}

void TracePane::SetCursor(const Position& position, bool select) {
    cursor_ = position;
    if (!select) {
        anchor_ = position;
    }
    RestartBlink();
    viewport()->update();
    NotifyCursorMoved();
}

void TracePane::EnsureCursorVisible() {
    QScrollBar* bar = verticalScrollBar();
    const int inView = LinesInView();
    if (cursor_.line < bar->value()) {
        bar->setValue(cursor_.line);
    } else if (cursor_.line >= bar->value() + inView) {
        bar->setValue(cursor_.line - inView + 1);
    }
    const qreal x = CursorX(cursor_);
    if (!lines_.empty()) {
        widestMeasured_ = std::max(widestMeasured_, LineWidth(cursor_.line));
        UpdateScrollBars();
    }
    QScrollBar* across = horizontalScrollBar();
    const int room = std::max(1, viewport()->width() - 2 * kMargin);
    if (x < across->value()) {
        across->setValue(static_cast<int>(std::floor(x)));
    } else if (x + 1 > across->value() + room) {
        // With the cursor's pixel after the line's last character.
        across->setValue(static_cast<int>(std::ceil(x)) + 1 - room);
    }
    viewport()->update();
}

void TracePane::SelectWordAt(const Position& position) {
    if (lines_.empty()) {
        return;
    }
    const QString text = Line(position.line);
    const int length = static_cast<int>(text.size());
    int start = position.column;
    int end = position.column;
    const bool onWord = (end < length && IsWordCharacter(text[end])) ||
                        (start > 0 && IsWordCharacter(text[start - 1]));
    if (onWord) {
        while (start > 0 && IsWordCharacter(text[start - 1])) {
            --start;
        }
        while (end < length && IsWordCharacter(text[end])) {
            ++end;
        }
    } else {
        end = std::min(end + 1, length);
    }
    anchor_ = {position.line, start};
    SetCursor({position.line, end}, true);
    desiredX_ = CursorX(cursor_);
}

void TracePane::keyPressEvent(QKeyEvent* event) {
    struct KeyMove {
        QKeySequence::StandardKey move;
        QKeySequence::StandardKey select;
        Move kind;
    };
    static constexpr KeyMove kKeyMoves[] = {
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Move::NextChar},
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, Move::PreviousChar},
        {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, Move::NextWord},
        {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, Move::PreviousWord},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Move::LineStart},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, Move::LineEnd},
        {QKeySequence::MoveToStartOfBlock, QKeySequence::SelectStartOfBlock, Move::LineStart},
        {QKeySequence::MoveToEndOfBlock, QKeySequence::SelectEndOfBlock, Move::LineEnd},
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Move::NextLine},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, Move::PreviousLine},
        {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, Move::NextPage},
        {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, Move::PreviousPage},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument,
         Move::DocumentStart},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, Move::DocumentEnd},
    };
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
        return;
    }
    for (const KeyMove& key : kKeyMoves) {
        if (event->matches(key.move) || event->matches(key.select)) {
            MoveCursor(key.kind, event->matches(key.select));
            return;
        }
    }
    event->ignore();
}

void TracePane::wheelEvent(QWheelEvent* event) {
    // Shift turns the wheel sideways, as in text boxes and browsers.
    const QPoint delta = event->angleDelta();
    if (event->modifiers().testFlag(Qt::ShiftModifier) && delta.x() == 0 && delta.y() != 0) {
        QWheelEvent sideways(event->position(), event->globalPosition(),
                             event->pixelDelta().transposed(), delta.transposed(), event->buttons(),
                             event->modifiers() & ~Qt::ShiftModifier, event->phase(),
                             event->inverted(), event->source());
        QCoreApplication::sendEvent(horizontalScrollBar(), &sideways);
        event->setAccepted(sideways.isAccepted());
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void TracePane::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const Position position = PositionAt(event->position().toPoint());
    if (tripleClick_.isActive()) {
        // The third click takes the whole line with its break.
        tripleClick_.stop();
        anchor_ = {position.line, 0};
        SetCursor(position.line + 1 < LineCount()
                      ? Position{position.line + 1, 0}
                      : Position{position.line, lines_.empty() ? 0 : lines_.back().length},
                  true);
        OfferSelection();
        return;
    }
    SetCursor(position, event->modifiers().testFlag(Qt::ShiftModifier));
    desiredX_ = CursorX(cursor_);
    mouseSelecting_ = true;
}

void TracePane::mouseMoveEvent(QMouseEvent* event) {
    if (!mouseSelecting_ || !event->buttons().testFlag(Qt::LeftButton)) {
        return;
    }
    // Above or below the view, the line beyond its edge: the view scrolls towards it.
    SetCursor(PositionAt(event->position().toPoint()), true);
    desiredX_ = CursorX(cursor_);
    EnsureCursorVisible();
}

void TracePane::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && mouseSelecting_) {
        mouseSelecting_ = false;
        OfferSelection();
    }
}

void TracePane::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    mouseSelecting_ = false;
    SelectWordAt(PositionAt(event->position().toPoint()));
    tripleClick_.start(QApplication::doubleClickInterval(), this);
    OfferSelection();
}

void TracePane::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copy = menu.addAction(QCoreApplication::translate("QWidgetTextControl", "&Copy"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(HasSelection());
    connect(copy, &QAction::triggered, this, [this] { CopySelection(); });
    menu.addSeparator();
    QAction* all = menu.addAction(QCoreApplication::translate("QWidgetTextControl", "Select All"));
    all->setShortcut(QKeySequence::SelectAll);
    all->setEnabled(!lines_.empty());
    connect(all, &QAction::triggered, this, [this] { SelectAll(); });
    menu.exec(event->globalPos());
}

void TracePane::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    RestartBlink();
    viewport()->update();
}

void TracePane::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    blink_.stop();
    cursorShown_ = false;
    viewport()->update();
}

void TracePane::RestartBlink() {
    cursorShown_ = hasFocus();
    const int flashTime = QApplication::cursorFlashTime();
    if (cursorShown_ && flashTime > 0) {
        blink_.start(flashTime / 2, this);
    } else {
        blink_.stop();
    }
}

void TracePane::timerEvent(QTimerEvent* event) {
    if (event->timerId() == blink_.timerId()) {
        cursorShown_ = !cursorShown_;
        viewport()->update();
    } else if (event->timerId() == tripleClick_.timerId()) {
        tripleClick_.stop();
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

}  // namespace trevo::gui
