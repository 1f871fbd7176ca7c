#pragma once
// The system's error numbers (GetLastError) as std::error_codes that the Polish reasons know:
// the common ones become the portable std::errc values (the library's system category on this
// compiler does not map Win32 numbers), the rest keep their number in the system category.

#include <system_error>

namespace trevo::windows {

std::error_code ErrorFromCode(unsigned long code);
// The calling thread's last error.
std::error_code LastError();

}  // namespace trevo::windows
