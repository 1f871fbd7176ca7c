#pragma once
// The trace pane: a read-only plain text view without word wrap that grows at its end by whole
// batches of lines, so that a run of hundreds of thousands of lines costs a handful of widget
// calls.

#include <QPlainTextEdit>

namespace trevo::gui {

class TracePane : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit TracePane(QWidget* parent = nullptr);

    // Appends the lines of `lines` (separated by '\n') after the last line. The view follows
    // the end when it was showing the end.
    void AppendLines(const QString& lines);

    // Removes every line.
    void ClearLines();

    // The number of lines shown; 0 for an empty pane.
    int LineCount() const;

  private:
    bool hasLines_ = false;
};

}  // namespace trevo::gui
