#pragma once
// Reading the ledger program's company list "spisfirm.dat": whole 103-byte records, no header.
// The list is only ever read; the ledger program may have it open at the same time.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "companies/CompanyRecordLayout.h"
#include "engine/files/PeriodFileStore.h"
#include "engine/text/zdTransPL.h"

namespace trevo {

// One company as delivered to the caller: the name and info in Windows-1250, the directory
// byte for byte. Each text is at most as long as its room in the record (31, 8, 61).
struct CompanyRecord {
    std::string companyName;
    std::string companyDir;  // one path component below the list file's directory
    std::string companyInfo;

    friend bool operator==(const CompanyRecord&, const CompanyRecord&) = default;
};

using CompanyRecordBytes = std::array<std::uint8_t, company_layout::kRecordSize>;

// The three texts of one record; a length byte larger than its room counts as the room.
// `companyName` and `companyInfo` are converted from `ledgerCode` into Windows-1250.
CompanyRecord DecodeCompanyRecord(const CompanyRecordBytes& bytes, PolishCharset ledgerCode);

using CompanyRecordSink = std::function<void(const CompanyRecord&)>;

// What one reading of a list found, for a caller that tells the user why a list is empty.
struct CompanyListReading {
    bool opened = false;
    std::uint64_t sizeInBytes = 0;   // at opening
    std::uint64_t wholeRecords = 0;  // at opening
    std::size_t delivered = 0;       // fewer than wholeRecords when a read failed
};

// Delivers the whole records of the file to `deliver`, in file order, and returns how many it
// delivered. Nothing is reported: a file that cannot be opened or sized yields no records, and
// bytes of an incomplete last record are ignored. The number of records is fixed when the file
// is opened; a record that can no longer be read in full (the file shrank meanwhile, or a read
// failed) ends the reading. A `ledgerCode` above pcWin1250 yields no records. The file is
// closed before this returns, also when `deliver` throws (the exception is passed on).
std::size_t ReadCompanyList(PeriodFileStore& files, const std::string& path,
                            PolishCharset ledgerCode, const CompanyRecordSink& deliver);

// The same reading, telling whether the file opened and how far the reading came.
CompanyListReading ReadCompanyListReporting(PeriodFileStore& files, const std::string& path,
                                            PolishCharset ledgerCode,
                                            const CompanyRecordSink& deliver);

}  // namespace trevo
