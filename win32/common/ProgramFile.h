#pragma once
// The running program file's full path.

#include <string>

namespace trevo::win32 {

std::wstring ProgramFilePath();

}  // namespace trevo::win32
