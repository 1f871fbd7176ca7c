#pragma once
// The boundary between the engine's Windows-1250 bytes and the toolkit's Unicode texts.

#include <QString>
#include <string>
#include <string_view>

namespace trevo::gui {

QString QStringFromWin1250(std::string_view bytes);

// Characters Windows-1250 cannot hold become '?'.
std::string Win1250FromQString(const QString& text);

}  // namespace trevo::gui
