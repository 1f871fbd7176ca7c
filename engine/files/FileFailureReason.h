#pragma once
// Why a file operation failed, in Polish words for the user: one table for the settings file's
// box, the command line's messages and whatever else names a failed open.

#include <string>
#include <system_error>

namespace trevo {

// Windows-1250.
std::string FileFailureReason(std::error_code error);

}  // namespace trevo
