// "trevo2kpr-cli show": every record of a period file, as a table, CSV or JSON.

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ConsoleOutput.h"
#include "cli/Help.h"
#include "cli/OpenFailure.h"
#include "cli/TerminalText.h"
#include "engine/files/FileSystem.h"
#include "engine/inspect/EntryFields.h"
#include "engine/ledger/PeriodFileReading.h"
#include "engine/text/JsonWriter.h"
#include "engine/text/Win1250.h"

namespace trevo::cli {

namespace {

enum class Format { Text, Csv, Json };

void AppendCsvField(std::string& out, const std::string& value) {
    if (value.find_first_of(",\"\r\n") == std::string::npos) {
        out += value;
        return;
    }
    out += '"';
    for (const char c : value) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

// Characters, not bytes, for the table's columns.
std::size_t Utf8Length(const std::string& text) {
    std::size_t length = 0;
    for (const char c : text) {
        length += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return length;
}

struct TableColumn {
    const char* title;
    std::size_t field;  // index among the entry's fields; SIZE_MAX for the slot
    bool right;
};

constexpr std::size_t kSlot = static_cast<std::size_t>(-1);
constexpr TableColumn kTable[] = {
    {"poz.", kSlot, true}, {"seqNo", 0, true},  {"data", 3, false},     {"numer", 5, false},
    {"NIP", 6, false},     {"firma", 7, false}, {"rodzaj", 13, true},   {"kod", 29, true},
    {"netto1", 17, true},  {"vat1", 18, true},  {"nettoKpr", 30, true},
};
constexpr std::size_t kColumns = std::size(kTable);

// The table's column widths come from its titles and its first rows, held until then; later
// rows are printed as they come, and a longer cell widens its column from its row on.
constexpr std::size_t kWidthRows = 1000;

constexpr std::size_t kDrainSize = 64 * 1024;

// Prints records as they are read: memory stays the same whatever the file's size. Every line
// is made in Windows-1250 and converted as a whole, to UTF-8 byte for byte for a file or a pipe,
// with its control characters shown visibly for a terminal.
class Printer {
  public:
    Printer(Format format, PolishCharset code, bool terminal)
        : format_(format), code_(code), terminal_(terminal) {}

    void Begin() {
        if (format_ == Format::Csv) {
            out_ += "slot";
            for (const char* name : EntryFieldNames()) {
                out_ += ',';
                out_ += name;
            }
            out_ += '\n';
        } else if (format_ == Format::Json) {
            out_ += "[\n";
        }
    }

    void Record(std::uint64_t slot, const LedgerRecordBytes& bytes) {
        const std::vector<EntryField> fields = EntryFields(DecodeLedgerEntry(bytes), code_);
        line_.clear();
        switch (format_) {
            case Format::Csv:
                line_ += std::to_string(slot);
                for (const EntryField& field : fields) {
                    line_ += ',';
                    AppendCsvField(line_, field.value);
                }
                Shown(out_, line_);
                out_ += '\n';
                break;
            case Format::Json: {
                if (slot > 1) {
                    out_ += ",\n";
                }
                // The writer escapes ASCII only and passes the code page's letters through.
                JsonWriter json(line_);
                json.BeginObject().Key("slot").Integer(static_cast<std::int64_t>(slot));
                for (const EntryField& field : fields) {
                    json.Key(field.name);
                    const bool number = field.kind != EntryField::Kind::Text &&
                                        field.value.find_first_of("ni") == std::string::npos;
                    // JSON has no infinities or NaN: those amounts are strings.
                    number ? json.Number(field.value) : json.String(field.value);
                }
                json.EndObject();
                Shown(out_, line_);
                break;
            }
            case Format::Text: {
                Row row;
                std::size_t i = 0;
                for (const TableColumn& column : kTable) {
                    Shown(row[i++], column.field == kSlot ? std::to_string(slot)
                                                          : fields[column.field].value);
                }
                if (rows_.size() < kWidthRows) {
                    rows_.push_back(std::move(row));
                    if (rows_.size() == kWidthRows) {
                        Table();
                    }
                } else {
                    TableRow(row);
                }
                break;
            }
        }
        Drain();
    }

    bool End() {
        if (format_ == Format::Json) {
            out_ += "\n]\n";
        } else if (format_ == Format::Text && rows_.size() < kWidthRows) {
            Table();
        }
        Drain(true);
        return std::fflush(stdout) == 0 && !failed_;
    }

  private:
    using Row = std::array<std::string, kColumns>;

    void Shown(std::string& out, std::string_view win1250) const {
        if (terminal_) {
            AppendVisible(out, win1250);
        } else {
            out += text::Win1250ToUtf8(win1250);
        }
    }

    // The titles and the rows held so far, which set the widths.
    void Table() {
        Row titles;
        for (std::size_t i = 0; i < kColumns; ++i) {
            titles[i] = kTable[i].title;
            widths_[i] = Utf8Length(titles[i]);
        }
        for (const Row& row : rows_) {
            for (std::size_t i = 0; i < kColumns; ++i) {
                widths_[i] = std::max(widths_[i], Utf8Length(row[i]));
            }
        }
        TableRow(titles);
        for (const Row& row : rows_) {
            TableRow(row);
            Drain();
        }
    }

    void TableRow(const Row& cells) {
        const std::size_t start = out_.size();
        for (std::size_t i = 0; i < kColumns; ++i) {
            const std::size_t length = Utf8Length(cells[i]);
            widths_[i] = std::max(widths_[i], length);
            const std::size_t pad = widths_[i] - length;
            out_.append(i == 0 ? 0 : 2, ' ');
            if (kTable[i].right) {
                out_.append(pad, ' ');
                out_ += cells[i];
            } else {
                out_ += cells[i];
                out_.append(pad, ' ');
            }
        }
        while (out_.size() > start && out_.back() == ' ') {
            out_.pop_back();
        }
        out_ += '\n';
    }

    void Drain(bool all = false) {
        if (all || out_.size() >= kDrainSize) {
            failed_ |= !WriteText(stdout, out_);
            out_.clear();
        }
    }

    Format format_;
    PolishCharset code_;
    bool terminal_;
    std::string out_;   // UTF-8, not yet written
    std::string line_;  // Windows-1250, the record in hand
    std::vector<Row> rows_;
    std::array<std::size_t, kColumns> widths_{};
    bool failed_ = false;
};

}  // namespace

int RunShowCommand(const std::vector<std::string>& args) {
    CommandLine line;
    line.AddValueOption("code-page", "mazovia|852");
    line.AddValueOption("format", "text|csv|json");
    if (const auto finished = ParseOrFinish(line, args, "show", ShowHelp())) {
        return *finished;
    }
    const auto code = CodePageOption(line);
    if (const auto* error = std::get_if<UsageError>(&code)) {
        return ReportUsageError("show", *error);
    }
    Format format = Format::Text;
    if (const auto value = line.Value("format")) {
        if (*value == "csv") {
            format = Format::Csv;
        } else if (*value == "json") {
            format = Format::Json;
        } else if (*value != "text") {
            return ReportUsageError(
                "show", {"opcja '--format' przyjmuje text, csv albo json, nie '" + *value + "'"});
        }
    }
    const auto operand = SolePathArgument(line, "PERIOD_FILE");
    if (const auto* error = std::get_if<UsageError>(&operand)) {
        return ReportUsageError("show", *error);
    }
    const auto& [given, path] = std::get<PathOperand>(operand);

    Printer printer(format, std::get<PolishCharset>(code), IsTerminal(stdout));
    printer.Begin();
    const auto read = ReadPeriodFile(
        LocalFileSystem(), path, [&printer](std::uint64_t slot, const LedgerRecordBytes& bytes) {
            printer.Record(slot, bytes);
        });
    if (!read) {
        PrintError("trevo2kpr-cli show: " + CannotReadMessage(given, ExpectedKind::File));
        return kExitUsage;
    }
    const bool printed = printer.End();
    if (read->partBytes != 0) {
        PrintError("trevo2kpr-cli show: niepełny rekord na końcu pliku: " +
                   std::to_string(read->partBytes) + " bajtów po rekordzie " +
                   std::to_string(read->records));
        return kExitStopped;
    }
    return printed ? kExitDone : kExitStopped;
}

}  // namespace trevo::cli
