#include "companies/CompanyPickerList.h"

#include "companies/CompanyList.h"
#include "companies/LedgerDirectoryChoice.h"
#include "engine/text/Win1250Literal.h"

namespace trevo {

using namespace trevo::literals;

std::string CompanyListFailureReason(CompanyListFailure failure) {
    switch (failure) {
        case CompanyListFailure::None:
            return {};
        case CompanyListFailure::Missing:
            return std::string("nie ma takiego pliku"_w1250);
        case CompanyListFailure::Folder:
            return std::string("to jest katalog, nie plik"_w1250);
        case CompanyListFailure::NoAccess:
            return std::string("brak dostępu do pliku"_w1250);
        case CompanyListFailure::NotAList:
            return std::string("to nie jest lista firm"_w1250);
        case CompanyListFailure::ReadFailed:
            return std::string("błąd odczytu pliku"_w1250);
    }
    return {};
}

CompanyListFailure CompanyPickerList::Load(FileSystem& fileSystem, const std::string& path,
                                           PolishCharset ledgerCode, std::string_view katalog,
                                           const StringCollation& collation) {
    Clear();
    if (!fileSystem.FileExists(path)) {
        return fileSystem.DirectoryExists(path) ? CompanyListFailure::Folder
                                                : CompanyListFailure::Missing;
    }
    std::vector<CompanyRow> rows;
    const CompanyListReading reading = ReadCompanyListReporting(
        fileSystem, path, ledgerCode,
        [&rows](const CompanyRecord& r) { rows.push_back(MakeCompanyRow(r)); });
    if (!reading.opened) {
        return CompanyListFailure::NoAccess;
    }
    // A list cut short would hide companies, and the user could not tell.
    if (reading.delivered < reading.wholeRecords) {
        return CompanyListFailure::ReadFailed;
    }
    if (reading.wholeRecords == 0 && reading.sizeInBytes > 0) {
        return CompanyListFailure::NotAList;
    }
    // The last row read is current until the search finds the company's own row.
    std::optional<std::size_t> current;
    if (!rows.empty()) {
        current = rows.size() - 1;
    }
    current = SortRowsByFirma(rows, current, collation);
    loadedRow_ = SelectKatalogRow(rows, current, katalog, collation);
    rows_ = std::move(rows);
    source_ = path;
    return CompanyListFailure::None;
}

bool CompanyPickerList::DropUnlessFrom(std::string_view path) {
    if (!source_ || IsFrom(path)) {
        return false;
    }
    Clear();
    return true;
}

void CompanyPickerList::Clear() {
    rows_.clear();
    source_.reset();
    loadedRow_.reset();
}

std::optional<std::string> CompanyPickerList::LedgerDirectoryFor(
    std::optional<std::size_t> row) const {
    if (!source_) {
        return std::nullopt;
    }
    if (rows_.empty()) {
        return ChosenLedgerDirectory(*source_, {});
    }
    if (!row || *row >= rows_.size()) {
        return std::nullopt;
    }
    return ChosenLedgerDirectory(*source_, rows_[*row].katalog);
}

}  // namespace trevo
