#pragma once
// Where the convert command prints its trace: standard output, in UTF-8, one output line per
// trace line. To a file or a pipe the bytes are exactly the trace's, in large blocks. To a
// terminal every line is written as soon as it is complete, and control characters inside it
// are shown visibly, so that bytes from an export file cannot move the cursor, erase lines or
// ring the bell.

#include <cstdio>
#include <memory>

#include "engine/platform/TraceSink.h"

namespace trevo::cli {

class OutputTraceSink : public TraceSink {
  public:
    // Writes what is pending; false once any part of the trace could not be written.
    bool Flush() override = 0;
};

// For `out`: a terminal gets the line-by-line, visible-controls form.
std::unique_ptr<OutputTraceSink> TraceSinkFor(std::FILE* out);

}  // namespace trevo::cli
