// "show" and "verify" through the built command line: records a run wrote read back field for
// field against the entries the mapping made, in CSV and JSON, and the checks of a directory.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/files/FileSystem.h"
#include "engine/inspect/EntryFields.h"
#include "engine/mapping/DocumentMapper.h"
#include "engine/platform/Clock.h"
#include "engine/text/Win1250.h"
#include "testing/BookedEntry.h"
#include "testing/JsonValue.h"
#include "testing/MemoryTraceSink.h"
#include "testing/ProcessRunner.h"
#include "testing/SyntheticExport.h"
#include "testing/TempDirectory.h"

namespace trevo {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

testing::ProcessResult Cli(const std::vector<std::string>& args) {
    return testing::RunProcess(TREVO_CLI_PATH, args, {"LC_ALL=C"});
}

// The lines of `text`, each without its LF.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        lines.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

class ShowVerifyCommandTest : public ::testing::Test {
  protected:
    ShowVerifyCommandTest() { std::filesystem::create_directories(Ledger()); }
    std::string Ledger() const { return dir_.File("FIRMA1"); }
    // As the engine names a period file: the directory, its separator, the name.
    std::string Period(const char* name) const { return Ledger() + kPathSeparator + name; }

    // The export's documents of November 2024 as the mapping makes them, numbered as a run
    // into an empty directory numbers them, each field as "show" prints it (UTF-8).
    std::vector<std::vector<std::string>> MappedNovember(const testing::SyntheticExportOptions& o,
                                                         PolishCharset code) {
        testing::NullTraceSink trace;
        const SystemClock clock;  // the run's import date is today's, as here
        const CurrencyFormat money;
        DocumentMapper mapper({code, 'A', 0}, trace, clock, money);
        std::vector<std::vector<std::string>> rows;
        LedgerEntry entry;
        for (std::size_t i = 0; i < o.documents; ++i) {
            if (!mapper.MapDocument(testing::SyntheticDocumentLine(i, o), entry) ||
                entry.entryDate.month != 11) {
                continue;
            }
            entry.seqNo = static_cast<std::int32_t>(rows.size() + 1);
            std::vector<std::string> row{std::to_string(rows.size() + 1)};
            for (const EntryField& field : EntryFields(entry, code)) {
                row.push_back(field.kind == EntryField::Kind::Text
                                  ? text::Win1250ToUtf8(field.value)
                                  : field.value);
            }
            rows.push_back(std::move(row));
        }
        return rows;
    }

    testing::TempDirectory dir_;
};

TEST_F(ShowVerifyCommandTest, ShownRecordsAreTheMappedEntriesFieldForField) {
    testing::SyntheticExportOptions options;
    options.documents = 60;
    options.firstMonth = 11;
    testing::WriteSyntheticExport(dir_.File("e.kpm"), options);
    for (const auto& [code, name] : {std::pair{PolishCharset::pcMazovia, "mazovia"},
                                     std::pair{PolishCharset::pcCp852, "852"}}) {
        std::filesystem::remove_all(Ledger());
        std::filesystem::create_directories(Ledger());
        ASSERT_EQ(
            Cli({"convert", "--code-page", name, "--attribute", "A", dir_.File("e.kpm"), Ledger()})
                .exitCode,
            0);
        const auto expected = MappedNovember(options, code);
        ASSERT_EQ(expected.size(), 29u);

        const auto csv =
            Cli({"show", "--code-page", name, "--format", "csv", Period("2024ORMEK.11")});
        ASSERT_EQ(csv.exitCode, 0) << csv.err;
        const auto rows = testing::ParseCsv(csv.out);
        ASSERT_TRUE(rows);
        ASSERT_EQ(rows->size(), expected.size() + 1);
        std::vector<std::string> header{"slot"};
        for (const char* field : EntryFieldNames()) {
            header.push_back(field);
        }
        EXPECT_EQ(rows->front(), header);
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ((*rows)[i + 1], expected[i]) << name << " record " << i + 1;
        }

        const auto json =
            Cli({"show", "--code-page", name, "--format", "json", Period("2024ORMEK.11")});
        ASSERT_EQ(json.exitCode, 0);
        const auto records = testing::ParseJson(json.out);
        ASSERT_TRUE(records) << json.out.substr(0, 200);
        ASSERT_EQ(records->items.size(), expected.size());
        std::vector<EntryField::Kind> kinds;
        for (const EntryField& field : EntryFields(LedgerEntry{}, code)) {
            kinds.push_back(field.kind);
        }
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const testing::JsonValue& record = records->items[i];
            ASSERT_EQ(record.keys.size(), header.size());
            for (std::size_t f = 0; f < header.size(); ++f) {
                EXPECT_EQ(record.keys[f], header[f]);
                EXPECT_EQ(record.items[f].text, expected[i][f]) << header[f];
                // Texts and dates are strings, numbers are numbers.
                const bool text = record.items[f].kind == testing::JsonValue::Kind::String;
                EXPECT_EQ(text, f > 0 && kinds[f - 1] == EntryField::Kind::Text) << header[f];
            }
        }
    }
    const auto table = Cli({"show", Period("2024ORMEK.11")});
    EXPECT_EQ(table.exitCode, 0);
    EXPECT_TRUE(table.out.starts_with("poz.  seqNo  data"));
    EXPECT_NE(table.out.find("FV 1/11/2024"), std::string::npos);
}

