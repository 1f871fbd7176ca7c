#pragma once
// Double quotes around paths: a chosen path with a space is shown quoted, and the export path
// box drops such quotes again when it is left. The rules are desktop/PathQuotes.h's, over
// the toolkit's texts.

#include <QString>

namespace trevo::gui {

// A path that contains a space and does not begin with a double quote, enclosed in double quotes;
// any other text unchanged.
QString QuotePathWithSpaces(const QString& path);

// One leading and one trailing double quote removed, each where present; quotes inside are kept.
// Nothing is cut: a long path stays whole.
QString UnquotePath(const QString& text);

}  // namespace trevo::gui
