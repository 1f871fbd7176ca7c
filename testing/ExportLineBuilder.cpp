#include "testing/ExportLineBuilder.h"

#include <algorithm>
#include <stdexcept>

#include "engine/exportfile/ExportLineReader.h"
#include "engine/text/Win1250.h"

namespace trevo::testing {

std::string Win1250(std::string_view utf8) {
    auto bytes = text::Utf8ToWin1250(utf8);
    if (!bytes) {
        throw std::invalid_argument("text outside Windows-1250");
    }
    return *bytes;
}

ExportLineBuilder::ExportLineBuilder() : line_(kExportLineLength, ' ') {
    Type("0");
}

ExportLineBuilder& ExportLineBuilder::Set(Columns columns, std::string_view value) {
    const auto width = static_cast<std::size_t>(columns.to - columns.from + 1);
    std::string field(width, ' ');
    std::copy_n(value.begin(), std::min(width, value.size()), field.begin());
    line_.replace(static_cast<std::size_t>(columns.from - 1), width, field);
    return *this;
}

ExportLineBuilder& ExportLineBuilder::SetRight(Columns columns, std::string_view value) {
    const auto width = static_cast<std::size_t>(columns.to - columns.from + 1);
    std::string field(width, ' ');
    const std::size_t n = std::min(width, value.size());
    std::copy_n(value.begin(), n, field.begin() + static_cast<std::ptrdiff_t>(width - n));
    line_.replace(static_cast<std::size_t>(columns.from - 1), width, field);
    return *this;
}

std::string BookableDocument(const char* date, const char* number) {
    return ExportLineBuilder()
               .Date(date)
               .Number(number)
               .Amount(export_columns::kNettoKpr, "1")
               .Amount(export_columns::kNetto1, "1")
               .Line() +
           "\r\n";
}

std::string MarchDocument(std::string_view number, std::string_view company) {
    namespace col = export_columns;
    return ExportLineBuilder()
        .Date("20240315")
        .Number(number)
        .Company(company)
        .Nip("1234567890")
        .Type("0")
        .Amount(col::kNettoKpr, "100.00")
        .Amount(col::kNetto1, "100.00")
        .Amount(col::kVat1, "23.00")
        .CountryPrefix("PL")
        .Line();
}

}  // namespace trevo::testing
