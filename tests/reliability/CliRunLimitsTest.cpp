// The command line as a whole process against the limits and the other runs around it: a file
// size limit, and a second run or an undo of the same ledger started at the same moment as a
// re-import that skips documents booked before.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <unistd.h>

#include <csignal>
#include <map>

#include "engine/ledger/LedgerEntryLayout.h"
#include "engine/text/Win1250.h"
#include "testing/ProcessRunner.h"
#include "tests/reliability/ChildProcess.h"
#include "tests/reliability/CliChild.h"
#include "tests/reliability/LedgerRun.h"

namespace trevo::reliability {
namespace {

namespace fs = std::filesystem;

std::string Utf8(const std::string& win1250) {
    return text::Win1250ToUtf8(win1250);
}

class CliRunLimitsTest : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directory(Ledger()); }

    std::string Ledger() const { return root_.File("FIRMA1"); }
    std::string January() const { return PeriodFileName(Ledger(), 2024, 1); }
    std::string WriteExport(std::size_t documents, const std::string& name = "eksp2kap.kpm") const {
        std::string bytes;
        for (std::size_t i = 1; i <= documents; ++i) {
            bytes += Document("20240115", "D" + std::to_string(i)) + "\r\n";
        }
        const std::string path = root_.File(name);
        testing::WriteFileBytes(path, bytes);
        return path;
    }

    testing::TempDirectory root_;
};

// The limit is inherited by the program from a child of the test; SIGXFSZ keeps its default
// action there, as in a shell after `ulimit -f`.
TEST_F(CliRunLimitsTest, AFileSizeLimitIsAReportedWriteFailureNotAKill) {
    constexpr std::size_t kBefore = 99;
    constexpr rlim_t kLimit = (kBefore + 1) * 400;  // room for exactly one more record
    testing::WriteFileBytes(January(), std::string(kBefore * 400, '\0'));
    const std::string exportPath = WriteExport(5);
    const std::vector<std::string> args{"convert", exportPath, Ledger()};
    const ChildResult child = RunInChild([&](std::string& out) {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{};
        if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return kChildCannotSetUp;
        }
        limit.rlim_cur = kLimit;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return kChildCannotSetUp;
        }
        const auto run = testing::RunProcess(TREVO_CLI_PATH, args, {"LC_ALL=C"});
        AppendBlob(out, std::to_string(run.exitCode));
        AppendBlob(out, run.out);
        return 0;
    });
    if (child.exitCode == kChildCannotSetUp) {
        GTEST_SKIP() << "cannot limit the file size here";
    }
    ASSERT_EQ(child.exitCode, 0);
    BlobReader reader(child.output);
    const std::string exitCode = reader.Blob();
    const std::string trace = reader.Blob();
    EXPECT_EQ(exitCode, "1");
    EXPECT_NE(trace.find(Utf8(AppendFailedLine(January())) + "\n" + Utf8(CountLine(2)) + "\n" +
                         Utf8(kEndLine) + "\n"),
              std::string::npos)
        << trace;
    EXPECT_EQ(testing::ReadFileBytes(January()).size(), kLimit);
    // The run's journal was closed: undo takes the one record back.
    const auto undo = testing::RunProcess(TREVO_CLI_PATH, {"undo", Ledger()}, {"LC_ALL=C"});
    EXPECT_EQ(undo.exitCode, 0) << undo.err;
    EXPECT_EQ(testing::ReadFileBytes(January()), std::string(kBefore * 400, '\0'));
}

