// The re-import guard of a writing run: what it reads about the documents booked before and
// what the run then writes lie under one lock between converter runs, so no other run or undo
// comes between them; a file another writer changed while the run had it closed is read again
// or refused, and a file that differs from what a question was answered on is refused.

#include <gtest/gtest.h>

#include <functional>

#include "engine/exportfile/ExportColumns.h"
#include "engine/ledger/PeriodFiles.h"
#include "engine/run/ConversionRun.h"
#include "engine/summary/RunSummary.h"
#include "testing/ExportLineBuilder.h"
#include "testing/FakeClock.h"
#include "testing/MemoryTraceSink.h"
#include "testing/TempDirectory.h"

namespace trevo {
namespace {

namespace col = export_columns;
using testing::ReadFileBytes;
using testing::Win1250;
using testing::WriteFileBytes;

// Calls `before` with the number of the line about to be read.
class BeforeLine final : public RunProgress {
  public:
    explicit BeforeLine(std::function<void(int)> before) : before_(std::move(before)) {}
    void LineDone(std::uint64_t, std::uint64_t, std::int64_t) override { before_(++line_); }

  private:
    std::function<void(int)> before_;
    int line_ = 0;
};

class ReimportGuardTest : public ::testing::Test {
  protected:
    RunResult Run(const std::string& exportBytes, bool skip, RunProgress* progress = nullptr,
                  const PeriodFileStates* asAsked = nullptr, bool checkOnly = false) {
        WriteFileBytes(exports_.File("eksp2kap.kpm"), exportBytes);
        RunInputs inputs;
        inputs.exportPath = exports_.File("eksp2kap.kpm");
        inputs.ledgerDir = Dir();
        inputs.skipBooked = skip;
        inputs.checkOnly = checkOnly;
        trace_.Clear();
        RunServices services{trace_, LocalFileSystem(), clock_, money_, progress};
        services.summary = &summary_;
        services.bookedAsAsked = asAsked;
        return RunConversion(inputs, services);
    }
    std::string Dir() const { return ledger_.Path().string(); }
    std::string January() const { return PeriodFileName(Dir(), 2024, 1); }
    std::size_t Records() const { return ReadFileBytes(January()).size() / 400; }
    bool Traced(const std::string& text) const {
        for (const std::string& line : trace_.Lines()) {
            if (line.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
    std::string HeldLine() const {
        return Win1250("Plik ") + January() + Win1250(" jest zapisywany przez inną konwersję !");
    }

    testing::TempDirectory exports_;
    testing::TempDirectory ledger_;
    testing::MemoryTraceSink trace_;
    testing::FakeClock clock_;
    CurrencyFormat money_ = CurrencyFormat::Polish();
    RunSummary summary_;
};

// Another run (or an undo) holds the file: the guard does not read past its lock, so nothing
// is skipped on a reading another writer may be about to change.
TEST_F(ReimportGuardTest, ARunThatWouldSkipEverythingStillTakesTheLock) {
    const std::string exportBytes =
        testing::BookableDocument("20240115", "A") + testing::BookableDocument("20240116", "B");
    ASSERT_EQ(Run(exportBytes, false).outcome, RunOutcome::Completed);
    const std::string before = ReadFileBytes(January());
    const auto held = LocalFileSystem().LockRecordFile(January());
    ASSERT_TRUE(held);
    const RunResult result = Run(exportBytes, true);
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_TRUE(Traced(HeldLine()));
    EXPECT_FALSE(Traced(Win1250("pominięty")));
    EXPECT_EQ(summary_.alreadyBookedCount, 0);
    EXPECT_EQ(ReadFileBytes(January()), before);
}

// Between two visits of a month the run has its file closed: what another writer appended
// then counts as booked, and a file that lost records (an undo) stops the run.
TEST_F(ReimportGuardTest, AFileChangedWhileTheRunHadItClosedIsReadAgainOrRefused) {
    const std::string exportBytes = testing::BookableDocument("20240115", "A") +
                                    testing::BookableDocument("20240215", "X") +
                                    testing::BookableDocument("20240116", "B");
    testing::TempDirectory other;
    {
        // B booked by another run while this one books February.
        BeforeLine appendB([&](int line) {
            if (line == 3) {
                RunInputs inputs;
                WriteFileBytes(other.File("b.kpm"), testing::BookableDocument("20240116", "B"));
                inputs.exportPath = other.File("b.kpm");
                inputs.ledgerDir = Dir();
                testing::MemoryTraceSink otherTrace;
                ASSERT_EQ(
                    RunConversion(inputs, {otherTrace, LocalFileSystem(), clock_, money_}).outcome,
                    RunOutcome::Completed);
            }
        });
        const RunResult result = Run(exportBytes, true, &appendB);
        EXPECT_EQ(result.outcome, RunOutcome::Completed);
        EXPECT_EQ(Records(), 2u);  // A, and B once
        ASSERT_EQ(summary_.alreadyBooked.size(), 1u);
        EXPECT_EQ(summary_.alreadyBooked[0].document.docNumber, "B");
        EXPECT_EQ(summary_.alreadyBooked[0].slot, 2u);
    }
    std::filesystem::remove_all(Dir());
    std::filesystem::create_directory(Dir());
    {
        // A undone while this run books February: the guard's reading of January is stale.
        BeforeLine truncate([&](int line) {
            if (line == 3) {
                std::filesystem::resize_file(January(), 0);
            }
        });
        const RunResult result = Run(exportBytes, true, &truncate);
        EXPECT_EQ(result.outcome, RunOutcome::Stopped);
        EXPECT_TRUE(Traced(HeldLine()));
        EXPECT_EQ(Records(), 0u);
    }
}

// The window asks about booked documents from a check-only reading, then runs: a file that
// changed in between is refused and said so after the run's last line.
TEST_F(ReimportGuardTest, AFileChangedSinceTheQuestionIsRefused) {
    const std::string exportBytes =
        testing::BookableDocument("20240115", "A") + testing::BookableDocument("20240116", "B");
    WriteFileBytes(January(), "");
    ASSERT_EQ(Run(testing::BookableDocument("20240115", "A"), false).outcome,
              RunOutcome::Completed);
    const RunResult asked = Run(exportBytes, false, nullptr, nullptr, true);
    ASSERT_EQ(asked.periodFilesRead.size(), 1u);
    EXPECT_EQ(asked.periodFilesRead.at(January()).records, 1u);

    // Unchanged: the run goes on as asked.
    EXPECT_EQ(Run(exportBytes, true, nullptr, &asked.periodFilesRead).outcome,
              RunOutcome::Completed);
    EXPECT_EQ(Records(), 2u);  // B booked, A skipped

    // B booked meanwhile: refused before anything is written.
    const std::string now = ReadFileBytes(January());
    const RunResult refused = Run(exportBytes, false, nullptr, &asked.periodFilesRead);
    EXPECT_EQ(refused.outcome, RunOutcome::Stopped);
    EXPECT_EQ(refused.changedSinceAsked, January());
    EXPECT_EQ(ReadFileBytes(January()), now);
    EXPECT_EQ(trace_.Lines().back(),
              Win1250("Plik ") + January() +
                  Win1250(" zmienił się od pytania o dokumenty już zaksięgowane - konwersję "
                          "zatrzymano"));
}

}  // namespace
}  // namespace trevo
