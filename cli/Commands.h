#pragma once
// The commands of trevo2kpr-cli. Each takes the arguments after its name and returns the exit
// status: 0 done, 1 stopped on a ledger-file or read failure, 2 usage error or missing input.

#include <cstdio>
#include <string>
#include <vector>

namespace trevo::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitStopped = 1;
inline constexpr int kExitUsage = 2;

int RunConvertCommand(const std::vector<std::string>& args);
int RunCompaniesCommand(const std::vector<std::string>& args);

void PrintUsage(std::FILE* out);

}  // namespace trevo::cli