// A check-only run that cannot look into the ledger directory says it does not know what the
// period file held (null), not that there was none.
TEST_F(CliRunLimitsTest, ACheckOnlyRunThatCannotLookKnowsNothingOfThePeriodFile) {
    const std::string exportPath = WriteExport(1);
    ASSERT_EQ(testing::RunProcess(TREVO_CLI_PATH, {"convert", exportPath, Ledger()}, {"LC_ALL=C"})
                  .exitCode,
              0);
    fs::permissions(root_.Path(), fs::perms(0755));  // others may pass through
    fs::permissions(exportPath, fs::perms(0644));
    fs::permissions(Ledger(), fs::perms::none);
    const std::vector<std::string> args{"convert", "--check",  "--summary-json",
                                        "-",       exportPath, Ledger()};
    const ChildResult child = RunInChild([&](std::string& out) {
        if (!DropPrivileges()) {
            return kChildCannotSetUp;
        }
        const auto run = testing::RunProcess(TREVO_CLI_PATH, args, {"LC_ALL=C"});
        AppendBlob(out, run.out);
        return run.exitCode;
    });
    fs::permissions(Ledger(), fs::perms(0755));
    if (child.exitCode == kChildCannotSetUp) {
        GTEST_SKIP() << "cannot drop privileges here";
    }
    ASSERT_EQ(child.exitCode, 0);
    BlobReader reader(child.output);
    const std::string out = reader.Blob();
    EXPECT_NE(out.find("\"existedBefore\":null,\"recordsBefore\":null"), std::string::npos) << out;
    EXPECT_NE(out.find("\"alreadyBooked\":[]"), std::string::npos);
}

// How many times each document number stands in the period file.
std::map<std::string, int> Bookings(const std::string& path) {
    std::map<std::string, int> count;
    const std::string bytes = testing::ReadFileBytes(path);
    for (std::size_t at = 0; at + 400 <= bytes.size(); at += 400) {
        const std::size_t number = at + ledger_layout::kDocNumber;
        ++count[bytes.substr(number + 1, static_cast<unsigned char>(bytes[number]))];
    }
    return count;
}

// A re-import that skips booked documents, started a moment after a run of the same export or
// together with an undo of it: every document ends up in the ledger exactly once, or the
// re-import is turned away by the lock and books nothing. Several delays, each a real race.
TEST_F(CliRunLimitsTest, AReimportRacingTheFirstRunOrAnUndoBooksEachDocumentOnce) {
    constexpr std::size_t kDocuments = 4000;
    const std::string exportPath = WriteExport(kDocuments);
    const std::vector<std::string> book{"convert", exportPath, Ledger()};
    const std::vector<std::string> reimport{"convert", "--skip-booked", exportPath, Ledger()};
    const auto expectOnce = [&](const std::string& what) {
        const auto bookings = Bookings(January());
        EXPECT_EQ(bookings.size(), kDocuments) << what;
        for (const auto& [number, times] : bookings) {
            ASSERT_EQ(times, 1) << what << ": " << number;
        }
    };
    for (const int delayMs : {0, 2, 5, 10, 20, 40}) {
        const std::string what = "after " + std::to_string(delayMs) + " ms";
        fs::remove_all(Ledger());
        fs::create_directory(Ledger());
        CliChild first(book, {});
        ::usleep(static_cast<useconds_t>(delayMs) * 1000);
        CliChild second(reimport, {});
        first.ReadToEnd();
        const std::string secondTrace = second.ReadToEnd();
        const int firstExit = first.Wait();
        const int secondExit = second.Wait();
        EXPECT_TRUE(firstExit == 0 || secondExit == 0) << what;
        if (secondExit != 0) {
            EXPECT_NE(secondTrace.find("jest zapisywany przez inną konwersję !"), std::string::npos)
                << what;
        }
        expectOnce(what);
    }
    for (const int delayMs : {0, 2, 5, 10, 20}) {
        const std::string what = "undo, after " + std::to_string(delayMs) + " ms";
        fs::remove_all(Ledger());
        fs::create_directory(Ledger());
        ASSERT_EQ(testing::RunProcess(TREVO_CLI_PATH, book, {"LC_ALL=C"}).exitCode, 0);
        CliChild undo({"undo", Ledger()}, {});
        ::usleep(static_cast<useconds_t>(delayMs) * 1000);
        CliChild second(reimport, {});
        undo.ReadToEnd();
        second.ReadToEnd();
        undo.Wait();
        const int secondExit = second.Wait();
        const auto bookings = Bookings(January());
        if (secondExit == 0) {
            expectOnce(what);
        } else {
            // Turned away while the undo held the file: it booked nothing there.
            EXPECT_EQ(secondExit, 1) << what;
            EXPECT_TRUE(bookings.empty() || bookings.size() == kDocuments) << what;
            for (const auto& [number, times] : bookings) {
                ASSERT_EQ(times, 1) << what << ": " << number;
            }
        }
    }
}

}  // namespace
}  // namespace trevo::reliability
