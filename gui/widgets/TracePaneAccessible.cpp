#include "gui/widgets/TracePaneAccessible.h"

#include <algorithm>
#include <tuple>

#include "gui/widgets/TracePane.h"

namespace trevo::gui {

namespace {

QAccessibleInterface* TracePaneFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(TracePane::staticMetaObject.className())) {
        if (auto* pane = qobject_cast<TracePane*>(object)) {
            return new TracePaneAccessible(pane);
        }
    }
    return nullptr;
}

}  // namespace

bool InstallTracePaneAccessibility() {
    QAccessible::installFactory(&TracePaneFactory);
    return true;
}

TracePaneAccessible::TracePaneAccessible(TracePane* pane)
    : QAccessibleWidget(pane, QAccessible::EditableText) {}

TracePane* TracePaneAccessible::Pane() const {
    return static_cast<TracePane*>(widget());
}

QAccessible::State TracePaneAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString TracePaneAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) {
        return Pane()->toPlainText();
    }
    if (t == QAccessible::Name && QAccessibleWidget::text(t).isEmpty()) {
        // The pane has no caption of its own; its hint says what it is.
        return Pane()->toolTip();
    }
    return QAccessibleWidget::text(t);
}

void* TracePaneAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

void TracePaneAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    const auto [anchor, cursor] = Pane()->SelectionOffsets();
    if (selectionIndex == 0 && anchor != cursor) {
        *startOffset = std::min(anchor, cursor);
        *endOffset = std::max(anchor, cursor);
    }
}

int TracePaneAccessible::selectionCount() const {
    const auto [anchor, cursor] = Pane()->SelectionOffsets();
    return anchor == cursor ? 0 : 1;
}

void TracePaneAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void TracePaneAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) {
        const int cursor = Pane()->CursorOffset();
        Pane()->SetSelectionOffsets(cursor, cursor);
    }
}

void TracePaneAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0) {
        Pane()->SetSelectionOffsets(startOffset, endOffset);
    }
}

int TracePaneAccessible::cursorPosition() const {
    return Pane()->CursorOffset();
}

void TracePaneAccessible::setCursorPosition(int position) {
    Pane()->SetSelectionOffsets(position, position);
}

QString TracePaneAccessible::text(int startOffset, int endOffset) const {
    return Pane()->TextBetween(startOffset, endOffset);
}

QString TracePaneAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                          int* startOffset, int* endOffset) const {
    if (boundaryType != QAccessible::LineBoundary) {
        return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
    }
    // A line at a time straight from the pane, without the whole text.
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset > characterCount()) {
        return {};
    }
    std::tie(*startOffset, *endOffset) = Pane()->LineSpanAt(offset);
    return Pane()->TextBetween(*startOffset, *endOffset);
}

int TracePaneAccessible::characterCount() const {
    return Pane()->CharacterCount();
}

QRect TracePaneAccessible::characterRect(int offset) const {
    const QRect box = Pane()->CharacterRect(offset);
    return box.isEmpty() ? box : box.translated(Pane()->mapToGlobal(QPoint(0, 0)));
}

int TracePaneAccessible::offsetAtPoint(const QPoint& point) const {
    return Pane()->OffsetAt(Pane()->mapFromGlobal(point));
}

void TracePaneAccessible::scrollToSubstring(int startIndex, int) {
    Pane()->ScrollToOffset(startIndex);
}

QString TracePaneAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = offset;
    *endOffset = offset;
    return {};
}

}  // namespace trevo::gui
