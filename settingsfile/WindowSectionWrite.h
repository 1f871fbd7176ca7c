#pragma once
// Writing one window's section into the settings file on disk while leaving the sections of
// the other windows as they stand there now: the other window may have written its section
// since this one read the file.

#include <string>
#include <string_view>

#include "settingsfile/SettingsFile.h"

namespace trevo::settings {

// The file layer's rule for read-only files (WholeFileStore::IsReadOnlyFile) on this machine's
// file system, for a settings file named by the system.
bool IsReadOnlyFile(const std::string& path);

enum class SectionWriteOutcome {
    Written,
    LeftReadOnly,  // the file is read-only and was not touched
    Failed,
};

struct SectionWriteResult {
    SectionWriteOutcome outcome = SectionWriteOutcome::Written;
    std::string reason;  // Windows-1250, when Failed
};

// Reads the file, replaces its section `section` with the one of `copy` (nothing changes when
// `copy` has none), and writes it back, creating the directory and the file when missing. A file
// that cannot be read is not written, so that the other sections are never lost. A read-only
// file (WholeFileStore::IsReadOnlyFile) is left as it is.
SectionWriteResult WriteWindowSection(const std::string& path, const SettingsFile& copy,
                                      std::string_view section);
SectionWriteResult WriteWindowSection(WholeFileStore& files, const std::string& path,
                                      const SettingsFile& copy, std::string_view section);

}  // namespace trevo::settings
