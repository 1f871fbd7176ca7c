#include "cli/Utf8TraceSink.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "engine/text/Win1250.h"

namespace trevo::cli {

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

// The UTF-8 form of every byte from 0x80, made once: the trace is most of a run's output.
struct Utf8Form {
    std::array<char, 3> bytes{};
    std::uint8_t size = 0;
};

constexpr std::array<Utf8Form, 128> MakeHighForms() {
    std::array<Utf8Form, 128> forms{};
    for (std::size_t i = 0; i < forms.size(); ++i) {
        const char32_t code = text::Win1250ToCodePoint(static_cast<unsigned char>(0x80 + i));
        Utf8Form& form = forms[i];
        if (code < 0x800) {
            form.bytes = {static_cast<char>(0xC0 | (code >> 6)),
                          static_cast<char>(0x80 | (code & 0x3F)), 0};
            form.size = 2;
        } else {
            form.bytes = {static_cast<char>(0xE0 | (code >> 12)),
                          static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                          static_cast<char>(0x80 | (code & 0x3F))};
            form.size = 3;
        }
    }
    return forms;
}

constexpr std::array<Utf8Form, 128> kHighForms = MakeHighForms();

}  // namespace

void Utf8TraceSink::AppendLine(std::string_view line) {
    // At most three bytes per byte, and the LF.
    const std::size_t room = line.size() * 3 + 1;
    if (pending_.size() < used_ + room) {
        pending_.resize(std::max(used_ + room, kBlockSize + kBlockSize / 2));
    }
    char* out = pending_.data() + used_;
    const char* p = line.data();
    const char* const end = p + line.size();
    while (p != end) {
        // Eight plain ASCII bytes at a time, none of them CR.
        while (end - p >= 8) {
            std::uint64_t block;
            std::memcpy(&block, p, sizeof block);
            const std::uint64_t notCr = block ^ 0x0D0D0D0D0D0D0D0DULL;
            const std::uint64_t crFound =
                (notCr - 0x0101010101010101ULL) & ~notCr & 0x8080808080808080ULL;
            if (((block & 0x8080808080808080ULL) | crFound) != 0) {
                break;
            }
            std::memcpy(out, p, sizeof block);
            out += sizeof block;
            p += sizeof block;
        }
        if (p == end) {
            break;
        }
        const auto byte = static_cast<unsigned char>(*p);
        if (byte >= 0x80) {
            const Utf8Form& form = kHighForms[byte - 0x80];
            std::memcpy(out, form.bytes.data(), form.bytes.size());
            out += form.size;
        } else if (byte != '\r' || p + 1 == end || p[1] != '\n') {
            *out++ = static_cast<char>(byte);
        }  // CR LF prints as the LF alone
        ++p;
    }
    *out++ = '\n';
    used_ = static_cast<std::size_t>(out - pending_.data());
    if (used_ >= kBlockSize) {
        Flush();
    }
}

bool Utf8TraceSink::Flush() {
    if (used_ > 0) {
        failed_ |= std::fwrite(pending_.data(), 1, used_, out_) != used_;
        used_ = 0;
    }
    failed_ |= std::fflush(out_) != 0;
    return !failed_;
}

}  // namespace trevo::cli
