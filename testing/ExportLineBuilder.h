#pragma once
// Builds export lines column by column, for tests, benchmarks and the bundled sample. Texts are
// Windows-1250 bytes; `Utf8` converts a UTF-8 literal.

#include <string>
#include <string_view>
#include <utility>

#include "engine/exportfile/ExportColumns.h"

namespace trevo::testing {

// The Windows-1250 bytes of a UTF-8 text (throws on a character outside Windows-1250).
std::string Win1250(std::string_view utf8);

class ExportLineBuilder {
  public:
    using Columns = export_columns::Columns;

    // A line of 510 spaces with document type 0.
    ExportLineBuilder();
    // Starts from an existing line, to change some of its columns.
    explicit ExportLineBuilder(std::string line) : line_(std::move(line)) {}

    // Puts `value` left-aligned into the columns, padded with spaces; a longer value is cut.
    ExportLineBuilder& Set(Columns columns, std::string_view value);
    // Right-aligned, as numbers usually stand.
    ExportLineBuilder& SetRight(Columns columns, std::string_view value);

    ExportLineBuilder& Date(std::string_view yyyymmdd) {
        return Set(export_columns::kDocumentDate, yyyymmdd);
    }
    ExportLineBuilder& Number(std::string_view text) {
        return Set(export_columns::kDocumentNumber, text);
    }
    ExportLineBuilder& Company(std::string_view text) {
        return Set(export_columns::kCompanyName, text);
    }
    ExportLineBuilder& Street(std::string_view text) { return Set(export_columns::kStreet, text); }
    ExportLineBuilder& City(std::string_view text) { return Set(export_columns::kCity, text); }
    ExportLineBuilder& Nip(std::string_view text) { return Set(export_columns::kNip, text); }
    ExportLineBuilder& CountryPrefix(std::string_view text) {
        return Set(export_columns::kCountryPrefix, text);
    }
    ExportLineBuilder& Type(std::string_view text) {
        return Set(export_columns::kDocumentType, text);
    }
    ExportLineBuilder& KprCode(std::string_view text) {
        return SetRight(export_columns::kKprCode, text);
    }
    ExportLineBuilder& Marker(std::string_view text) { return Set(export_columns::kMarker, text); }
    ExportLineBuilder& SecondDate(std::string_view text) {
        return Set(export_columns::kSecondDate, text);
    }
    ExportLineBuilder& Amount(Columns columns, std::string_view text) {
        return SetRight(columns, text);
    }

    const std::string& Line() const { return line_; }

  private:
    std::string line_;
};

// A document every run books: its date, its number, KPR and netto amounts of 1, ended by CR LF.
std::string BookableDocument(const char* date, const char* number);

// A document of 15 March 2024 as the windows' tests book it: type 0, netto 100.00 agreeing with
// Netto_KPR, VAT 23.00, NIP 1234567890 (a bad checksum: a warning only); the line alone.
// Texts in Windows-1250 bytes.
std::string MarchDocument(std::string_view number, std::string_view company);

}  // namespace trevo::testing
