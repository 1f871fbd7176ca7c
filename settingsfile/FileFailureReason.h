#pragma once

#include <string>
#include <system_error>

namespace trevo::settings {

// Why a file operation failed, in words for the user (Windows-1250).
std::string FileFailureReason(std::error_code error);

}  // namespace trevo::settings
