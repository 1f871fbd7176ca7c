#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "engine/ledger/LedgerEntry.h"
#include "engine/ledger/zdRMD.h"

namespace trevo {
namespace {

// Each field holds a value whose bytes are unique enough to show where it landed.
LedgerEntry DistinctEntry() {
    LedgerEntry e;
    e.seqNo = 0x01020304;
    e.docDate1 = {1, 2, 0x0304};
    e.docDate2 = {5, 6, 0x0708};
    e.entryDate = {9, 10, 0x0B0C};
    e.docDate3 = {13, 14, 0x0F10};
    e.docNumber.Assign("12345678901234567890");
    e.nip.Assign("DE123456789");
    e.firmName.Assign(std::string(70, 'F'));
    e.street.Assign("Street");
    e.city.Assign("City");
    e.remark.Assign("!");
    e.auxDate = {17, 18, 0x1314};
    e.attributeLetter = 'A';
    e.entryKind = 3;
    e.importDate = {21, 22, 0x1718};
    e.docFlags = 143;
    e.registerLetter = '\xAF';
    double value = 1;
    for (double* amount : {&e.netto1, &e.vat1, &e.netto3, &e.vat3, &e.netto4, &e.netto7, &e.netto5,
                           &e.vat5, &e.netto2, &e.vat2, &e.nettoOther}) {
        *amount = value++;
    }
    e.entryMark = 1;
    e.kprCode = 10;
    e.nettoKpr = 1234.5;
    return e;
}

double DoubleAt(const LedgerRecordBytes& bytes, std::size_t offset) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) {
        bits = bits << 8 | bytes[offset + i];
    }
    return std::bit_cast<double>(bits);
}

std::string TextAt(const LedgerRecordBytes& bytes, std::size_t offset) {
    return std::string(reinterpret_cast<const char*>(&bytes[offset + 1]), bytes[offset]);
}

TEST(LedgerEntryRecord, EveryFieldLandsAtItsOffset) {
    LedgerRecordBytes bytes;
    EncodeLedgerEntry(DistinctEntry(), bytes);

    EXPECT_EQ(bytes[0], 0x04);
    EXPECT_EQ(bytes[3], 0x01);
    const auto date = [&](std::size_t at) {
        return RmdDate{bytes[at], bytes[at + 1],
                       static_cast<std::uint16_t>(bytes[at + 2] | bytes[at + 3] << 8)};
    };
    EXPECT_EQ(date(10), (RmdDate{1, 2, 0x0304}));
    EXPECT_EQ(date(14), (RmdDate{5, 6, 0x0708}));
    EXPECT_EQ(date(18), (RmdDate{9, 10, 0x0B0C}));
    EXPECT_EQ(date(22), (RmdDate{13, 14, 0x0F10}));
    EXPECT_EQ(TextAt(bytes, 32), "12345678901234567890");
    EXPECT_EQ(bytes[53], 0);  // the room after a 20-character number stays zero
    EXPECT_EQ(bytes[54], 0);
    EXPECT_EQ(TextAt(bytes, 55), "DE123456789");
    EXPECT_EQ(TextAt(bytes, 74), std::string(36, 'F'));  // cut to its capacity
    EXPECT_EQ(TextAt(bytes, 111), "Street");
    EXPECT_EQ(TextAt(bytes, 148), "City");
    EXPECT_EQ(TextAt(bytes, 185), "!");
    EXPECT_EQ(date(206), (RmdDate{17, 18, 0x1314}));
    EXPECT_EQ(bytes[236], 'A');
    EXPECT_EQ(bytes[237], 3);
    EXPECT_EQ(date(238), (RmdDate{21, 22, 0x1718}));
    EXPECT_EQ(bytes[242], 143);
    EXPECT_EQ(bytes[245], 0xAF);
    const std::size_t amountOffsets[] = {248, 256, 264, 272, 280, 288, 296, 304, 312, 320, 328};
    double expected = 1;
    for (const std::size_t at : amountOffsets) {
        EXPECT_EQ(DoubleAt(bytes, at), expected++) << "offset " << at;
    }
    EXPECT_EQ(bytes[367], 1);
    EXPECT_EQ(bytes[368], 10);
    EXPECT_EQ(DoubleAt(bytes, 369), 1234.5);  // unaligned
}

TEST(LedgerEntryRecord, DecodingGivesBackEveryField) {
    LedgerRecordBytes bytes;
    EncodeLedgerEntry(DistinctEntry(), bytes);
    const LedgerEntry back = DecodeLedgerEntry(bytes);
    LedgerRecordBytes again;
    EncodeLedgerEntry(back, again);
    EXPECT_EQ(again, bytes);
    EXPECT_EQ(back.registerLetter, '\xAF');
    EXPECT_EQ(back.nettoKpr, 1234.5);  // from the unaligned offset

    // A length byte beyond the capacity keeps the capacity; seqNo is signed.
    bytes[32] = 200;
    EXPECT_EQ(DecodeLedgerEntry(bytes).docNumber.Size(), 22u);
    bytes[3] = 0xFF;
    EXPECT_LT(DecodeLedgerEntry(bytes).seqNo, 0);
}

TEST(LedgerEntryRecord, ReservedBytesAndUnusedTextRoomAreZero) {
    LedgerRecordBytes bytes;
    bytes.fill(0xEE);
    LedgerEntry entry = DistinctEntry();
    entry.docNumber.Assign("X");
    EncodeLedgerEntry(entry, bytes);
    const std::pair<std::size_t, std::size_t> reserved[] = {
        {4, 10}, {26, 32}, {210, 236}, {243, 245}, {246, 248}, {336, 367}, {377, 400}, {34, 55}};
    for (const auto& [from, to] : reserved) {
        for (std::size_t i = from; i < to; ++i) {
            EXPECT_EQ(bytes[i], 0) << "byte " << i;
        }
    }
}

TEST(LedgerEntryRecord, ClearedEntryEncodesAsZeros) {
    LedgerEntry entry = DistinctEntry();
    entry.Clear();
    LedgerRecordBytes bytes;
    EncodeLedgerEntry(entry, bytes);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        EXPECT_EQ(bytes[i], 0) << "byte " << i;
    }
}

TEST(RmdDate, CalendarDatesOnlyAndZeroOtherwise) {
    EXPECT_EQ(DateToRmdDate({2024, 2, 29, 23, 59, 59}), (RmdDate{29, 2, 2024}));
    EXPECT_EQ(DateToRmdDate({2023, 2, 29}), RmdDate{});
    EXPECT_EQ(DateToRmdDate({1900, 2, 29}), RmdDate{});
    EXPECT_EQ(DateToRmdDate({2000, 2, 29}), (RmdDate{29, 2, 2000}));
    EXPECT_EQ(DateToRmdDate({1, 1, 1}), (RmdDate{1, 1, 1}));
    EXPECT_EQ(DateToRmdDate({0, 12, 31}), RmdDate{});
    EXPECT_EQ(DateToRmdDate({2024, 13, 1}), RmdDate{});
    EXPECT_EQ(DateToRmdDate({70000, 1, 1}), RmdDate{});
}

}  // namespace
}  // namespace trevo
