#pragma once
// The commands of trevo2kpr-cli. Each takes the arguments after its name and returns the exit
// status: 0 done, 1 stopped on a ledger-file or read failure, 2 usage error or missing input.

#include <string>
#include <vector>

namespace trevo::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitStopped = 1;
inline constexpr int kExitUsage = 2;
// convert --strict: the run reached the end but rejected a document or read a value as zero.
inline constexpr int kExitStrict = 3;
// undo: the files were put back, but the report could not be written to stdout.
inline constexpr int kExitUndoneUnreported = 4;
// undo: a change failed and not all could be put back; the next undo finishes the undo.
inline constexpr int kExitUndoPartWay = 5;

// The whole command line after the program's name: the command word and its arguments, or
// --help / --version.
int RunCommandLine(const std::vector<std::string>& args);

int RunConvertCommand(const std::vector<std::string>& args);
int RunCompaniesCommand(const std::vector<std::string>& args);
int RunShowCommand(const std::vector<std::string>& args);
int RunVerifyCommand(const std::vector<std::string>& args);
int RunUndoCommand(const std::vector<std::string>& args);

}  // namespace trevo::cli
