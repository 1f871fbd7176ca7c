#include "engine/ledger/PeriodFileReading.h"

#include <algorithm>
#include <vector>

namespace trevo {

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

}  // namespace trevo
