#include "cli/Utf8TraceSink.h"

#include "engine/text/Win1250.h"

namespace trevo::cli {

namespace {
constexpr std::size_t kBlockSize = 64 * 1024;
}

void Utf8TraceSink::AppendLine(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte == '\r' && i + 1 < line.size() && line[i + 1] == '\n') {
            continue;  // CR LF prints as the LF alone
        }
        text::AppendUtf8(pending_, text::Win1250ToCodePoint(byte));
    }
    pending_ += '\n';
    if (pending_.size() >= kBlockSize) {
        Flush();
    }
}

bool Utf8TraceSink::Flush() {
    if (!pending_.empty()) {
        failed_ |= std::fwrite(pending_.data(), 1, pending_.size(), out_) != pending_.size();
        pending_.clear();
    }
    failed_ |= std::fflush(out_) != 0;
    return !failed_;
}

}  // namespace trevo::cli
