#pragma once
// The arguments after the program's name, in UTF-8, as the commands take them. On Linux they
// are argv as given. On Windows argv holds the arguments in the process's ANSI code page, where
// a letter the code page lacks has become '?'; they are taken again from the wide command line
// instead, so that Polish letters in paths and in --attribute arrive whatever that code page is.

#include <string>
#include <vector>

namespace trevo::cli {

std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace trevo::cli
