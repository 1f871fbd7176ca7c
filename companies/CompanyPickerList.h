#pragma once
// The picker's rows together with the file they came from. The rows shown are always those of
// the file the picker's box names: a load replaces them, or leaves none when it fails; naming
// another file drops them; and the directory a chosen company gives is built from the file the
// rows came from, never from whatever the box holds by then.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "companies/CompanyRows.h"
#include "engine/files/FileSystem.h"
#include "engine/platform/StringCollation.h"
#include "engine/text/zdTransPL.h"

namespace trevo {

enum class CompanyListFailure {
    None,
    Missing,     // nothing of that name
    Folder,      // the name is a folder
    NoAccess,    // a file that does not open for reading
    NotAList,    // bytes, but not one whole record
    ReadFailed,  // the reading stopped before the last record
};

// Why a load gave no list, in words for the user (Windows-1250); empty for None.
std::string CompanyListFailureReason(CompanyListFailure failure);

class CompanyPickerList {
  public:
    // Reads the list at `path` (by the rules of ReadCompanyList), sorts it by name and finds
    // the row of `katalog` (by the rules of CompanyRows). On failure the list holds no rows and
    // no file; an empty file is a list without rows. The old rows are gone whatever happens,
    // also when reading throws.
    CompanyListFailure Load(FileSystem& fileSystem, const std::string& path,
                            PolishCharset ledgerCode, std::string_view katalog,
                            const StringCollation& collation);

    // Whether the rows came from the file `path` names.
    bool IsFrom(std::string_view path) const { return source_ && *source_ == path; }
    // The box now names `path`: rows of another file are dropped. True when they were.
    bool DropUnlessFrom(std::string_view path);
    void Clear();

    const std::vector<CompanyRow>& Rows() const { return rows_; }
    // The file the rows came from; nothing when no list is loaded.
    const std::optional<std::string>& Source() const { return source_; }
    // The row the last load made current; nothing when it left no rows.
    std::optional<std::size_t> LoadedRow() const { return loadedRow_; }

    // The ledger directory of the company in `row`: the directory part of the file the rows
    // came from followed by its Katalog; that directory part alone when the list has no rows.
    // Nothing when no list is loaded or `row` names no row of a list that has rows.
    std::optional<std::string> LedgerDirectoryFor(std::optional<std::size_t> row) const;

  private:
    std::vector<CompanyRow> rows_;
    std::optional<std::string> source_;
    std::optional<std::size_t> loadedRow_;
};

}  // namespace trevo
