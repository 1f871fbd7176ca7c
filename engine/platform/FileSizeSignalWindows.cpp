#include "engine/platform/FileSizeSignal.h"

namespace trevo {

// Windows has no file size signal: a write beyond a quota or the disk's end fails as any other.
void IgnoreFileSizeSignal() {}

}  // namespace trevo
