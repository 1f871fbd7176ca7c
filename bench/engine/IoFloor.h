#pragma once
// The floor a conversion run is measured against: the file work any run must do, without
// mapping. Reading: the export file through a 64 KiB buffer with read(2), split at every LF.
// Writing: one 400-byte record after another into one file, each as the engine appends it:
// lseek to the end for the size, one pwrite(2) of 400 bytes at the last whole record.

#include <cstdint>
#include <optional>
#include <string>

namespace trevo::bench {

struct LineCount {
    std::uint64_t lines = 0;
    std::uint64_t bytes = 0;  // line bytes without the LF
};

// Nothing when the file cannot be opened or read.
std::optional<LineCount> ReadLines(const std::string& path);

// Creates `path` (or keeps it) and appends `count` records; false on any failure.
bool AppendRecords(const std::string& path, std::uint64_t count);

}  // namespace trevo::bench
