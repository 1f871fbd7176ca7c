#include "widgets/TracePane.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace trevo::gui {

TracePane::TracePane(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    // The user may still select, copy and scroll with the keyboard.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::StrongFocus);
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // An undo history of a long run would only cost memory.
    setUndoRedoEnabled(false);
}

void TracePane::AppendLines(const QString& lines) {
    QScrollBar* bar = verticalScrollBar();
    const bool followEnd = bar->value() == bar->maximum();

    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    // An empty document already has its first, empty block: the first line goes into it, so
    // that a leading empty line is not lost and no extra one is made.
    if (hasLines_) {
        cursor.insertBlock();
    }
    cursor.insertText(lines);
    hasLines_ = true;

    if (followEnd) {
        bar->setValue(bar->maximum());
    }
}

void TracePane::ClearLines() {
    clear();
    hasLines_ = false;
}

int TracePane::LineCount() const {
    return hasLines_ ? document()->blockCount() : 0;
}

}  // namespace trevo::gui
