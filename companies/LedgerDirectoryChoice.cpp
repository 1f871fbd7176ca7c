#include "companies/LedgerDirectoryChoice.h"

#include "companies/CompanyRows.h"
#include "engine/files/FileSystem.h"

namespace trevo {

namespace {

// Where a path's directory part ends. On Windows either slash separates, and a drive prefix
// ("c:spisfirm.dat") ends it too.
#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/";
constexpr std::string_view kDirectoryEnds = "\\/:";
#else
constexpr std::string_view kSeparators{&kPathSeparator, 1};
constexpr std::string_view kDirectoryEnds = kSeparators;
#endif

}  // namespace

std::string CurrentKatalogOf(std::string_view ledgerDir) {
    const auto separator = ledgerDir.find_last_of(kSeparators);
    const std::string_view last =
        separator == std::string_view::npos ? ledgerDir : ledgerDir.substr(separator + 1);
    return std::string(last.substr(0, kKatalogWidth));
}

std::string ChosenLedgerDirectory(std::string_view listFileName, std::string_view katalog) {
    const auto end = listFileName.find_last_of(kDirectoryEnds);
    std::string directory(end == std::string_view::npos ? std::string_view()
                                                        : listFileName.substr(0, end + 1));
    directory += katalog;
    return directory;
}

}  // namespace trevo
