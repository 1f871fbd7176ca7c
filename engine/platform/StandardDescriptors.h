#pragma once
// Descriptors 0, 1 and 2 must be taken before the program opens any file. A program started
// with one of them closed (by a service manager, or "<&- >&-") would otherwise get it for the
// first file it opens, and whatever it prints would land in that file: a period file among
// them.

namespace trevo {

// Opens each of descriptors 0, 1 and 2 that is closed on /dev/null, for reading only: what the
// program then prints to a closed stdout or stderr still fails, as it did, instead of
// vanishing. Call first thing in main, before anything opens a file. False when one could not
// be opened; the program must then stop without opening anything.
bool OpenClosedStandardDescriptors();

}  // namespace trevo
