#pragma once
// A write beyond the file size limit (`ulimit -f`) sends SIGXFSZ, whose default action ends the
// process at once: mid-record, with the trace unwritten and the journal without its end. Ignored,
// the write fails with EFBIG instead and is reported like any other failed write.

namespace trevo {

// Call at start-up, before any file is written. The setting outlives nothing but the process.
void IgnoreFileSizeSignal();

}  // namespace trevo