TEST_F(ShowVerifyCommandTest, PartRecordIsReportedAfterTheRecords) {
    WriteFileBytes(Period("2024ORMEK.11"), std::string(400, '\0') + "abc");
    const auto result = Cli({"show", "--format", "csv", Period("2024ORMEK.11")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(testing::ParseCsv(result.out)->size(), 2u);
    EXPECT_EQ(result.err,
              "trevo2kpr-cli show: niepełny rekord na końcu pliku: 3 bajtów po rekordzie 1\n");
    EXPECT_EQ(Cli({"show", Period("brak")}).exitCode, 2);
    EXPECT_EQ(Cli({"show", "--format", "xml", Period("2024ORMEK.11")}).exitCode, 2);
    const auto empty = Cli({"show", "--format", "json", Period("brak")});
    EXPECT_EQ(empty.out, "");
}

TEST_F(ShowVerifyCommandTest, VerifyPassesWhatRunsWroteAndNamesEveryProblem) {
    testing::SyntheticExportOptions options;
    options.documents = 30;
    options.firstMonth = 12;
    testing::WriteSyntheticExport(dir_.File("e.kpm"), options);
    Cli({"convert", dir_.File("e.kpm"), Ledger()});
    const auto good = Cli({"verify", Ledger()});
    EXPECT_EQ(good.exitCode, 0);
    EXPECT_EQ(good.out, "Sprawdzono plików: 2, bez błędów\n");

    const std::string written = ReadFileBytes(Period("2024ORMEK.12"));
    std::string december = written;
    december[400 + 0] = 9;  // seqNo of the second record
    WriteFileBytes(Period("2024ORMEK.12"), december + "xy");
    const auto bad = Cli({"verify", Ledger()});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.out, Period("2024ORMEK.12") + ": rekord 2: seqNo 9 zamiast 2\n" +
                           Period("2024ORMEK.12") + ": niepełny rekord na końcu pliku: 2 bajtów\n");
    EXPECT_EQ(Cli({"verify", dir_.File("brak")}).exitCode, 2);

    // A day no month has, in a record otherwise as the run wrote it.
    december = written;
    ASSERT_EQ(december[18 + 1], 12);  // entryDate: day, month, year
    december[18] = 32;
    WriteFileBytes(Period("2024ORMEK.12"), december);
    const auto date = Cli({"verify", Ledger()});
    EXPECT_EQ(date.exitCode, 1);
    EXPECT_EQ(date.out,
              Period("2024ORMEK.12") + ": rekord 1: entryDate 2024-12-32 - nie ma takiej daty\n");
}

TEST_F(ShowVerifyCommandTest, VerifyDescribesAHundredRecordProblemsPerFileAndCountsTheRest) {
    // Fifty records of zeros: six problems each.
    WriteFileBytes(Period("2024ORMEK.1"), std::string(50 * 400, '\0'));
    WriteFileBytes(Period("2024ORMEK.2"), std::string(400, '\0'));
    const auto result = Cli({"verify", Ledger()});
    EXPECT_EQ(result.exitCode, 1);
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 100u + 1 + 6);
    EXPECT_EQ(lines[0], Period("2024ORMEK.1") + ": rekord 1: seqNo 0 zamiast 1");
    EXPECT_EQ(lines[99], Period("2024ORMEK.1") + ": rekord 17: entryKind 0 spoza {2, 3}");
    EXPECT_EQ(lines[100],
              Period("2024ORMEK.1") + ": pominięto dalszych problemów z rekordami: 200");
    EXPECT_EQ(lines[101], Period("2024ORMEK.2") + ": rekord 1: seqNo 0 zamiast 1");
}

TEST_F(ShowVerifyCommandTest, TableWidthsComeFromTheFirstThousandRows) {
    LedgerEntry entry = testing::BookedEntry(1, 2024, 3);
    WriteFileBytes(Period("2024ORMEK.3"), testing::RecordBytes(entry));
    // Every column as wide as its title or its widest cell, two spaces apart, no trailing ones.
    EXPECT_EQ(Cli({"show", Period("2024ORMEK.3")}).out,
              "poz.  seqNo  data        numer      NIP          firma      rodzaj  kod  netto1   "
              "vat1  nettoKpr\n"
              "   1      1  2024-03-15  FV 1/2024  DE123456789  ąćę Firma       3   10     0.1  "
              "-23.5    123.45\n");

    std::string bytes;
    for (std::int32_t slot = 1; slot <= 1003; ++slot) {
        entry = testing::BookedEntry(slot, 2024, 3);
        entry.firmName.Assign(slot == 1002 ? "Firma o nazwie dluzszej" : "Firma");
        bytes += testing::RecordBytes(entry);
    }
    WriteFileBytes(Period("2024ORMEK.3"), bytes);
    const auto table = Cli({"show", Period("2024ORMEK.3")});
    ASSERT_EQ(table.exitCode, 0);
    const std::vector<std::string> rows = Lines(table.out);
    ASSERT_EQ(rows.size(), 1u + 1003);
    // The first thousand rows set the widths; a longer cell after them widens its column from
    // its row on, so that the rows after it align with it.
    EXPECT_EQ(rows[1000].size(), rows[1].size());
    EXPECT_EQ(rows[1001].size(), rows[1].size());
    EXPECT_EQ(rows[1002].size(), rows[1].size() + std::string(" o nazwie dluzszej").size());
    EXPECT_EQ(rows[1003].size(), rows[1002].size());
    EXPECT_NE(rows[1003].find("Firma" + std::string(18 + 2 + 5, ' ') + "3"), std::string::npos)
        << rows[1003];
}

}  // namespace
}  // namespace trevo
