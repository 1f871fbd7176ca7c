#pragma once
// Reads the export file line by line, one byte per character:
// - a line ends at LF or CR LF; a CR not followed by LF is dropped;
// - byte 26 where a line would begin ends the input; inside a line it ends the line's text and
//   the rest up to the terminator is skipped;
// - a last line without a terminator is a line; a file ending in a terminator has no further
//   empty line.
// Lines have no length limit, but only the first 510 bytes are kept: longer lines are no
// documents, so memory stays flat whatever the file holds.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/files/InputFile.h"

namespace trevo {

inline constexpr std::size_t kExportLineLength = 510;

class ExportLineReader {
  public:
    enum class Status { Line, EndOfInput, ReadError };

    explicit ExportLineReader(InputFile& file, std::size_t bufferSize = 64 * 1024);

    Status ReadExportLine();

    // The line last read; whole when LineLength() is at most 510 bytes.
    std::string_view Line() const {
        return {kept_.data(), std::min<std::uint64_t>(length_, kept_.size())};
    }
    std::uint64_t LineLength() const { return length_; }
    bool IsDocumentLength() const { return length_ == kExportLineLength; }

    std::uint64_t BytesConsumed() const { return consumed_; }

  private:
    // Makes a byte available at pos_; false at the end of the file or on a read failure.
    bool Fill();
    // Index of the first LF, CR or byte 26 in the buffer at or after `from`, end_ when none.
    std::size_t FindSpecial(std::size_t from);

    static constexpr std::size_t kNotSearched = static_cast<std::size_t>(-1);

    InputFile& file_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool failed_ = false;
    std::uint64_t consumed_ = 0;
    // Where the next LF, CR and byte 26 stand in the buffer. Each is searched for with memchr
    // and kept until the reading passes it, so every byte is looked at once per kind however
    // the three are mixed.
    std::array<std::size_t, 3> nextSpecial_{kNotSearched, kNotSearched, kNotSearched};
    std::array<char, kExportLineLength> kept_{};
    std::uint64_t length_ = 0;
};

}  // namespace trevo
