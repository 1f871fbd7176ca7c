#include "settings/ScreenSizeSuffix.h"

namespace trevo::settings {

std::string ScreenSizeSuffix(int width, int height) {
    return "(" + std::to_string(width) + "x" + std::to_string(height) + ")";
}

}  // namespace trevo::settings
