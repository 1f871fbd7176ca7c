#pragma once
// What screen readers see of the trace pane: a read-only multi-line text with its lines, its
// cursor and its selection, like the read-only text box it stands in for.

#include <QAccessibleTextInterface>
#include <QAccessibleWidget>

namespace trevo::gui {

class TracePane;

class TracePaneAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit TracePaneAccessible(TracePane* pane);

    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

  private:
    TracePane* Pane() const;
};

// Makes QAccessible hand out a TracePaneAccessible for every trace pane. Returns true.
bool InstallTracePaneAccessibility();

}  // namespace trevo::gui
