// The command line on a terminal (a pseudo-terminal here): control characters from an export
// are shown, not obeyed; every trace line is out before the next record is booked; Ctrl+C
// ends the run cleanly. The same bytes to a pipe stay as they are.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "engine/exportfile/ExportColumns.h"
#include "engine/ledger/PeriodFiles.h"
#include "engine/text/Win1250.h"
#include "testing/BookedEntry.h"
#include "testing/ProcessRunner.h"
#include "tests/reliability/CliChild.h"
#include "tests/reliability/LedgerRun.h"

namespace trevo::reliability {
namespace {

namespace fs = std::filesystem;

std::size_t Occurrences(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

class TerminalTraceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!IsTerminalAvailable()) {
            GTEST_SKIP() << "no pseudo-terminal here";
        }
        fs::create_directory(Ledger());
    }

    std::string Ledger() const { return root_.File("FIRMA1"); }
    std::string January() const { return PeriodFileName(Ledger(), 2024, 1); }
    std::string WriteExport(std::size_t documents) const {
        std::string bytes;
        for (std::size_t i = 1; i <= documents; ++i) {
            bytes += Document("20240115", "D" + std::to_string(i)) + "\r\n";
        }
        const std::string path = root_.File("eksp2kap.kpm");
        testing::WriteFileBytes(path, bytes);
        return path;
    }
    // Waits until the run has booked at least one record.
    bool WaitForFirstRecord() const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            std::error_code ignored;
            if (fs::file_size(January(), ignored) >= 400 && !ignored) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return false;
    }

    testing::TempDirectory root_;
};

TEST_F(TerminalTraceTest, ControlCharactersAreShownNotObeyed) {
    // ESC [2J clears a screen, BEL rings, BS steps back, 0x81 is a C1 control once decoded.
    const std::string company = std::string("Firma\x1b[2J\x07\x08") + "\x81" + "Koniec";
    const std::string line = testing::ExportLineBuilder()
                                 .Date("20240115")
                                 .Number("FV 1")
                                 .Company(company)
                                 .Amount(export_columns::kNettoKpr, "1")
                                 .Amount(export_columns::kNetto1, "1")
                                 .Line();
    const std::string exportPath = root_.File("eksp2kap.kpm");
    testing::WriteFileBytes(exportPath, line + "\r\n");

    CliOptions options;
    options.out = Stdout::Terminal;
    CliChild child({"convert", "--check", exportPath}, options);
    const std::string screen = child.ReadToEnd();
    EXPECT_EQ(child.Wait(), 0);
    EXPECT_NE(screen.find("Firma^[[2J^G^H\xEF\xBF\xBDKoniec"), std::string::npos) << screen;
    for (const char raw : {'\x1b', '\x07', '\x08'}) {
        EXPECT_EQ(screen.find(raw), std::string::npos);
    }
    EXPECT_EQ(screen.find("\xC2\x81"), std::string::npos);
    EXPECT_NE(screen.find("Osiągnięto fizyczny koniec pliku \n"), std::string::npos);

    // To a pipe the trace stays byte for byte.
    const auto piped = testing::RunProcess(TREVO_CLI_PATH, {"convert", "--check", exportPath});
    EXPECT_NE(piped.out.find("Firma\x1b[2J\x07\x08\xC2\x81Koniec"), std::string::npos);
}

// Killed outright, a run leaves on the terminal the trace of every record it booked: nothing
// waits in a buffer.
TEST_F(TerminalTraceTest, TheTraceKeepsUpWithTheRecordsBooked) {
    CliOptions options;
    options.out = Stdout::Terminal;
    CliChild child({"convert", WriteExport(3000), Ledger()}, options);
    ASSERT_TRUE(WaitForFirstRecord());
    ASSERT_EQ(::kill(child.Pid(), SIGKILL), 0);
    EXPECT_EQ(child.Wait(), 128 + SIGKILL);
    const std::string screen = child.ReadToEnd();
    const std::size_t booked = testing::ReadFileBytes(January()).size() / 400;
    EXPECT_LE(booked, Occurrences(screen, "* Dokument nr:"));
}

