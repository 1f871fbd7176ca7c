#include "engine/journal/JournalFormat.h"

#include <xxhash.h>

#include <algorithm>
#include <charconv>

#include "engine/files/FileSystem.h"

namespace trevo::journal {

namespace {

constexpr char kHeader = 'H';
constexpr char kOpened = 'O';
constexpr char kFile = 'F';
constexpr char kEnd = 'E';
constexpr std::size_t kNumberDigits = 10;
constexpr std::size_t kOldNumberDigits = 6;
constexpr std::size_t kMaxNumberDigits = 20;

void PutUnsigned(std::string& out, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

void PutText(std::string& out, std::string_view text) {
    const std::size_t length = std::min<std::size_t>(text.size(), 0xFFFF);
    PutUnsigned(out, length, 2);
    out.append(text.substr(0, length));
}

std::uint64_t EntryChecksum(std::string_view framed) {
    return XXH3_64bits(framed.data(), framed.size());
}

// Frames a payload as one checked entry.
void PutEntry(std::string& out, char kind, std::string_view payload) {
    const std::size_t at = out.size();
    out += kind;
    PutUnsigned(out, payload.size(), static_cast<int>(kEntryLengthSize));
    out.append(payload);
    PutUnsigned(out, EntryChecksum(std::string_view(out).substr(at)),
                static_cast<int>(kEntryChecksumSize));
}

std::uint64_t ReadUnsigned(std::string_view bytes, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

// Reads a payload from the front; any read past its end marks the whole payload failed.
class Cursor {
  public:
    explicit Cursor(std::string_view bytes) : rest_(bytes) {}

    bool Failed() const { return failed_; }
    // Every byte read, none missing: a payload with bytes to spare is no payload of ours.
    bool Whole() const { return !failed_ && rest_.empty(); }

    std::uint64_t Unsigned(std::size_t width) {
        const std::string_view taken = Take(width);
        return failed_ ? 0 : ReadUnsigned(taken, width);
    }

    std::string Text() {
        const auto length = static_cast<std::size_t>(Unsigned(2));
        return std::string(Take(length));
    }

    std::string_view Take(std::size_t size) {
        if (rest_.size() < size) {
            failed_ = true;
            rest_ = {};
            return {};
        }
        const std::string_view taken = rest_.substr(0, size);
        rest_.remove_prefix(size);
        return taken;
    }

  private:
    std::string_view rest_;
    bool failed_ = false;
};

bool IsDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// One payload read into the journal; false when it does not read as its kind.
bool ReadPayload(char kind, std::string_view payload, Journal& journal) {
    Cursor in(payload);
    const auto remember = [&journal](const std::string& name) {
        if (std::find(journal.fileOrder.begin(), journal.fileOrder.end(), name) ==
            journal.fileOrder.end()) {
            journal.fileOrder.push_back(name);
        }
    };
    if (kind == kOpened) {
        OpenedRecord record;
        record.fileName = in.Text();
        const std::uint64_t existed = in.Unsigned(1);
        record.existedBefore = existed != 0;
        record.sizeAtOpen = in.Unsigned(8);
        if (!in.Whole() || existed > 1) {
            return false;
        }
        remember(record.fileName);
        journal.opened.push_back(std::move(record));
        return true;
    }
    if (kind == kFile) {
        AppendedFile result;
        result.fileName = in.Text();
        result.sizeBefore = in.Unsigned(8);
        result.firstOffset = in.Unsigned(8);
        result.sizeAfter = in.Unsigned(8);
        result.records = in.Unsigned(8);
        const std::uint64_t interleaved = in.Unsigned(1);
        result.interleaved = interleaved != 0;
        result.overwritten = in.Text();
        result.digest[0] = in.Unsigned(8);
        result.digest[1] = in.Unsigned(8);
        if (!in.Whole() || interleaved > 1) {
            return false;
        }
        remember(result.fileName);
        journal.files.push_back(std::move(result));
        return true;
    }
    return kind == kEnd && payload.empty();
}

}  // namespace

std::string JournalDirectory(const std::string& ledgerDir) {
    return ledgerDir + kPathSeparator + std::string(kDirectoryName);
}

std::optional<std::uint64_t> JournalNumber(std::string_view fileName) {
    if (fileName.size() < kOldNumberDigits || fileName.size() > kMaxNumberDigits ||
        !IsDigits(fileName)) {
        return std::nullopt;
    }
    std::uint64_t number = 0;
    const auto [end, error] =
        std::from_chars(fileName.data(), fileName.data() + fileName.size(), number);
    if (error != std::errc() || end != fileName.data() + fileName.size()) {
        return std::nullopt;  // beyond 64 bits
    }
    return number;
}

std::optional<std::uint64_t> JournalNumberOfAnyName(std::string_view fileName) {
    return JournalNumber(fileName.substr(0, fileName.find('.')));
}

std::string JournalFileName(std::uint64_t number) {
    std::string name = std::to_string(number);
    if (name.size() < kNumberDigits) {
        name.insert(0, kNumberDigits - name.size(), '0');
    }
    return name;
}

void AppendHeader(std::string& out, std::string_view exportPath, const LocalDateTime& started) {
    out.append(kMagic);
    std::string payload;
    PutText(payload, exportPath);
    PutUnsigned(payload, static_cast<std::uint16_t>(started.year), 2);
    PutUnsigned(payload, static_cast<std::uint8_t>(started.month), 1);
    PutUnsigned(payload, static_cast<std::uint8_t>(started.day), 1);
    PutUnsigned(payload, static_cast<std::uint8_t>(started.hour), 1);
    PutUnsigned(payload, static_cast<std::uint8_t>(started.minute), 1);
    PutUnsigned(payload, static_cast<std::uint8_t>(started.second), 1);
    PutEntry(out, kHeader, payload);
}

void AppendOpened(std::string& out, std::string_view fileName, bool existedBefore,
                  std::uint64_t sizeAtOpen) {
    std::string payload;
    PutText(payload, fileName);
    PutUnsigned(payload, existedBefore ? 1 : 0, 1);
    PutUnsigned(payload, sizeAtOpen, 8);
    PutEntry(out, kOpened, payload);
}

void AppendFileEntry(std::string& out, const AppendedFile& result) {
    std::string payload;
    PutText(payload, result.fileName);
    PutUnsigned(payload, result.sizeBefore, 8);
    PutUnsigned(payload, result.firstOffset, 8);
    PutUnsigned(payload, result.sizeAfter, 8);
    PutUnsigned(payload, result.records, 8);
    PutUnsigned(payload, result.interleaved ? 1 : 0, 1);
    PutText(payload, result.overwritten);
    PutUnsigned(payload, result.digest[0], 8);
    PutUnsigned(payload, result.digest[1], 8);
    PutEntry(out, kFile, payload);
}

void AppendEnd(std::string& out) {
    PutEntry(out, kEnd, {});
}

Journal ParseJournal(std::string_view bytes) {
    Journal journal;
    if (bytes.starts_with(kOldMagic)) {
        journal.state = JournalState::OldFormat;
        return journal;
    }
    if (!bytes.starts_with(kMagic)) {
        return journal;  // damaged
    }
    std::string_view rest = bytes.substr(kMagic.size());
    bool ended = false;
    bool headed = false;
    constexpr std::size_t kFrame = kEntryKindSize + kEntryLengthSize;
    while (!rest.empty()) {
        if (ended) {
            journal.state = JournalState::Damaged;  // nothing follows the end of a run
            return journal;
        }
        if (rest.size() < kFrame) {
            journal.state = JournalState::Unfinished;  // the last entry cut short
            return journal;
        }
        const char kind = rest[0];
        const std::uint64_t length = ReadUnsigned(rest.substr(kEntryKindSize), kEntryLengthSize);
        if (length > kMaxPayload) {
            journal.state = JournalState::Damaged;
            return journal;
        }
        const std::size_t entrySize =
            kFrame + static_cast<std::size_t>(length) + kEntryChecksumSize;
        if (rest.size() < entrySize) {
            journal.state = JournalState::Unfinished;
            return journal;
        }
        const std::string_view framed = rest.substr(0, entrySize - kEntryChecksumSize);
        const std::uint64_t checksum = ReadUnsigned(rest.substr(framed.size()), kEntryChecksumSize);
        const std::string_view payload = framed.substr(kFrame);
        rest.remove_prefix(entrySize);
        if (checksum != EntryChecksum(framed) || (kind == kHeader) == headed) {
            journal.state = JournalState::Damaged;  // and the header comes first, once
            return journal;
        }
        if (kind == kHeader) {
            headed = true;
            Cursor in(payload);
            journal.exportPath = in.Text();
            journal.started.year = static_cast<int>(in.Unsigned(2));
            journal.started.month = static_cast<int>(in.Unsigned(1));
            journal.started.day = static_cast<int>(in.Unsigned(1));
            journal.started.hour = static_cast<int>(in.Unsigned(1));
            journal.started.minute = static_cast<int>(in.Unsigned(1));
            journal.started.second = static_cast<int>(in.Unsigned(1));
            if (!in.Whole()) {
                journal.state = JournalState::Damaged;
                return journal;
            }
            continue;
        }
        if (!ReadPayload(kind, payload, journal)) {
            journal.state = JournalState::Damaged;
            return journal;
        }
        ended = kind == kEnd;
    }
    journal.state = ended ? JournalState::Ended : JournalState::Unfinished;
    return journal;
}

}  // namespace trevo::journal
