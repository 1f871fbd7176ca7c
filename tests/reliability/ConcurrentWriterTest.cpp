// A second process appends whole records to the period file a run is writing, by the same
// protocol (size, position at the last whole record, one 400-byte write).
//
// What holds: every 400-byte slot is one whole record of one writer, and every entry of the run
// that is in the file carries the seqNo of its slot. What does not: both writers may take the
// same size and write the same slot, and the later write replaces the earlier record. Neither
// side takes a lock (the ledger program takes none either), so such losses are counted and
// reported here, not ruled out. Wholeness rests on the system applying each write to a regular
// file as one unit against other writes to it, as Linux does on local file systems; POSIX does
// not promise it, and network file systems may not give it.

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <iostream>
#include <set>

#include "engine/ledger/LedgerEntryLayout.h"
#include "tests/reliability/LedgerRun.h"

extern char** environ;

namespace trevo::reliability {
namespace {

constexpr std::size_t kRunDocuments = 20'000;
constexpr long kOtherRecords = 20'000;
constexpr std::uint8_t kMarker = 0xA5;

std::uint32_t Uint32At(const std::string& bytes, std::size_t offset) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// "D<n>" in the record's document number gives the run's document index n - 1.
std::optional<std::size_t> RunDocumentIndex(const std::string& record) {
    const std::size_t length = static_cast<unsigned char>(record[ledger_layout::kDocNumber]);
    const std::string number = record.substr(ledger_layout::kDocNumber + 1, length);
    if (number.size() < 2 || number[0] != 'D' || length > 22) {
        return std::nullopt;
    }
    return std::stoul(number.substr(1)) - 1;
}

TEST(ConcurrentWriterTest, EverySlotIsWholeAndEveryRunEntryCarriesItsSlot) {
    testing::TempDirectory root;
    std::string exportBytes;
    for (std::size_t i = 1; i <= kRunDocuments; ++i) {
        exportBytes += Document("20240115", "D" + std::to_string(i)) + "\r\n";
    }
    const std::string exportPath = root.File("eksp2kap.kpm");
    testing::WriteFileBytes(exportPath, exportBytes);
    const std::string ledger = root.File("ledger");
    const std::string reference = root.File("reference");
    std::filesystem::create_directory(ledger);
    std::filesystem::create_directory(reference);
    ASSERT_EQ(RunOnce(exportPath, reference, LocalFileSystem()).result.outcome,
              RunOutcome::Completed);
    const std::string expected = testing::ReadFileBytes(PeriodFileName(reference, 2024, 1));
    ASSERT_EQ(expected.size(), kRunDocuments * 400);

    const std::string file = PeriodFileName(ledger, 2024, 1);
    const std::string program = TREVO_RECORD_APPENDER_PATH;
    const std::string count = std::to_string(kOtherRecords);
    const std::string marker = std::to_string(kMarker);
    char* const argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(file.c_str()),
                          const_cast<char*>(count.c_str()), const_cast<char*>(marker.c_str()),
                          nullptr};
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    const RunRecord run = RunOnce(exportPath, ledger, LocalFileSystem());
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(run.result.outcome, RunOutcome::Completed);
    EXPECT_EQ(run.result.documentCount, static_cast<std::int64_t>(kRunDocuments));

    const std::string bytes = testing::ReadFileBytes(file);
    ASSERT_EQ(bytes.size() % 400, 0u) << "a record is cut";
    std::set<std::size_t> runFound;
    std::set<std::uint32_t> otherFound;
    std::optional<std::size_t> lastRun;
    std::optional<std::uint32_t> lastOther;
    std::size_t turns = 0;  // slots whose writer differs from the previous slot's
    bool previousWasRun = true;
    for (std::size_t slot = 0; slot < bytes.size() / 400; ++slot) {
        SCOPED_TRACE("slot " + std::to_string(slot));
        std::string record = bytes.substr(slot * 400, 400);
        ASSERT_EQ(SeqNoAt(record, 0), static_cast<std::int32_t>(slot + 1));
        if (std::all_of(record.begin() + 8, record.end(),
                        [](char c) { return static_cast<std::uint8_t>(c) == kMarker; })) {
            const std::uint32_t index = Uint32At(record, 4);
            ASSERT_LT(index, static_cast<std::uint32_t>(kOtherRecords));
            ASSERT_TRUE(otherFound.insert(index).second) << "a record twice";
            ASSERT_TRUE(!lastOther || index > *lastOther) << "records out of order";
            lastOther = index;
            turns += previousWasRun && slot > 0 ? 1 : 0;
            previousWasRun = false;
            continue;
        }
        const auto index = RunDocumentIndex(record);
        ASSERT_TRUE(index && *index < kRunDocuments) << "neither writer's record: torn";
        std::string own = expected.substr(*index * 400, 400);
        SetSeqNo(own, 0, static_cast<std::int32_t>(slot + 1));
        ASSERT_EQ(record, own) << "the run's record is not whole";
        ASSERT_TRUE(runFound.insert(*index).second) << "a record twice";
        ASSERT_TRUE(!lastRun || *index > *lastRun) << "records out of order";
        lastRun = index;
        turns += previousWasRun ? 0 : 1;
        previousWasRun = true;
    }
    const std::size_t runLost = kRunDocuments - runFound.size();
    const std::size_t otherLost = static_cast<std::size_t>(kOtherRecords) - otherFound.size();
    // How often the writers took turns shows how much they overlapped on this machine.
    std::cout << "slots " << bytes.size() / 400 << ", writers took turns " << turns
              << " times, run entries lost " << runLost << ", other writer's records lost "
              << otherLost << '\n';
    ::testing::Test::RecordProperty("runEntriesLost", static_cast<int>(runLost));
    ::testing::Test::RecordProperty("otherRecordsLost", static_cast<int>(otherLost));
}

}  // namespace
}  // namespace trevo::reliability
