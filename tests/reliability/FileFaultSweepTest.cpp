// Sweeps one failing file operation across every step of a run over several months: each failure
// is one trace line and stops the run, the records before it stay byte for byte, a half-written
// record is always reported, and the next run appends over it at its record offset.

#include <gtest/gtest.h>

#include <algorithm>

#include "testing/FaultInjectingFileSystem.h"
#include "tests/reliability/LedgerRun.h"

namespace trevo::reliability {
namespace {

using testing::FileOperation;

// The months of the accepted documents, in export order: January's file is reopened twice and
// February's once, over two records and some stray bytes left by an earlier program.
const std::vector<unsigned> kMonths = {1, 1, 1, 2, 2, 1, 3, 3, 3, 2};
constexpr std::size_t kReadSize = 700;  // reads end inside lines

std::string ExportBytes() {
    const std::vector<std::pair<std::string, std::string>> documents = {
        {"20240105", "J1"}, {"20240106", "J2"}, {"20240107", "J3"}, {"20240201", "F1"},
        {"20240202", "F2"}, {"20240110", "J4"}, {"20240301", "M1"}, {"20240302", "M2"},
        {"20240303", "M3"}, {"20240215", "F3"}};
    std::string bytes;
    for (std::size_t i = 0; i < documents.size(); ++i) {
        bytes += Document(documents[i].first, documents[i].second) + "\r\n";
        if (i == 4) {
            std::string rejected = Document("20240203", "R");
            rejected[270] = '2';  // document type 2
            bytes += rejected + "\r\n" + std::string(509, ' ') + "\n";
        }
    }
    return bytes;
}

struct Sweep {
    FileOperation operation;
    bool shortWrite;
    const char* name;
};

class FileFaultSweepTest : public ::testing::TestWithParam<Sweep> {
  protected:
    void SetUp() override { testing::WriteFileBytes(ExportPath(), ExportBytes()); }

    std::string ExportPath() const { return exports_.File("eksp2kap.kpm"); }
    static std::string FileName(unsigned month) {
        return std::to_string(2024) + "ORMEK." + std::to_string(month);
    }

    // February's file holds two whole records and 150 stray bytes before every run.
    Ledger Initial() const {
        return {{FileName(2), std::string(800, 'Z') + std::string(150, 'Y')}};
    }
    void Prepare(const std::filesystem::path& dir) const {
        for (const auto& [name, bytes] : Initial()) {
            testing::WriteFileBytes((dir / name).string(), bytes);
        }
    }

    // Checks the failing run's trace against the fault-free one; returns how many records the
    // run must have appended before it stopped.
    std::size_t CheckTrace(const RunRecord& failing, const RunRecord& reference,
                           const std::string& dir, bool lastClose) const {
        const auto file = [&](unsigned month) { return PeriodFileName(dir, 2024, month); };
        const Lines& t = failing.trace;
        const Lines& r = reference.trace;
        if (lastClose) {
            Lines expected = r;
            expected.push_back(CloseFailedLine(file(kMonths.back())));
            EXPECT_EQ(t, expected);
            EXPECT_EQ(failing.result.outcome, RunOutcome::Completed);
            EXPECT_TRUE(failing.result.closeFailed);
            return kMonths.size();
        }
        EXPECT_EQ(failing.result.outcome, RunOutcome::Stopped);
        const auto split = std::mismatch(t.begin(), t.end(), r.begin(), r.end()).first;
        const auto documents = std::count_if(t.begin(), split, [](const std::string& line) {
            return line.rfind("* Dokument nr:", 0) == 0;
        });
        const Lines tail(split, t.end());
        const auto d = static_cast<std::size_t>(documents);
        switch (GetParam().operation) {
            case FileOperation::Read:
                EXPECT_EQ(tail, (Lines{kReadFailedLine, CountLine(documents), kEndLine}));
                return d;
            case FileOperation::Open:
            case FileOperation::Lock:
                EXPECT_EQ(tail, (Lines{OpenFailedLine(file(kMonths.at(d - 1))), kPeriodFailedLine,
                                       CountLine(documents), kEndLine}));
                return d - 1;
            case FileOperation::Close:
                EXPECT_EQ(tail, (Lines{CloseFailedLine(file(kMonths.at(d - 2))), kPeriodFailedLine,
                                       CountLine(documents), kEndLine}));
                return d - 1;
            default:
                EXPECT_EQ(tail, (Lines{AppendFailedLine(file(kMonths.at(d - 1))),
                                       CountLine(documents), kEndLine}));
                return d - 1;
        }
    }

