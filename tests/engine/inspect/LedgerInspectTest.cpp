// Reading a ledger back: the entry's named values, and the directory check on a good ledger and
// on one with each kind of problem.

#include <gtest/gtest.h>

#include <cstring>

#include "engine/inspect/EntryFields.h"
#include "engine/inspect/LedgerCheck.h"
#include "engine/ledger/LedgerEntry.h"
#include "engine/ledger/LedgerEntryLayout.h"
#include "testing/BookedEntry.h"
#include "testing/TempDirectory.h"

namespace trevo {
namespace {

namespace at = ledger_layout;

using testing::BookedEntry;
using testing::RecordBytes;

TEST(EntryFields, NamesInRecordOrderAndValuesInBothCodePages) {
    // The columns of show's CSV and the keys of its JSON, as the record layout names them.
    std::string names;
    for (const char* name : EntryFieldNames()) {
        names += names.empty() ? "" : ",";
        names += name;
    }
    EXPECT_EQ(names,
              "seqNo,docDate1,docDate2,entryDate,docDate3,docNumber,nip,firmName,street,city,"
              "remark,auxDate,attributeLetter,entryKind,importDate,docFlags,registerLetter,"
              "netto1,vat1,netto3,vat3,netto4,netto7,netto5,vat5,netto2,vat2,nettoOther,"
              "entryMark,kprCode,nettoKpr");

    LedgerEntry entry = BookedEntry(1, 2024, 3);
    entry.auxDate = {};
    entry.attributeLetter = 0;
    const auto fields = EntryFields(entry, PolishCharset::pcMazovia);
    const auto value = [&fields](const char* name) {
        for (const EntryField& f : fields) {
            if (std::strcmp(f.name, name) == 0) {
                return f.value;
            }
        }
        return std::string("?");
    };
    EXPECT_EQ(value("entryDate"), "2024-03-15");
    EXPECT_EQ(value("auxDate"), "");
    EXPECT_EQ(value("attributeLetter"), "");
    EXPECT_EQ(value("registerLetter"), "\xAF");
    EXPECT_EQ(value("firmName"), "\xB9\xE6\xEA Firma");  // Windows-1250 ą ć ę
    EXPECT_EQ(value("netto1"), "0.1");
    EXPECT_EQ(value("netto3"), "1e+300");
    EXPECT_EQ(value("nettoOther"), "0.3333333333333333");
    EXPECT_EQ(value("docFlags"), "129");

    // The same letters in CP852 bytes.
    entry.firmName.Assign("\xA5\x86\xA9");
    EXPECT_EQ(EntryFields(entry, PolishCharset::pcCp852)[7].value, "\xB9\xE6\xEA");
}

class LedgerCheckTest : public ::testing::Test {
  protected:
    std::vector<LedgerProblem> Check(std::uint64_t perFile = 1000) {
        std::vector<LedgerProblem> problems;
        const auto files =
            CheckLedgerDirectory(LocalFileSystem(), dir_.Path().string(), perFile,
                                 [&](const LedgerProblem& p) { problems.push_back(p); });
        EXPECT_TRUE(files);
        files_ = files.value_or(0);
        return problems;
    }
    std::vector<std::pair<std::uint64_t, std::string>> Described(std::uint64_t perFile = 1000) {
        std::vector<std::pair<std::uint64_t, std::string>> got;
        for (const LedgerProblem& p : Check(perFile)) {
            got.push_back({p.slot, p.message});
        }
        return got;
    }
    testing::TempDirectory dir_;
    std::size_t files_ = 0;
};

TEST_F(LedgerCheckTest, GoodDirectoryHasNoProblemAndOtherFilesAreLeftAlone) {
    testing::WriteFileBytes(dir_.File("2024ORMEK.3"), RecordBytes(BookedEntry(1, 2024, 3)) +
                                                          RecordBytes(BookedEntry(2, 2024, 3)));
    LedgerEntry notKpr = BookedEntry(1, 2024, 12);
    notKpr.entryKind = 2;
    notKpr.remark.Assign("!");
    notKpr.nettoKpr = 0;
    testing::WriteFileBytes(dir_.File("2024ORMEK.12"), RecordBytes(notKpr));
    testing::WriteFileBytes(dir_.File("spisfirm.dat"), "whatever");
    testing::WriteFileBytes(dir_.File("2024ORMEK.03"), "not a period file name");
    EXPECT_TRUE(Check().empty());
    EXPECT_EQ(files_, 2u);
}

TEST_F(LedgerCheckTest, EveryKindOfProblemIsOneLine) {
    std::vector<std::string> records;
    LedgerEntry e = BookedEntry(1, 2024, 3);
    records.push_back(RecordBytes(e));
    e = BookedEntry(5, 2024, 3);  // seqNo 5 in slot 2
    records.push_back(RecordBytes(e));
    e = BookedEntry(3, 2024, 4);  // another month
    records.push_back(RecordBytes(e));
    std::string reserved = RecordBytes(BookedEntry(4, 2024, 3));
    reserved[212] = 1;
    records.push_back(reserved);
    std::string longText = RecordBytes(BookedEntry(5, 2024, 3));
    longText[at::kNip] = 19;
    records.push_back(longText);
    std::string afterText = RecordBytes(BookedEntry(6, 2024, 3));
    afterText[at::kCity + 30] = 'x';
    records.push_back(afterText);
    e = BookedEntry(7, 2024, 3);
    e.entryKind = 4;
    e.docFlags = 2;
    e.entryMark = 0;
    e.remark.Assign("?");
    records.push_back(RecordBytes(e));
    e = BookedEntry(8, 2024, 3);
    e.entryKind = 2;
    records.push_back(RecordBytes(e));  // nettoKpr not zero
    std::string bytes;
    for (const std::string& r : records) {
        bytes += r;
    }
    testing::WriteFileBytes(dir_.File("2024ORMEK.3"), bytes + "part");
    testing::WriteFileBytes(dir_.File("2024ORMEK.13"), "");

    const std::vector<std::pair<std::uint64_t, std::string>> expected = {
        {2, "seqNo 5 zamiast 2"},
        {3, "entryDate 2024-4-15 poza okresem pliku 2024-3"},
        {4, "niezerowe bajty zarezerwowane 210-235"},
        {5, "nip: d\xB3ugo\x9C\xE6 19 ponad pojemno\x9C\xE6 18"},
        {6, "city: niezerowe bajty za tekstem"},
        {7, "entryKind 4 spoza {2, 3}"},
        {7, "docFlags 2 spoza {1, 15, 129, 143}"},
        {7, "entryMark 0 zamiast 1"},
        {7, "remark \"?\" - dozwolony pusty albo \"!\""},
        {8, "nettoKpr 123.45 przy entryKind 2 - powinno by\xE6 0"},
        {0,
         "niepe\xB3ny rekord na ko\xF1"
         "cu pliku: 4 bajt\xF3w"},
        {0,
         "miesi\xB9"
         "c 13 w nazwie pliku - program KPR go nie czyta"},
    };
    EXPECT_EQ(Described(), expected);
}

TEST_F(LedgerCheckTest, EveryDateMustBeOnTheCalendarAndOnlyEntryDateMayNotBeZero) {
    std::string bytes;
    std::int32_t seqNo = 0;
    const auto add = [&](void (*change)(LedgerEntry&)) {
        LedgerEntry e = BookedEntry(++seqNo, 2024, 2);
        change(e);
        bytes += RecordBytes(e);
    };
    add([](LedgerEntry& e) { e.entryDate.day = 29; });  // 2024 is a leap year
    add([](LedgerEntry& e) { e.docDate1 = e.docDate2 = e.docDate3 = e.auxDate = {}; });
    add([](LedgerEntry& e) { e.importDate = {}; });
    add([](LedgerEntry& e) { e.entryDate.day = 0; });
    add([](LedgerEntry& e) { e.entryDate.day = 30; });
    add([](LedgerEntry& e) { e.entryDate.day = 99; });
    add([](LedgerEntry& e) { e.docDate1 = {31, 11, 2024}; });
    add([](LedgerEntry& e) { e.docDate2 = {29, 2, 1900}; });  // no leap year: by 100, not 400
    add([](LedgerEntry& e) { e.docDate3 = {1, 1, 0}; });      // there is no year 0
    add([](LedgerEntry& e) { e.auxDate = {0, 0, 2024}; });    // part of a date is not none
    add([](LedgerEntry& e) { e.importDate = {1, 13, 2024}; });
    add([](LedgerEntry& e) { e.docDate1 = {29, 2, 2000}; });  // by 400: a leap year
    add([](LedgerEntry& e) { e.entryDate = {}; });
    testing::WriteFileBytes(dir_.File("2024ORMEK.2"), bytes);

    const std::vector<std::pair<std::uint64_t, std::string>> expected = {
        {4, "entryDate 2024-2-0 - nie ma takiej daty"},
        {5, "entryDate 2024-2-30 - nie ma takiej daty"},
        {6, "entryDate 2024-2-99 - nie ma takiej daty"},
        {7, "docDate1 2024-11-31 - nie ma takiej daty"},
        {8, "docDate2 1900-2-29 - nie ma takiej daty"},
        {9, "docDate3 0-1-1 - nie ma takiej daty"},
        {10, "auxDate 2024-0-0 - nie ma takiej daty"},
        {11, "importDate 2024-13-1 - nie ma takiej daty"},
        {13, "entryDate 0-0-0 poza okresem pliku 2024-2"},
        {13, "entryDate 0-0-0 - nie ma takiej daty"},
    };
    EXPECT_EQ(Described(), expected);
}

TEST_F(LedgerCheckTest, RecordProblemsBeyondTheLimitAreCountedPerFile) {
    // Thirty records of zeros: six problems each (seqNo, entryDate twice, entryKind, docFlags,
    // entryMark), and a part-record after them.
    testing::WriteFileBytes(dir_.File("2024ORMEK.1"), std::string(30 * 400 + 7, '\0'));
    LedgerEntry e = BookedEntry(1, 2024, 2);
    e.entryKind = 9;
    std::string february = RecordBytes(e);
    e.seqNo = 2;
    february += RecordBytes(e);
    testing::WriteFileBytes(dir_.File("2024ORMEK.2"), february);
    testing::WriteFileBytes(dir_.File("2024ORMEK.14"), "");

    const std::vector<std::pair<std::uint64_t, std::string>> expected = {
        {1, "seqNo 0 zamiast 1"},
        {1, "entryDate 0-0-0 poza okresem pliku 2024-1"},
        {1, "entryDate 0-0-0 - nie ma takiej daty"},
        {1, "entryKind 0 spoza {2, 3}"},
        {1, "docFlags 0 spoza {1, 15, 129, 143}"},
        {1, "entryMark 0 zamiast 1"},
        {2, "seqNo 0 zamiast 2"},
        {0, "pomini\xEAto dalszych problem\xF3w z rekordami: 173"},
        {0,
         "niepe\xB3ny rekord na ko\xF1"
         "cu pliku: 7 bajt\xF3w"},
        // The limit is per file: the next one starts afresh, and exactly at the limit there is
        // nothing to count.
        {1, "entryKind 9 spoza {2, 3}"},
        {2, "entryKind 9 spoza {2, 3}"},
        {0,
         "miesi\xB9"
         "c 14 w nazwie pliku - program KPR go nie czyta"},
    };
    EXPECT_EQ(Described(7), expected);
    EXPECT_EQ(files_, 3u);
    // With no room at all, a file's problems are one count.
    const auto none = Described(0);
    ASSERT_FALSE(none.empty());
    EXPECT_EQ(none.front(), (std::pair<std::uint64_t, std::string>{
                                0, "pomini\xEAto dalszych problem\xF3w z rekordami: 180"}));
}

}  // namespace
}  // namespace trevo
