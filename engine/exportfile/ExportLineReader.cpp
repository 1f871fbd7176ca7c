#include "engine/exportfile/ExportLineReader.h"

#include <algorithm>
#include <cstring>

namespace trevo {

namespace {
constexpr char kLineFeed = 10;
constexpr char kCarriageReturn = 13;
constexpr char kEndOfText = 26;
}  // namespace

ExportLineReader::ExportLineReader(InputFile& file, std::size_t bufferSize)
    : file_(file), buffer_(std::max<std::size_t>(bufferSize, 1)) {}

bool ExportLineReader::Fill() {
    if (pos_ < end_) {
        return true;
    }
    if (atEnd_ || failed_) {
        return false;
    }
    const auto got = file_.Read(buffer_.data(), buffer_.size());
    if (!got) {
        failed_ = true;
        return false;
    }
    pos_ = 0;
    end_ = *got;
    nextSpecial_.fill(kNotSearched);
    atEnd_ = end_ == 0;
    return !atEnd_;
}

std::size_t ExportLineReader::FindSpecial(std::size_t from) {
    constexpr char kSpecial[] = {kLineFeed, kCarriageReturn, kEndOfText};
    std::size_t first = end_;
    for (std::size_t k = 0; k < nextSpecial_.size(); ++k) {
        std::size_t& next = nextSpecial_[k];
        // A position found from an earlier start is still the next one until it is passed.
        if (next == kNotSearched || next < from) {
            const void* found = std::memchr(buffer_.data() + from, kSpecial[k], end_ - from);
            next = found != nullptr ? static_cast<const char*>(found) - buffer_.data() : end_;
        }
        first = std::min(first, next);
    }
    return first;
}

ExportLineReader::Status ExportLineReader::ReadExportLine() {
    length_ = 0;
    if (!Fill()) {
        return failed_ ? Status::ReadError : Status::EndOfInput;
    }
    if (buffer_[pos_] == kEndOfText) {
        return Status::EndOfInput;
    }
    bool textEnded = false;  // byte 26 seen inside the line
    bool pendingCr = false;  // a CR whose fate depends on the next byte
    while (Fill()) {
        const char* const begin = buffer_.data() + pos_;
        const char* const end = buffer_.data() + end_;
        const char* p = begin;
        bool lineEnded = false;
        if (pendingCr) {
            pendingCr = false;
            if (*p == kLineFeed) {
                ++p;
                lineEnded = true;
            }
        }
        while (!lineEnded && p != end) {
            if (!textEnded) {
                // Plain bytes in bulk.
                const char* const stop = buffer_.data() + FindSpecial(p - buffer_.data());
                if (length_ < kept_.size()) {
                    const auto room = static_cast<std::size_t>(kept_.size() - length_);
                    std::copy_n(p, std::min<std::size_t>(room, stop - p), kept_.data() + length_);
                }
                length_ += static_cast<std::uint64_t>(stop - p);
                p = stop;
                if (p == end) {
                    break;
                }
            }
            const char c = *p++;
            if (c == kLineFeed) {
                lineEnded = true;
            } else if (c == kCarriageReturn) {
                if (p == end) {
                    pendingCr = true;
                } else if (*p == kLineFeed) {
                    ++p;
                    lineEnded = true;
                }
            } else if (c == kEndOfText) {
                textEnded = true;
            }
        }
        consumed_ += static_cast<std::uint64_t>(p - begin);
        pos_ += static_cast<std::size_t>(p - begin);
        if (lineEnded) {
            return Status::Line;
        }
    }
    if (failed_) {
        length_ = 0;
        return Status::ReadError;
    }
    return Status::Line;  // the last line, without a terminator
}

}  // namespace trevo