    // Whole records are the fault-free run's, byte for byte; bytes after the last whole record
    // are either left from before or the start of the record that failed, which was reported.
    void CheckFiles(const Ledger& after, const Ledger& reference, const Lines& trace,
                    const std::string& dir, std::size_t appended) const {
        const Ledger initial = Initial();
        std::size_t records = 0;
        for (const auto& [name, bytes] : after) {
            SCOPED_TRACE(name);
            ASSERT_TRUE(reference.count(name));
            const std::string& f = reference.at(name);
            const std::string before = initial.count(name) ? initial.at(name) : std::string();
            const std::size_t whole = bytes.size() / 400;
            records += whole - before.size() / 400;
            ASSERT_LE(bytes.size(), std::max(f.size(), before.size()));
            EXPECT_EQ(bytes.substr(0, whole * 400), f.substr(0, whole * 400));
            bool written = false;
            for (std::size_t i = whole * 400; i < bytes.size(); ++i) {
                const bool old = i < before.size() && bytes[i] == before[i];
                ASSERT_TRUE(old || bytes[i] == f[i]) << "byte " << i;
                written = written || !old;
            }
            if (written) {
                const std::string report =
                    AppendFailedLine((std::filesystem::path(dir) / name).string());
                EXPECT_NE(std::find(trace.begin(), trace.end(), report), trace.end())
                    << "a half-written record was not reported";
            }
        }
        EXPECT_EQ(records, appended);
    }

    // The next run appends every document after the whole records, over any stray bytes.
    void CheckNextRun(const Ledger& before, const Ledger& reference, const Ledger& after) const {
        const Ledger initial = Initial();
        for (const auto& [name, f] : reference) {
            SCOPED_TRACE(name);
            const std::size_t first = initial.count(name) ? initial.at(name).size() / 400 : 0;
            const std::size_t whole = before.count(name) ? before.at(name).size() / 400 : 0;
            std::string expected = before.count(name) ? before.at(name).substr(0, whole * 400) : "";
            for (std::size_t record = first; record < f.size() / 400; ++record) {
                expected += f.substr(record * 400, 400);
                SetSeqNo(expected, expected.size() / 400 - 1,
                         static_cast<std::int32_t>(expected.size() / 400));
            }
            ASSERT_TRUE(after.count(name));
            EXPECT_EQ(after.at(name), expected);
        }
    }

    testing::TempDirectory exports_;
};

TEST_P(FileFaultSweepTest, EveryFailurePointIsReportedOnceAndKeepsWholeRecords) {
    const Sweep sweep = GetParam();
    testing::TempDirectory referenceDir;
    Prepare(referenceDir.Path());
    testing::FaultInjectingFileSystem counting(LocalFileSystem());
    counting.LimitReadSize(kReadSize);
    const RunRecord reference = RunOnce(ExportPath(), referenceDir.Path().string(), counting);
    ASSERT_EQ(reference.result.outcome, RunOutcome::Completed);
    ASSERT_EQ(reference.result.documentCount, static_cast<std::int64_t>(kMonths.size()));
    const Ledger referenceFiles = ReadLedger(referenceDir.Path());
    const int operations = counting.Done(sweep.operation);
    ASSERT_GT(operations, 1);

    for (int k = 1; k <= operations; ++k) {
        SCOPED_TRACE("failing " + std::string(sweep.name) + " number " + std::to_string(k));
        testing::TempDirectory dir;
        Prepare(dir.Path());
        const std::string ledgerDir = dir.Path().string();
        testing::FaultInjectingFileSystem faults(LocalFileSystem());
        faults.LimitReadSize(kReadSize);
        const std::size_t partial = sweep.shortWrite ? 1 + (k * 97) % 399 : 0;
        faults.FailAt(sweep.operation, k, partial);
        const RunRecord failing = RunOnce(ExportPath(), ledgerDir, faults);

        const bool lastClose = sweep.operation == FileOperation::Close && k == operations;
        const std::size_t appended = CheckTrace(failing, reference, ledgerDir, lastClose);
        const Ledger afterFailure = ReadLedger(dir.Path());
        CheckFiles(afterFailure, referenceFiles, failing.trace, ledgerDir, appended);

        const RunRecord next = RunOnce(ExportPath(), ledgerDir, LocalFileSystem());
        ASSERT_EQ(next.result.outcome, RunOutcome::Completed);
        CheckNextRun(afterFailure, referenceFiles, ReadLedger(dir.Path()));
    }
}

INSTANTIATE_TEST_SUITE_P(EachOperation, FileFaultSweepTest,
                         ::testing::Values(Sweep{FileOperation::Open, false, "Open"},
                                           Sweep{FileOperation::Lock, false, "Lock"},
                                           Sweep{FileOperation::Size, false, "Size"},
                                           Sweep{FileOperation::Seek, false, "Seek"},
                                           Sweep{FileOperation::Write, false, "Write"},
                                           Sweep{FileOperation::Write, true, "ShortWrite"},
                                           Sweep{FileOperation::Close, false, "Close"},
                                           Sweep{FileOperation::Read, false, "Read"}),
                         [](const ::testing::TestParamInfo<Sweep>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace trevo::reliability
