#include "cli/Utf8TraceSink.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "engine/text/Win1250.h"

namespace trevo::cli {

namespace {

// Written out in blocks of this size: a few system calls per megabyte of trace.
constexpr std::size_t kBlockSize = 256 * 1024;

// The UTF-8 form of every byte, made once: the trace is most of a run's output. Four bytes are
// stored for each so that any form is copied with one store; `size` says how many count.
struct Utf8Form {
    std::array<char, 4> bytes{};
    std::uint8_t size = 0;
};

constexpr std::array<Utf8Form, 256> MakeForms() {
    std::array<Utf8Form, 256> forms{};
    for (std::size_t i = 0; i < forms.size(); ++i) {
        const char32_t code = text::Win1250ToCodePoint(static_cast<unsigned char>(i));
        Utf8Form& form = forms[i];
        if (code < 0x80) {
            form.bytes = {static_cast<char>(code), 0, 0, 0};
            form.size = 1;
        } else if (code < 0x800) {
            form.bytes = {static_cast<char>(0xC0 | (code >> 6)),
                          static_cast<char>(0x80 | (code & 0x3F)), 0, 0};
            form.size = 2;
        } else {
            form.bytes = {static_cast<char>(0xE0 | (code >> 12)),
                          static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                          static_cast<char>(0x80 | (code & 0x3F)), 0};
            form.size = 3;
        }
    }
    return forms;
}

constexpr std::array<Utf8Form, 256> kForms = MakeForms();

// Writes the UTF-8 form of `byte` at `out`, which has room for four bytes; returns its end.
char* PutForm(char* out, unsigned char byte) {
    const Utf8Form& form = kForms[byte];
    std::memcpy(out, form.bytes.data(), form.bytes.size());
    return out + form.size;
}

}  // namespace

void Utf8TraceSink::AppendLine(std::string_view line) {
    // At most three bytes per byte, one more for the last form's whole store, and the LF.
    const std::size_t room = line.size() * 3 + 2;
    if (pending_.size() < used_ + room) {
        pending_.resize(std::max(used_ + room, kBlockSize + kBlockSize / 2));
    }
    char* out = pending_.data() + used_;
    const char* p = line.data();
    const char* const end = p + line.size();
    while (p != end) {
        // Eight bytes at a time, none of them CR: plain ASCII copied as it is, letters from
        // the table without leaving the block.
        while (end - p >= 8) {
            std::uint64_t block;
            std::memcpy(&block, p, sizeof block);
            const std::uint64_t notCr = block ^ 0x0D0D0D0D0D0D0D0DULL;
            const std::uint64_t crFound =
                (notCr - 0x0101010101010101ULL) & ~notCr & 0x8080808080808080ULL;
            if (crFound != 0) {
                break;
            }
            if ((block & 0x8080808080808080ULL) == 0) {
                std::memcpy(out, p, sizeof block);
                out += sizeof block;
            } else {
                for (int k = 0; k < 8; ++k) {
                    out = PutForm(out, static_cast<unsigned char>(p[k]));
                }
            }
            p += sizeof block;
        }
        if (p == end) {
            break;
        }
        const auto byte = static_cast<unsigned char>(*p);
        if (byte != '\r' || p + 1 == end || p[1] != '\n') {
            out = PutForm(out, byte);
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
