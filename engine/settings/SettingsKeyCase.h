#pragma once
// Section names and keys of the settings file compare without regard to letter case, for ASCII
// letters and the letters of Windows-1250 (so "[łódź]" finds "[ŁÓDŹ]").

#include <string>
#include <string_view>

namespace trevo::settings {

// The upper-case form of one Windows-1250 byte; bytes that are no lower-case letter stay.
unsigned char UpperWin1250(unsigned char byte);

// The form under which a section name or key is looked up.
std::string FoldKey(std::string_view name);

bool SameKey(std::string_view a, std::string_view b);

}  // namespace trevo::settings
