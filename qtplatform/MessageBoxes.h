#pragma once
// The system's message boxes, over the toolkit's.

#include <QString>
#include <optional>

class QWidget;

namespace trevo::gui {

// A plain box: the application title as caption, no icon, only OK.
void ShowPlainMessage(QWidget* parent, const QString& text);

// The general error box: what an error that escapes a handler shows. The window stays usable.
void ShowErrorBox(QWidget* parent, const QString& text);

// A Yes/No question with an information icon, No being the default button. True for Yes.
// `details`, when not empty, are behind the box's "show details" button (a long path whole).
bool AskYesNo(QWidget* parent, const QString& caption, const QString& text,
              const QString& details = {});

// A Yes/No/Cancel question with a question icon, Cancel being the default and the escape
// button. True for Yes, false for No, nothing for Cancel.
std::optional<bool> AskYesNoCancel(QWidget* parent, const QString& caption, const QString& text);

// The system's default beep.
void Beep();

}  // namespace trevo::gui
