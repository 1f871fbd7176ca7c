// Where `convert --summary-json NAME` may write: never over the export, a period file, the
// journal or a read-only file, whatever name leads there; devices and pipes are written, not
// replaced; "-" is standard output after the trace. A refused name books nothing.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "engine/exportfile/ExportColumns.h"
#include "testing/ExportLineBuilder.h"
#include "testing/JsonValue.h"
#include "testing/ProcessRunner.h"
#include "testing/TempDirectory.h"

namespace trevo {
namespace {

namespace col = export_columns;
namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

testing::ProcessResult Cli(const std::vector<std::string>& args) {
    return testing::RunProcess(TREVO_CLI_PATH, args, {"LC_ALL=C"});
}

class SummaryJsonTargetTest : public ::testing::Test {
  protected:
    SummaryJsonTargetTest() {
        fs::create_directories(Ledger());
        WriteFileBytes(Export(), testing::BookableDocument("20241105", "FV 1") +
                                     testing::BookableDocument("20241201", "FV 2"));
        WriteFileBytes(November(), std::string(400, 'N'));
    }
    std::string Export() const { return dir_.File("eksp2kap.kpm"); }
    std::string Ledger() const { return dir_.File("FIRMA1"); }
    std::string November() const { return dir_.File("FIRMA1/2024ORMEK.11"); }
    std::string December() const { return dir_.File("FIRMA1/2024ORMEK.12"); }
    testing::ProcessResult Convert(const std::string& jsonName) const {
        return Cli({"convert", "--summary-json", jsonName, Export(), Ledger()});
    }
    // Refused before the run: usage error, the ledger and the export as they were.
    void ExpectRefused(const std::string& jsonName) const {
        SCOPED_TRACE(jsonName);
        const std::string exportBytes = ReadFileBytes(Export());
        const auto result = Convert(jsonName);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("--summary-json"), std::string::npos) << result.err;
        EXPECT_EQ(ReadFileBytes(November()), std::string(400, 'N'));
        EXPECT_FALSE(fs::exists(December()));
        EXPECT_FALSE(fs::exists(Ledger() + "/trevo2KPR.dziennik"));
        EXPECT_EQ(ReadFileBytes(Export()), exportBytes);
    }
    testing::TempDirectory dir_;
};

TEST_F(SummaryJsonTargetTest, NamesLeadingToTheLedgerOrTheExportAreRefused) {
    ExpectRefused(November());
    ExpectRefused(December());                  // a period file the run would create
    ExpectRefused(Ledger() + "/2024ormek.07");  // as the ledger program could read it
    // Where case is ignored (a shared Windows folder, Windows itself) this takes the journal's
    // name before the run makes the journal: the run could not be undone.
    ExpectRefused(Ledger() + "/TREVO2KPR.DZIENNIK");
    ExpectRefused(Export());
    ExpectRefused(Ledger());
    fs::create_symlink(November(), dir_.File("to-period.json"));
    ExpectRefused(dir_.File("to-period.json"));
    EXPECT_TRUE(fs::is_symlink(dir_.File("to-period.json")));
    fs::create_hard_link(Export(), dir_.File("export-link.json"));
    ExpectRefused(dir_.File("export-link.json"));
    fs::create_hard_link(November(), dir_.File("period-link.json"));
    ExpectRefused(dir_.File("period-link.json"));
    // The ledger directory reached by another name is the same directory.
    fs::create_directory_symlink(Ledger(), dir_.File("same-ledger"));
    ExpectRefused(dir_.File("same-ledger/2024ORMEK.12"));
    ExpectRefused(dir_.File("no/such/dir/summary.json"));
    fs::create_symlink(dir_.File("nothing"), dir_.File("dangling.json"));
    ExpectRefused(dir_.File("dangling.json"));
    // Read-only: no write bit for anyone, even for the superuser.
    WriteFileBytes(dir_.File("read-only.json"), "keep");
    fs::permissions(dir_.File("read-only.json"), fs::perms::owner_read | fs::perms::group_read);
    ExpectRefused(dir_.File("read-only.json"));
    EXPECT_EQ(ReadFileBytes(dir_.File("read-only.json")), "keep");
}

TEST_F(SummaryJsonTargetTest, TheJournalIsNeverReplaced) {
    ASSERT_EQ(Cli({"convert", Export(), Ledger()}).exitCode, 0);
    const std::string journal = Ledger() + "/trevo2KPR.dziennik/0000000001";
    const std::string journalBytes = ReadFileBytes(journal);
    ASSERT_FALSE(journalBytes.empty());
    const std::string period = ReadFileBytes(November());
    for (const std::string& name :
         {journal, Ledger() + "/trevo2KPR.dziennik/0000000002", Ledger() + "/trevo2KPR.dziennik"}) {
        SCOPED_TRACE(name);
        const auto result = Convert(name);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(ReadFileBytes(journal), journalBytes);
        EXPECT_EQ(ReadFileBytes(November()), period);
        EXPECT_FALSE(fs::exists(Ledger() + "/trevo2KPR.dziennik/0000000002"));
    }
}

TEST_F(SummaryJsonTargetTest, AnOrdinaryFileIsReplacedKeepingItsMode) {
    const std::string name = dir_.File("summary.json");
    WriteFileBytes(name, "old");
    ::chmod(name.c_str(), 0640);
    const auto result = Convert(name);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const auto json = testing::ParseJson(ReadFileBytes(name));
    ASSERT_TRUE(json);
    EXPECT_EQ((*json)["outcome"].text, "completed");
    struct stat info {};
    ASSERT_EQ(::stat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    // The file the trace goes to keeps the trace.
    const auto intoTrace = testing::RunProcess(
        TREVO_CLI_PATH, {"convert", "--summary-json", dir_.File("trace.txt"), Export(), Ledger()},
        {"LC_ALL=C"}, dir_.File("trace.txt"));
    EXPECT_EQ(intoTrace.exitCode, 2);
    EXPECT_FALSE(testing::ParseJson(ReadFileBytes(dir_.File("trace.txt"))));
    // A new name beside the books is no period file.
    EXPECT_EQ(Convert(Ledger() + "/podsumowanie.json").exitCode, 0);
    EXPECT_TRUE(testing::ParseJson(ReadFileBytes(Ledger() + "/podsumowanie.json")));
    for (const auto& entry : fs::directory_iterator(dir_.Path())) {
        EXPECT_FALSE(entry.path().filename().string().starts_with(".summary"));
    }
}

TEST_F(SummaryJsonTargetTest, DashWritesAfterTheTraceAndDevicesStayDevices) {
    const auto dash = Convert("-");
    ASSERT_EQ(dash.exitCode, 0) << dash.err;
    const std::string end = " *** Koniec przetwarzania ***\n";
    const auto at = dash.out.find(end);
    ASSERT_NE(at, std::string::npos);
    EXPECT_TRUE(testing::ParseJson(dash.out.substr(at + end.size())));

    // /dev/stdout when stdout is a regular file (as here): a link to a regular file, refused;
    // "-" is the way to put the JSON after the trace there.
    const auto devStdout = Convert("/dev/stdout");
    if (devStdout.exitCode == 2) {
        EXPECT_EQ(devStdout.out, "");  // refused before the run
    } else {
        EXPECT_EQ(devStdout.exitCode, 0) << devStdout.err;  // a pipe or a terminal
    }
    EXPECT_TRUE(fs::is_symlink("/dev/stdout"));

    // Through a link to a device: written, the link and the device stay.
    fs::create_symlink("/dev/null", dir_.File("null.json"));
    EXPECT_EQ(
        Cli({"convert", "--check", "--summary-json", dir_.File("null.json"), Export()}).exitCode,
        0);
    EXPECT_TRUE(fs::is_symlink(dir_.File("null.json")));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    // A FIFO is opened and written, never replaced.
    const std::string fifo = dir_.File("summary.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string read;
    std::thread reader([&] { read = ReadFileBytes(fifo); });
    const auto piped = Cli({"convert", "--check", "--summary-json", fifo, Export()});
    reader.join();
    EXPECT_EQ(piped.exitCode, 0);
    EXPECT_TRUE(testing::ParseJson(read)) << read;
    struct stat info {};
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

}  // namespace
}  // namespace trevo