TEST_F(TerminalTraceTest, CtrlCEndsTheRunWithEveryBookedDocumentReported) {
    CliOptions options;
    options.out = Stdout::Terminal;
    CliChild child({"convert", WriteExport(3000), Ledger()}, options);
    ASSERT_TRUE(WaitForFirstRecord());
    ASSERT_EQ(::write(child.Out(), "\x03", 1), 1);  // the terminal sends SIGINT
    const std::string screen = child.ReadToEnd();
    EXPECT_EQ(child.Wait(), 130);
    const std::size_t booked = testing::ReadFileBytes(January()).size() / 400;
    ASSERT_LT(booked, 3000u);
    EXPECT_EQ(Occurrences(screen, "* Dokument nr:"), booked);
    EXPECT_TRUE(screen.ends_with(
        text::Win1250ToUtf8(FormatMessage(" *** Konwersja przerwana, zapisano dokumentów: %d"_w1250,
                                          {static_cast<std::int64_t>(booked)})) +
        "\n"))
        << screen.substr(screen.size() > 300 ? screen.size() - 300 : 0);
}

// show and verify print bytes of a record and of a path: on a terminal they are shown, and to a
// pipe they stay as they are.
TEST_F(TerminalTraceTest, ShowAndVerifyShowRecordBytesNotObeyThem) {
    const std::string controls = "\x1b[2J\x07\x08\r\n\x7f";
    LedgerEntry entry = testing::BookedEntry(1, 2024, 1);
    entry.firmName.Assign("Firma" + controls + "Koniec");
    entry.remark.Assign("\x1b[5m");
    const std::string ledger = root_.File("FIRMA\x1b[7m");
    fs::create_directory(ledger);
    testing::WriteFileBytes(PeriodFileName(ledger, 2024, 1), testing::RecordBytes(entry));
    const std::string period = PeriodFileName(ledger, 2024, 1);

    const auto onTerminal = [](const std::vector<std::string>& args) {
        CliOptions options;
        options.out = Stdout::Terminal;
        CliChild child(args, options);
        std::string screen = child.ReadToEnd();
        const int exitCode = child.Wait();
        for (const char raw : {'\x1b', '\x07', '\x08', '\r', '\x7f'}) {
            EXPECT_EQ(screen.find(raw), std::string::npos) << screen;
        }
        return std::pair{exitCode, screen};
    };
    const std::string shown = "Firma^[[2J^G^H^M^J^?Koniec";
    const auto [tableExit, table] = onTerminal({"show", period});
    EXPECT_EQ(tableExit, 0);
    EXPECT_NE(table.find("  " + shown + "  "), std::string::npos) << table;
    EXPECT_EQ(Occurrences(table, "\n"), 2u);  // the titles and the record
    const auto [csvExit, csv] = onTerminal({"show", "--format", "csv", period});
    EXPECT_EQ(csvExit, 0);
    EXPECT_NE(csv.find(",\"" + shown + "\","), std::string::npos) << csv;  // quoted as ever
    EXPECT_EQ(Occurrences(csv, "\n"), 2u);
    const auto [jsonExit, json] = onTerminal({"show", "--format", "json", period});
    EXPECT_EQ(jsonExit, 0);
    EXPECT_NE(json.find("\"Firma\\u001b[2J\\u0007\\u0008\\r\\n\\u007fKoniec\""), std::string::npos)
        << json;
    const auto [verifyExit, problems] = onTerminal({"verify", ledger});
    EXPECT_EQ(verifyExit, 1);
    EXPECT_EQ(problems, root_.File("FIRMA^[[7m/2024ORMEK.1") +
                            ": rekord 1: remark \"^[[5m\" - dozwolony pusty albo \"!\"\n");

    const auto piped = [](const std::vector<std::string>& args) {
        return testing::RunProcess(TREVO_CLI_PATH, args).out;
    };
    EXPECT_NE(piped({"show", period}).find("  Firma" + controls + "Koniec  "), std::string::npos);
    EXPECT_NE(piped({"show", "--format", "csv", period}).find(",\"Firma" + controls + "Koniec\","),
              std::string::npos);
    EXPECT_EQ(piped({"verify", ledger}),
              period + ": rekord 1: remark \"\x1b[5m\" - dozwolony pusty albo \"!\"\n");
}

}  // namespace
}  // namespace trevo::reliability
