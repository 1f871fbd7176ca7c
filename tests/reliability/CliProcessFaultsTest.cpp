// The command line as a whole process, started and treated as a careless script, a service
// manager or a second user might: standard descriptors closed, its output pipe closed early,
// signals, its period file renamed or its export file changed under it, a second converter on
// the same ledger. Each ends as a clear failure or a sound result, with every booked record in
// the period file it was reported for.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <map>
#include <tuple>

#include "engine/ledger/LedgerEntryLayout.h"
#include "engine/text/Win1250.h"
#include "testing/ProcessRunner.h"
#include "tests/reliability/CliChild.h"
#include "tests/reliability/LedgerRun.h"

namespace trevo::reliability {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kDocuments = 3000;  // a trace of far more than one pipe's worth

std::string Utf8(const std::string& win1250) {
    return text::Win1250ToUtf8(win1250);
}

std::size_t Occurrences(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

std::string LastLine(const std::string& text) {
    const std::string trimmed = text.ends_with('\n') ? text.substr(0, text.size() - 1) : text;
    return trimmed.substr(trimmed.rfind('\n') + 1);
}

class CliProcessFaultsTest : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directory(Ledger()); }

    std::string Ledger() const { return root_.File("FIRMA1"); }
    std::string January() const { return PeriodFileName(Ledger(), 2024, 1); }
    std::string WriteExport(std::size_t documents, const std::string& prefix = "D",
                            const std::string& name = "eksp2kap.kpm") const {
        std::string bytes;
        for (std::size_t i = 1; i <= documents; ++i) {
            bytes += Document("20240115", prefix + std::to_string(i)) + "\r\n";
        }
        const std::string path = root_.File(name);
        testing::WriteFileBytes(path, bytes);
        return path;
    }
    std::vector<std::string> Convert(const std::string& exportPath) const {
        return {"convert", exportPath, Ledger()};
    }

    // The period file holds `records` whole records numbered 1 to `records`, the run's
    // documents in order.
    static void ExpectRecords(const std::string& path, std::size_t records) {
        const std::string bytes = testing::ReadFileBytes(path);
        ASSERT_EQ(bytes.size(), records * 400) << path;
        for (std::size_t slot = 0; slot < records; ++slot) {
            ASSERT_EQ(SeqNoAt(bytes, slot), static_cast<std::int32_t>(slot + 1));
        }
    }

    testing::TempDirectory root_;
};

TEST_F(CliProcessFaultsTest, ClosedStandardDescriptorsTakeNoPeriodFile) {
    const std::string exportPath = WriteExport(kDocuments);
    // stdin and stdout closed, then all three: the first file opened must not become stdout.
    for (const bool closeStderr : {false, true}) {
        SCOPED_TRACE(closeStderr ? "0, 1 and 2 closed" : "0 and 1 closed");
        fs::remove_all(Ledger());
        fs::create_directory(Ledger());
        CliOptions options;
        options.closeStdin = true;
        options.out = Stdout::Closed;
        options.closeStderr = closeStderr;
        CliChild child(Convert(exportPath), options);
        // Booked correctly; the trace could not be written.
        EXPECT_EQ(child.Wait(), 1);
        ExpectRecords(January(), kDocuments);
    }
}

TEST_F(CliProcessFaultsTest, AReaderThatGoesAwayLeavesEveryDocumentBooked) {
    CliOptions options;
    options.out = Stdout::PipeClosed;
    CliChild child(Convert(WriteExport(kDocuments)), options);
    EXPECT_EQ(child.Wait(), 1);  // not killed by SIGPIPE; the trace was not written
    ExpectRecords(January(), kDocuments);
}

TEST_F(CliProcessFaultsTest, StoppingSignalsEndTheRunWithACompleteTrace) {
    const std::string exportPath = WriteExport(kDocuments);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        fs::remove_all(Ledger());
        fs::create_directory(Ledger());
        CliChild child(Convert(exportPath), {});
        ASSERT_TRUE(child.WaitUntilOutputBlocks());
        ASSERT_EQ(::kill(child.Pid(), signal), 0);
        const std::string trace = child.ReadToEnd();
        EXPECT_EQ(child.Wait(), 128 + signal);

        const std::size_t booked = testing::ReadFileBytes(January()).size() / 400;
        ASSERT_GT(booked, 0u);
        ASSERT_LT(booked, kDocuments);
        ExpectRecords(January(), booked);
        // Every booked document is in the trace, and the last line says how many there are.
        EXPECT_EQ(Occurrences(trace, "* Dokument nr:"), booked);
        EXPECT_NE(trace.find(Utf8(CountLine(static_cast<std::int64_t>(booked))) + "\n" +
                             Utf8(kEndLine) + "\n"),
                  std::string::npos);
        EXPECT_EQ(LastLine(trace),
                  Utf8(FormatMessage(" *** Konwersja przerwana, zapisano dokumentów: %d"_w1250,
                                     {static_cast<std::int64_t>(booked)})));
    }
}

TEST_F(CliProcessFaultsTest, AHangupIgnoredAtStartStaysIgnored) {
    CliOptions options;
    options.ignoreHangup = true;  // as under nohup
    CliChild child(Convert(WriteExport(kDocuments)), options);
    ASSERT_TRUE(child.WaitUntilOutputBlocks());
    ASSERT_EQ(::kill(child.Pid(), SIGHUP), 0);
    child.ReadToEnd();
    EXPECT_EQ(child.Wait(), 0);
    ExpectRecords(January(), kDocuments);
}

