#pragma once

#include <string>

namespace trevo::settings {

// "(1024x768)" for a primary screen of 1024 by 768 pixels. Appended to the position keys, so
// that every screen size a window was saved on keeps its own positions.
std::string ScreenSizeSuffix(int width, int height);

}  // namespace trevo::settings
