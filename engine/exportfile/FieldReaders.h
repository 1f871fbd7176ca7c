#pragma once
// The readers that take every value out of a document line, by 1-based inclusive columns.
// They never fail towards the mapping: a value that cannot be read is reported on the trace and
// read as zero.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/exportfile/ExportColumns.h"
#include "engine/ledger/zdRMD.h"
#include "engine/text/zdTransPL.h"

namespace trevo {

class TraceSink;

// Removes every character of code 32 or less from both ends.
std::string_view TrimControls(std::string_view text);

// Removes every "UL." and then every "AL." (any letter case, wherever they stand), trimming
// after each removal.
std::string StripStreetPrefix(std::string_view text);
void StripStreetPrefixInPlace(std::string& text);

class FieldReaders {
  public:
    // `unreadable`, when given, is told the columns of every value that could not be read.
    FieldReaders(std::string_view line, PolishCharset ledgerCode, TraceSink& trace,
                 std::vector<export_columns::Columns>* unreadable = nullptr)
        : line_(line), ledgerCode_(ledgerCode), trace_(trace), unreadable_(unreadable) {}

    // The trimmed slice, Windows-1250.
    std::string_view ReadText(int from, int to) const;
    // The trimmed slice in the ledger code page; same length.
    std::string ReadTextPL(int from, int to) const;
    // The same into `out`, replacing its contents; returns a view of it.
    std::string_view ReadTextPL(int from, int to, std::string& out) const;
    std::int32_t ReadInteger(int from, int to) const;
    // An integer that must fit one byte: a value outside 0..255 is reported like an unreadable
    // one and read as 0.
    std::uint8_t ReadByte(int from, int to) const;
    double ReadDouble(int from, int to) const;
    // YYYYMMDD; parts that cannot be read are reported, year first.
    RmdDate ReadDate(int from, int to) const;

    using Columns = export_columns::Columns;
    std::string_view ReadText(Columns c) const { return ReadText(c.from, c.to); }
    std::string_view ReadTextPL(Columns c, std::string& out) const {
        return ReadTextPL(c.from, c.to, out);
    }
    std::int32_t ReadInteger(Columns c) const { return ReadInteger(c.from, c.to); }
    std::uint8_t ReadByte(Columns c) const { return ReadByte(c.from, c.to); }
    double ReadDouble(Columns c) const { return ReadDouble(c.from, c.to); }
    RmdDate ReadDate(Columns c) const { return ReadDate(c.from, c.to); }

  private:
    void Unreadable(int from, int to) const;

    std::string_view line_;
    PolishCharset ledgerCode_;
    TraceSink& trace_;
    std::vector<export_columns::Columns>* unreadable_;
};

}  // namespace trevo