TEST_F(CliProcessFaultsTest, APeriodFileRenamedDuringTheRunStopsItAtTheNextAppend) {
    CliChild child(Convert(WriteExport(kDocuments)), {});
    ASSERT_TRUE(child.WaitUntilOutputBlocks());
    fs::rename(January(), January() + ".bak");
    testing::WriteFileBytes(January(), "");
    const std::string trace = child.ReadToEnd();
    EXPECT_EQ(child.Wait(), 1);

    const std::size_t booked = testing::ReadFileBytes(January() + ".bak").size() / 400;
    ASSERT_GT(booked, 0u);
    ExpectRecords(January() + ".bak", booked);  // the ones booked before the rename went along
    EXPECT_EQ(testing::ReadFileBytes(January()), "");
    EXPECT_NE(trace.find(Utf8(AppendFailedLine(January())) + "\n" +
                         Utf8(CountLine(static_cast<std::int64_t>(booked + 1))) + "\n"),
              std::string::npos);
}

TEST_F(CliProcessFaultsTest, AnExportThatChangesWhileItIsReadIsNoSuccess) {
    const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> changes = {
        {"cut short", [](const std::string& path) { fs::resize_file(path, 0); }},
        {"rewritten in place",
         [](const std::string& path) {
             std::string bytes = testing::ReadFileBytes(path);
             bytes[bytes.size() - 3] = 'X';
             testing::WriteFileBytes(path, bytes);
         }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        fs::remove_all(Ledger());
        fs::create_directory(Ledger());
        const std::string exportPath = WriteExport(kDocuments);
        // An old time, so that a change within the same clock tick still shows.
        const timespec old[2] = {{1'600'000'000, 0}, {1'600'000'000, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, exportPath.c_str(), old, 0), 0);
        CliChild child(Convert(exportPath), {});
        ASSERT_TRUE(child.WaitUntilOutputBlocks());
        change(exportPath);
        const std::string trace = child.ReadToEnd();
        EXPECT_EQ(child.Wait(), 1);
        EXPECT_EQ(LastLine(trace),
                  Utf8(FormatMessage("Plik epp \"%s\" zmienił się w trakcie odczytu !"_w1250,
                                     {exportPath})));
    }
}

TEST_F(CliProcessFaultsTest, APeriodFileHeldByAnotherRunIsLeftToIt) {
    const std::string before(800, 'Z');
    testing::WriteFileBytes(January(), before);
    const std::string exportPath = WriteExport(5);
    {
        // What another run (or an undo) holds while it writes the file.
        const auto held = LocalFileSystem().LockRecordFile(January());
        ASSERT_TRUE(held);
        const auto run = testing::RunProcess(TREVO_CLI_PATH, Convert(exportPath), {"LC_ALL=C"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(
            run.out.find(Utf8(FormatMessage("Plik %s jest zapisywany przez inną konwersję !"_w1250,
                                            {January()})) +
                         "\n" + Utf8(kPeriodFailedLine) + "\n"),
            std::string::npos);
        EXPECT_EQ(testing::ReadFileBytes(January()), before);
        EXPECT_EQ(LocalFileSystem().LockRecordFile(January()).error(), FileErrc::HeldByAnotherRun);
    }
    const auto after = testing::RunProcess(TREVO_CLI_PATH, Convert(exportPath), {"LC_ALL=C"});
    EXPECT_EQ(after.exitCode, 0);
    EXPECT_EQ(testing::ReadFileBytes(January()).size(), 800u + 5 * 400);
}

// Two runs started together on one period file: one may be turned away, but whatever either
// reports as booked is in the file, whole, once, numbered by its slot.
TEST_F(CliProcessFaultsTest, TwoRunsTogetherLoseNothing) {
    constexpr std::size_t kEach = 20'000;
    const std::string first = WriteExport(kEach, "A", "a.kpm");
    const std::string second = WriteExport(kEach, "B", "b.kpm");
    CliChild a(Convert(first), {});
    CliChild b(Convert(second), {});
    const std::string traceA = a.ReadToEnd();
    const std::string traceB = b.ReadToEnd();
    const int exitA = a.Wait();
    const int exitB = b.Wait();

    const std::string bytes = testing::ReadFileBytes(January());
    ASSERT_EQ(bytes.size() % 400, 0u);
    std::map<char, std::size_t> next{{'A', 1}, {'B', 1}};
    for (std::size_t slot = 0; slot < bytes.size() / 400; ++slot) {
        ASSERT_EQ(SeqNoAt(bytes, slot), static_cast<std::int32_t>(slot + 1));
        const std::size_t at = slot * 400 + ledger_layout::kDocNumber;
        const std::string number = bytes.substr(at + 1, static_cast<unsigned char>(bytes[at]));
        ASSERT_TRUE(number[0] == 'A' || number[0] == 'B') << number;
        ASSERT_EQ(number.substr(1), std::to_string(next[number[0]]++)) << "slot " << slot;
    }
    // A run that was turned away booked all documents before the one it stopped at.
    for (const auto& [writer, trace, exit] :
         {std::tuple{'A', traceA, exitA}, std::tuple{'B', traceB, exitB}}) {
        SCOPED_TRACE(std::string(1, writer));
        const std::size_t booked = next[writer] - 1;
        if (exit == 0) {
            EXPECT_EQ(booked, kEach);
        } else {
            EXPECT_EQ(exit, 1);
            EXPECT_NE(trace.find("jest zapisywany przez inną konwersję !"), std::string::npos);
            EXPECT_NE(trace.find(Utf8(CountLine(static_cast<std::int64_t>(booked + 1)))),
                      std::string::npos);
        }
    }
    EXPECT_TRUE(exitA == 0 || exitB == 0);
}

}  // namespace
}  // namespace trevo::reliability
