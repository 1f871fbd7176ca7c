#pragma once
// The program's version, set once in the top-level CMakeLists.txt (project VERSION).

#include <string_view>

namespace trevo {

std::string_view ProgramVersion();

}  // namespace trevo
