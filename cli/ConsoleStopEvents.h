#pragma once
// Windows: the console events that stop a convert run, and the signal number each one stands
// for in the exit status (128 + the number), as on Linux:
// - Ctrl+C is SIGINT (2): exit 130, as on Linux;
// - Ctrl+Break is SIGBREAK (21), the number Windows' own C runtime gives that key: exit 149. It
//   has no Linux counterpart; borrowing one (SIGQUIT's 131, SIGTERM's 143) would make a status
//   that means something else there;
// - closing the console window is the terminal going away, SIGHUP (1) on Linux: exit 129.
// Logging off and shutting down reach only services; a console program is ended by the system.

namespace trevo::cli {

inline constexpr int kConsoleInterrupt = 2;  // SIGINT
inline constexpr int kConsoleBreak = 21;     // SIGBREAK
inline constexpr int kConsoleClosed = 1;     // SIGHUP

// The signal number for a console control event (CTRL_C_EVENT, ...); 0 for one that does not
// stop a run.
int StopSignalForConsoleEvent(unsigned long event);

}  // namespace trevo::cli
