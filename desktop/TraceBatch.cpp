#include "desktop/TraceBatch.h"

namespace trevo::desktop {

void TraceBatch::AppendLine(std::string_view line) {
    if (lineCount_ > 0) {
        pending_ += '\n';
    }
    ++lineCount_;
    for (std::size_t start = 0;;) {
        const std::size_t crlf = line.find("\r\n", start);
        if (crlf == std::string_view::npos) {
            pending_.append(line.substr(start));
            break;
        }
        pending_.append(line.substr(start, crlf - start));
        pending_ += '\n';
        start = crlf + 2;
    }
    if (pending_.size() >= kMaxPendingBytes) {
        Flush();
    }
}

bool TraceBatch::Flush() {
    if (lineCount_ == 0) {
        return true;
    }
    // Taken out first: should the pane fail, the lines are not handed over twice.
    const std::string lines = std::move(pending_);
    pending_.clear();
    lineCount_ = 0;
    deliver_(lines);
    return true;
}

}  // namespace trevo::desktop
