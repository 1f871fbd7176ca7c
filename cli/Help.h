#pragma once
// What trevo2kpr-cli says about itself: the help of the program and of each subcommand (Polish,
// UTF-8) and its version line.

#include <string>
#include <string_view>

namespace trevo::cli {

std::string_view ProgramHelp();
std::string_view ConvertHelp();
std::string_view CompaniesHelp();
std::string_view ShowHelp();
std::string_view VerifyHelp();
std::string_view UndoHelp();

// "trevo2kpr-cli 1.1.0" and a line break.
std::string VersionText();

}  // namespace trevo::cli
