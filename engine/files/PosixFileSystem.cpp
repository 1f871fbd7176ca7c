#include "engine/files/PosixFileSystem.h"

namespace trevo {

FileSystem& LocalFileSystem() {
    // Holds no state: one for the whole process.
    static PosixFileSystem fileSystem;
    return fileSystem;
}

}  // namespace trevo
