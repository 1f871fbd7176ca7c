// "trevo2kpr-cli show": every record of a period file, as a table, CSV or JSON.

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Help.h"
#include "cli/OpenFailure.h"
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

class Printer {
  public:
    Printer(Format format, PolishCharset code) : format_(format), code_(code) {}

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
        std::vector<EntryField> fields = EntryFields(DecodeLedgerEntry(bytes), code_);
        for (EntryField& field : fields) {
            if (field.kind == EntryField::Kind::Text) {
                field.value = text::Win1250ToUtf8(field.value);
            }
        }
        switch (format_) {
            case Format::Csv:
                out_ += std::to_string(slot);
                for (const EntryField& field : fields) {
                    out_ += ',';
                    AppendCsvField(out_, field.value);
                }
                out_ += '\n';
                break;
            case Format::Json: {
                if (slot > 1) {
                    out_ += ",\n";
                }
                JsonWriter json(out_);
                json.BeginObject().Key("slot").Integer(static_cast<std::int64_t>(slot));
                for (const EntryField& field : fields) {
                    json.Key(field.name);
                    const bool number = field.kind != EntryField::Kind::Text &&
                                        field.value.find_first_of("ni") == std::string::npos;
                    // JSON has no infinities or NaN: those amounts are strings.
                    number ? json.Number(field.value) : json.String(field.value);
                }
                json.EndObject();
                break;
            }
            case Format::Text:
                rows_.push_back({std::to_string(slot)});
                for (const TableColumn& column : kTable) {
                    if (column.field != kSlot) {
                        rows_.back().push_back(fields[column.field].value);
                    }
                }
                break;
        }
        Drain();
    }

    bool End() {
        if (format_ == Format::Json) {
            out_ += "\n]\n";
        } else if (format_ == Format::Text) {
            Table();
        }
        Drain(true);
        return std::fflush(stdout) == 0 && !failed_;
    }

  private:
    void Table() {
        std::vector<std::string> titles;
        for (const TableColumn& column : kTable) {
            titles.push_back(column.title);
        }
        std::vector<std::size_t> widths;
        for (const std::string& title : titles) {
            widths.push_back(Utf8Length(title));
        }
        for (const auto& row : rows_) {
            for (std::size_t i = 0; i < row.size(); ++i) {
                widths[i] = std::max(widths[i], Utf8Length(row[i]));
            }
        }
        const auto line = [&](const std::vector<std::string>& cells) {
            std::string text;
            for (std::size_t i = 0; i < cells.size(); ++i) {
                const std::string pad(widths[i] - Utf8Length(cells[i]), ' ');
                text += i == 0 ? "" : "  ";
                text += kTable[i].right ? pad + cells[i] : cells[i] + pad;
            }
            while (!text.empty() && text.back() == ' ') {
                text.pop_back();
            }
            out_ += text;
            out_ += '\n';
        };
        line(titles);
        for (const auto& row : rows_) {
            line(row);
        }
    }

    void Drain(bool all = false) {
        if (all || out_.size() >= 64 * 1024) {
            failed_ |= std::fwrite(out_.data(), 1, out_.size(), stdout) != out_.size();
            out_.clear();
        }
    }

    Format format_;
    PolishCharset code_;
    std::string out_;
    std::vector<std::vector<std::string>> rows_;
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

    Printer printer(format, std::get<PolishCharset>(code));
    printer.Begin();
    const auto read = ReadPeriodFile(
        LocalFileSystem(), path, [&printer](std::uint64_t slot, const LedgerRecordBytes& bytes) {
            printer.Record(slot, bytes);
        });
    if (!read) {
        std::fprintf(stderr, "trevo2kpr-cli show: %s\n",
                     CannotReadMessage(given, ExpectedKind::File).c_str());
        return kExitUsage;
    }
    const bool printed = printer.End();
    if (read->partBytes != 0) {
        std::fprintf(stderr,
                     "trevo2kpr-cli show: niepełny rekord na końcu pliku: %llu bajtów po "
                     "rekordzie %llu\n",
                     static_cast<unsigned long long>(read->partBytes),
                     static_cast<unsigned long long>(read->records));
        return kExitStopped;
    }
    return printed ? kExitDone : kExitStopped;
}

}  // namespace trevo::cli
