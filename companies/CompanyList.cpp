#include "companies/CompanyList.h"

#include <algorithm>
#include <memory>
#include <string_view>

namespace trevo {

namespace {

namespace layout = company_layout;

std::string ReadShortString(const CompanyRecordBytes& bytes, std::size_t offset, std::size_t room) {
    const std::size_t size = std::min<std::size_t>(bytes[offset], room);
    return std::string(reinterpret_cast<const char*>(bytes.data()) + offset + 1, size);
}

// Reads exactly one record, whatever the sizes of the single reads; false at an early end of
// the file or on a read failure.
bool ReadWholeRecord(InputFile& file, CompanyRecordBytes& bytes) {
    auto* buffer = reinterpret_cast<char*>(bytes.data());
    std::size_t got = 0;
    while (got < bytes.size()) {
        const auto read = file.Read(buffer + got, bytes.size() - got);
        if (!read || *read == 0) {
            return false;
        }
        got += *read;
    }
    return true;
}

}  // namespace

CompanyRecord DecodeCompanyRecord(const CompanyRecordBytes& bytes, PolishCharset ledgerCode) {
    CompanyRecord record;
    record.companyName = ToWin1250(
        ReadShortString(bytes, layout::kCompanyName, layout::kCompanyNameRoom), ledgerCode);
    // A file-system name: never converted.
    record.companyDir = ReadShortString(bytes, layout::kCompanyDir, layout::kCompanyDirRoom);
    record.companyInfo = ToWin1250(
        ReadShortString(bytes, layout::kCompanyInfo, layout::kCompanyInfoRoom), ledgerCode);
    return record;
}

std::size_t ReadCompanyList(PeriodFileStore& files, const std::string& path,
                            PolishCharset ledgerCode, const CompanyRecordSink& deliver) {
    return ReadCompanyListReporting(files, path, ledgerCode, deliver).delivered;
}

CompanyListReading ReadCompanyListReporting(PeriodFileStore& files, const std::string& path,
                                            PolishCharset ledgerCode,
                                            const CompanyRecordSink& deliver) {
    CompanyListReading reading;
    // The transcoder throws for codes it has no row for; nothing here may throw of its own.
    if (static_cast<int>(ledgerCode) >= kPolishCharsetCount) {
        return reading;
    }
    auto opened = files.OpenRecordFileForReading(path);
    if (!opened) {
        return reading;
    }
    const std::unique_ptr<InputFile> file = *std::move(opened);
    reading.opened = true;
    reading.sizeInBytes = file->SizeAtOpen();
    reading.wholeRecords = reading.sizeInBytes / layout::kRecordSize;
    CompanyRecordBytes bytes{};
    for (std::uint64_t n = 0; n < reading.wholeRecords; ++n) {
        if (!ReadWholeRecord(*file, bytes)) {
            break;
        }
        deliver(DecodeCompanyRecord(bytes, ledgerCode));
        ++reading.delivered;
    }
    return reading;
}

}  // namespace trevo
