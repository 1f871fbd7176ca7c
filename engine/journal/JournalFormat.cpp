#include "engine/journal/JournalFormat.h"

#include <algorithm>

#include "engine/files/FileSystem.h"

namespace trevo::journal {

namespace {

constexpr char kOpened = 'O';
constexpr char kWritten = 'W';
constexpr char kEnd = 'E';
constexpr std::size_t kNumberDigits = 6;

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

// Reads from the front of the bytes; any read past the end marks the whole parse failed.
class Cursor {
  public:
    explicit Cursor(std::string_view bytes) : rest_(bytes) {}

    bool AtEnd() const { return rest_.empty(); }
    bool Failed() const { return failed_; }

    std::uint64_t Unsigned(int width) {
        if (rest_.size() < static_cast<std::size_t>(width)) {
            failed_ = true;
            rest_ = {};
            return 0;
        }
        std::uint64_t value = 0;
        for (int i = width - 1; i >= 0; --i) {
            value = (value << 8) | static_cast<unsigned char>(rest_[static_cast<std::size_t>(i)]);
        }
        rest_.remove_prefix(static_cast<std::size_t>(width));
        return value;
    }

    std::string Text() {
        const auto length = static_cast<std::size_t>(Unsigned(2));
        if (rest_.size() < length) {
            failed_ = true;
            rest_ = {};
            return {};
        }
        std::string text(rest_.substr(0, length));
        rest_.remove_prefix(length);
        return text;
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

}  // namespace

std::string JournalDirectory(const std::string& ledgerDir) {
    return ledgerDir + kPathSeparator + std::string(kDirectoryName);
}

std::optional<std::uint32_t> JournalNumber(std::string_view fileName) {
    if (fileName.size() != kNumberDigits ||
        !std::all_of(fileName.begin(), fileName.end(),
                     [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    std::uint32_t number = 0;
    for (const char c : fileName) {
        number = number * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return number;
}

std::string JournalFileName(std::uint32_t number) {
    std::string name = std::to_string(number);
    if (name.size() < kNumberDigits) {
        name.insert(0, kNumberDigits - name.size(), '0');
    }
    return name;
}

void AppendHeader(std::string& out, std::string_view exportPath, const LocalDateTime& started) {
    out.append(kMagic);
    PutText(out, exportPath);
    PutUnsigned(out, static_cast<std::uint16_t>(started.year), 2);
    PutUnsigned(out, static_cast<std::uint8_t>(started.month), 1);
    PutUnsigned(out, static_cast<std::uint8_t>(started.day), 1);
    PutUnsigned(out, static_cast<std::uint8_t>(started.hour), 1);
    PutUnsigned(out, static_cast<std::uint8_t>(started.minute), 1);
    PutUnsigned(out, static_cast<std::uint8_t>(started.second), 1);
}

void AppendOpened(std::string& out, std::string_view fileName, bool existedBefore,
                  std::uint64_t sizeAtOpen) {
    out += kOpened;
    PutText(out, fileName);
    PutUnsigned(out, existedBefore ? 1 : 0, 1);
    PutUnsigned(out, sizeAtOpen, 8);
}

void AppendWritten(std::string& out, std::string_view fileName, std::uint64_t offset,
                   std::uint64_t sizeBefore, std::string_view overwritten,
                   std::string_view written) {
    out += kWritten;
    PutText(out, fileName);
    PutUnsigned(out, offset, 8);
    PutUnsigned(out, sizeBefore, 8);
    PutText(out, overwritten);
    PutText(out, written);
}

void AppendEnd(std::string& out) {
    out += kEnd;
}

std::optional<Journal> ParseJournal(std::string_view bytes) {
    if (!bytes.starts_with(kMagic)) {
        return std::nullopt;
    }
    Cursor in(bytes.substr(kMagic.size()));
    Journal journal;
    journal.exportPath = in.Text();
    journal.started.year = static_cast<int>(in.Unsigned(2));
    journal.started.month = static_cast<int>(in.Unsigned(1));
    journal.started.day = static_cast<int>(in.Unsigned(1));
    journal.started.hour = static_cast<int>(in.Unsigned(1));
    journal.started.minute = static_cast<int>(in.Unsigned(1));
    journal.started.second = static_cast<int>(in.Unsigned(1));
    const auto remember = [&journal](const std::string& name) {
        if (std::find(journal.fileOrder.begin(), journal.fileOrder.end(), name) ==
            journal.fileOrder.end()) {
            journal.fileOrder.push_back(name);
        }
    };
    while (!in.Failed() && !in.AtEnd()) {
        if (journal.ended) {
            return std::nullopt;  // nothing follows the end of a run
        }
        const std::string_view kind = in.Take(1);
        if (kind == std::string_view(&kOpened, 1)) {
            OpenedRecord record;
            record.fileName = in.Text();
            record.existedBefore = in.Unsigned(1) != 0;
            record.sizeAtOpen = in.Unsigned(8);
            remember(record.fileName);
            journal.opened.push_back(std::move(record));
        } else if (kind == std::string_view(&kWritten, 1)) {
            WrittenRecord record;
            record.fileName = in.Text();
            record.offset = in.Unsigned(8);
            record.sizeBefore = in.Unsigned(8);
            record.overwritten = in.Text();
            record.written = in.Text();
            remember(record.fileName);
            journal.writes.push_back(std::move(record));
        } else if (kind == std::string_view(&kEnd, 1)) {
            journal.ended = true;
        } else {
            return std::nullopt;
        }
    }
    if (in.Failed()) {
        return std::nullopt;
    }
    return journal;
}

}  // namespace trevo::journal
