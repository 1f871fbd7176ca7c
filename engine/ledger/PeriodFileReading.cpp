#include "engine/ledger/PeriodFileReading.h"

#include <algorithm>
#include <vector>

namespace trevo {

namespace {

std::optional<unsigned> PlainNumber(std::string_view digits, unsigned limit) {
    if (digits.empty() || digits.size() > 5 || (digits.size() > 1 && digits[0] == '0')) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value <= limit ? std::optional(value) : std::nullopt;
}

}  // namespace

std::optional<PeriodFileRead> ReadPeriodFile(
    FileSystem& fileSystem, const std::string& path,
    const std::function<void(std::uint64_t slot, const LedgerRecordBytes& bytes)>& record) {
    if (!fileSystem.FileExists(path)) {
        return std::nullopt;
    }
    const auto file = fileSystem.OpenRecordFileForReading(path);
    if (!file) {
        return std::nullopt;
    }
    return ReadPeriodRecords(**file, record);
}

std::optional<PeriodFileRead> ReadPeriodRecords(
    InputFile& file,
    const std::function<void(std::uint64_t slot, const LedgerRecordBytes& bytes)>& record) {
    PeriodFileRead read;
    std::vector<char> buffer(LedgerEntry::kSize * 256);
    std::size_t held = 0;
    LedgerRecordBytes bytes;
    for (;;) {
        const auto got = file.Read(buffer.data() + held, buffer.size() - held);
        if (!got) {
            return std::nullopt;
        }
        if (*got == 0) {
            break;
        }
        held += *got;
        std::size_t used = 0;
        for (; held - used >= LedgerEntry::kSize; used += LedgerEntry::kSize) {
            std::copy_n(buffer.data() + used, LedgerEntry::kSize, bytes.begin());
            record(++read.records, bytes);
        }
        std::copy(buffer.begin() + static_cast<std::ptrdiff_t>(used),
                  buffer.begin() + static_cast<std::ptrdiff_t>(held), buffer.begin());
        held -= used;
    }
    read.partBytes = held;
    return read;
}

std::optional<std::pair<unsigned, unsigned>> ParsePeriodFileName(std::string_view name) {
    constexpr std::string_view kInfix = "ORMEK.";
    const std::size_t at = name.find(kInfix);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const auto year = PlainNumber(name.substr(0, at), 0xFFFF);
    const auto month = PlainNumber(name.substr(at + kInfix.size()), 0xFFFF);
    if (!year || !month) {
        return std::nullopt;
    }
    return std::pair{*year, *month};
}

}  // namespace trevo
