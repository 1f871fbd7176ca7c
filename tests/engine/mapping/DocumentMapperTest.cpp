#include <gtest/gtest.h>

#include "engine/exportfile/ExportColumns.h"
#include "engine/mapping/DocumentMapper.h"
#include "engine/mapping/NipChecksum.h"
#include "engine/platform/Clock.h"
#include "engine/platform/TraceSink.h"
#include "testing/ExportLineBuilder.h"
#include "testing/FakeClock.h"
#include "testing/MemoryTraceSink.h"

namespace trevo {
namespace {

namespace col = export_columns;
using testing::ExportLineBuilder;
using testing::Win1250;
using Lines = std::vector<std::string>;

// A valid document of type 0 whose amounts agree.
ExportLineBuilder Document() {
    ExportLineBuilder line;
    line.Date("20240315")
        .Number("FV 1/2024")
        .Company(Win1250("Zakład Łódź"))
        .Street(Win1250("ul. Długa 5"))
        .City(Win1250("Kraków"))
        .KprCode("7")
        .Nip("1234567890")
        .CountryPrefix("PL")
        .Amount(col::kNettoKpr, "100.00")
        .Amount(col::kNetto1, "100.00")
        .Amount(col::kVat1, "23.00");
    return line;
}

class DocumentMapperTest : public ::testing::Test {
  protected:
    bool Map(const ExportLineBuilder& line, MappingOptions options = {}) {
        DocumentMapper mapper(options, trace_, clock_, money_);
        return mapper.MapDocument(line.Line(), entry_);
    }
    const Lines& Trace() const { return trace_.Lines(); }

    testing::MemoryTraceSink trace_;
    testing::FakeClock clock_;
    CurrencyFormat money_ = CurrencyFormat::Polish();
    LedgerEntry entry_;
};

TEST_F(DocumentMapperTest, TypeZeroDocumentFillsTheEntryAndItsTwoTraceLines) {
    ASSERT_TRUE(Map(Document()));
    EXPECT_EQ(entry_.seqNo, 0);
    EXPECT_EQ(entry_.entryKind, 3);
    EXPECT_EQ(entry_.entryMark, 1);
    EXPECT_EQ(entry_.docFlags, 1);
    EXPECT_EQ(entry_.kprCode, 7);
    for (const RmdDate& date :
         {entry_.docDate1, entry_.docDate2, entry_.entryDate, entry_.docDate3}) {
        EXPECT_EQ(date, (RmdDate{15, 3, 2024}));
    }
    EXPECT_EQ(entry_.importDate, (RmdDate{8, 12, 2026}));
    EXPECT_EQ(entry_.docNumber.View(), "FV 1/2024");
    EXPECT_EQ(entry_.nip.View(), "1234567890");
    EXPECT_EQ(entry_.firmName.View(),
              "Zak\x92"
              "ad \x9C\xA2"
              "d\xA6");  // Mazovia
    EXPECT_EQ(entry_.street.View(), "D\x92uga 5");
    EXPECT_EQ(entry_.city.View(), "Krak\xA2w");
    EXPECT_EQ(entry_.netto1, 100.0);
    EXPECT_EQ(entry_.vat1, 23.0);
    EXPECT_EQ(entry_.nettoKpr, 100.0);
    EXPECT_TRUE(entry_.remark.Empty());
    EXPECT_EQ(entry_.attributeLetter, 0);
    EXPECT_EQ(entry_.registerLetter, 0);
    EXPECT_EQ(Trace(),
              (Lines{Win1250("* Dokument nr:FV 1/2024  | Firma:Zakład Łódź  | NIP:1234567890"),
                     Win1250(" z dnia 15-3-2024 na kwotę netto:100,00 zł vat:23,00 zł")}));
}

TEST_F(DocumentMapperTest, LongTextsAreCutToTheirFields) {
    ASSERT_TRUE(Map(Document().Company(std::string(70, 'N'))));
    EXPECT_EQ(entry_.firmName.View(), std::string(36, 'N'));
    // The trace shows the company name whole and in Windows-1250.
    EXPECT_EQ(Trace()[0],
              "* Dokument nr:FV 1/2024  | Firma:" + std::string(70, 'N') + "  | NIP:1234567890");
}

// The entry stores the number and NIP in the ledger's code page; the trace shows them in
// Windows-1250 beside the company name, in both code pages and on the rejection lines too.
TEST_F(DocumentMapperTest, TraceShowsStoredNumberAndNipWithTheirPolishLetters) {
    const auto line = Document().Number(Win1250("FV/ŻÓŁ/1")).Nip(Win1250("ŚĆ-1")).CountryPrefix("");
    for (const PolishCharset code : {PolishCharset::pcMazovia, PolishCharset::pcCp852}) {
        trace_.Clear();
        ASSERT_TRUE(Map(line, {code, 0, 0}));
        EXPECT_NE(entry_.docNumber.View(), Win1250("FV/ŻÓŁ/1"));  // stored converted
        EXPECT_EQ(Trace().at(0),
                  Win1250("* Dokument nr:FV/ŻÓŁ/1  | Firma:Zakład Łódź  | NIP:ŚĆ-1"));
        trace_.Clear();
        EXPECT_FALSE(Map(Document().Number(Win1250("FV/ŻÓŁ/1")).Type("5"), {code, 0, 0}));
        EXPECT_EQ(Trace(), (Lines{Win1250("* Dokument nr \"FV/ŻÓŁ/1\" - błędny TYP(8)=5")}));
        trace_.Clear();
        EXPECT_FALSE(Map(Document().Number(Win1250("FV/ŻÓŁ/1")).Date("20241315"), {code, 0, 0}));
        EXPECT_EQ(Trace(), (Lines{Win1250("* Dokument nr \"FV/ŻÓŁ/1\" - błędna data 15-13-2024")}));
    }
}

TEST_F(DocumentMapperTest, TypeOneAndTheMarkerSetTheFlags) {
    ASSERT_TRUE(Map(Document().Type("1").Marker("2")));
    EXPECT_EQ(entry_.docFlags, 143);
    EXPECT_EQ(entry_.kprCode, 10);
    ASSERT_TRUE(Map(Document().Marker("2")));
    EXPECT_EQ(entry_.docFlags, 129);
    ASSERT_TRUE(Map(Document().Marker("1")));
    EXPECT_EQ(entry_.docFlags, 1);
}

TEST_F(DocumentMapperTest, OtherTypesAreRejectedWithOneLine) {
    EXPECT_FALSE(Map(Document().Type("2")));
    EXPECT_EQ(Trace(), (Lines{Win1250("* Dokument nr \"FV 1/2024\" - błędny TYP(8)=2")}));
}

TEST_F(DocumentMapperTest, UnreadableTypeReadsAsZero) {
    ASSERT_TRUE(Map(Document().Type("A")));
    EXPECT_EQ(entry_.docFlags, 1);
    EXPECT_EQ(Trace().front(), Win1250("Błąd określenia wartości INTEGER"));
}

TEST_F(DocumentMapperTest, KprCodeOutsideAByteIsReportedAsZero) {
    ASSERT_TRUE(Map(Document().KprCode("-1")));
    EXPECT_EQ(entry_.kprCode, 0);
    EXPECT_EQ(Trace().front(), Win1250("Błąd określenia wartości INTEGER"));
    trace_.Clear();
    ASSERT_TRUE(Map(Document().KprCode("$F")));
    EXPECT_EQ(entry_.kprCode, 15);
    EXPECT_EQ(Trace().size(), 2u);
}

TEST_F(DocumentMapperTest, DatesWithoutAMonthOfAYearAreRejected) {
    EXPECT_FALSE(Map(Document().Date("")));
    EXPECT_EQ(Trace(), (Lines{Win1250("* Dokument nr \"FV 1/2024\" - błędna data 0-0-0")}));
    trace_.Clear();
    EXPECT_FALSE(Map(Document().Date("20241301")));
    EXPECT_EQ(Trace(), (Lines{Win1250("* Dokument nr \"FV 1/2024\" - błędna data 1-13-2024")}));
    trace_.Clear();
    EXPECT_FALSE(Map(Document().Date("00000315")));
    EXPECT_EQ(Trace().back(), Win1250("* Dokument nr \"FV 1/2024\" - błędna data 15-3-0"));
    trace_.Clear();
    // A negative year wraps to 65535, a file ("65535ORMEK.1") the ledger never reads.
    EXPECT_FALSE(Map(Document().Date("-0010115")));
    EXPECT_EQ(Trace(), (Lines{Win1250("* Dokument nr \"FV 1/2024\" - błędna data 15-1-65535")}));
    trace_.Clear();
    EXPECT_TRUE(Map(Document().Date("99991231")));
    EXPECT_TRUE(Map(Document().Date("00010101")));
    trace_.Clear();
    // The day is the ledger's business; only month and year choose the file.
    EXPECT_TRUE(Map(Document().Date("20240300")));
    // A bad type is reported before a bad date, and alone.
    trace_.Clear();
    EXPECT_FALSE(Map(Document().Date("").Type("5")));
    EXPECT_EQ(Trace(), (Lines{Win1250("* Dokument nr \"FV 1/2024\" - błędny TYP(8)=5")}));
}

TEST_F(DocumentMapperTest, CountryPrefixJoinsTheNipUnlessItIsPL) {
    ASSERT_TRUE(Map(Document().Nip("123456789").CountryPrefix("DE")));
    EXPECT_EQ(entry_.nip.View(), "DE123456789");
    ASSERT_TRUE(Map(Document().Nip("123456789").CountryPrefix("pl")));
    EXPECT_EQ(entry_.nip.View(), "pl123456789");
    ASSERT_TRUE(Map(Document().Nip("123456789").CountryPrefix("  ")));
    EXPECT_EQ(entry_.nip.View(), "123456789");
    ASSERT_TRUE(Map(Document().Nip("1234567890123").CountryPrefix("DE")));
    EXPECT_EQ(entry_.nip.View(), "DE1234567890123");
}

TEST_F(DocumentMapperTest, AmountsDisagreeingMarkTheEntryButBookIt) {
    ASSERT_TRUE(Map(Document().Amount(col::kNetto1, "99.90")));
    EXPECT_EQ(entry_.kprCode, 0);
    EXPECT_EQ(entry_.entryKind, 2);
    EXPECT_EQ(entry_.remark.View(), "!");
    EXPECT_EQ(entry_.nettoKpr, 0.0);
    EXPECT_EQ(Trace().back(), " ! Netto_KPR <> Suma(Netto) ustawiam - nie KPR ");
}

TEST_F(DocumentMapperTest, AgreementDependsOnTheBinaryDifference) {
    const auto agrees = [&](const char* kpr, const char* netto) {
        return Map(Document().Amount(col::kNettoKpr, kpr).Amount(col::kNetto1, netto)) &&
               entry_.entryKind == 3;
    };
    EXPECT_TRUE(agrees("10.01", "10.00"));
    EXPECT_FALSE(agrees("100.00", "99.99"));
    EXPECT_FALSE(agrees("0.01", ""));
    EXPECT_FALSE(AmountsAgree(0.01, 0.0, 0.0));
    EXPECT_TRUE(AmountsAgree(150, 100, 50));
}

TEST_F(DocumentMapperTest, EveryAmountColumnLandsInItsFieldAndSumsInOrder) {
    ExportLineBuilder line = Document();
    line.Amount(col::kNettoKpr, "28")
        .Amount(col::kNetto1, "1")
        .Amount(col::kNetto2, "2")
        .Amount(col::kNetto3, "3")
        .Amount(col::kNetto4, "4")
        .Amount(col::kNetto5, "5")
        .Amount(col::kNetto7, "7")
        .Amount(col::kVat1, "0.1")
        .Amount(col::kVat2, "0.2")
        .Amount(col::kVat3, "0.3")
        .Amount(col::kVat5, "0.5")
        .Amount(col::kNettoOther, "6");
    ASSERT_TRUE(Map(line));
    EXPECT_EQ(entry_.netto1, 1);
    EXPECT_EQ(entry_.netto2, 2);
    EXPECT_EQ(entry_.netto3, 3);
    EXPECT_EQ(entry_.netto4, 4);
    EXPECT_EQ(entry_.netto5, 5);
    EXPECT_EQ(entry_.netto7, 7);
    EXPECT_EQ(entry_.vat1, 0.1);
    EXPECT_EQ(entry_.vat2, 0.2);
    EXPECT_EQ(entry_.vat3, 0.3);
    EXPECT_EQ(entry_.vat5, 0.5);
    EXPECT_EQ(entry_.nettoOther, 6);
    EXPECT_EQ(entry_.nettoKpr, 28);  // 22 netto + 6 other
    EXPECT_EQ(Trace().back(), Win1250(" z dnia 15-3-2024 na kwotę netto:22,00 zł vat:1,10 zł"));
}

TEST_F(DocumentMapperTest, LettersAreStampedUnconverted) {
    ASSERT_TRUE(Map(Document(), {PolishCharset::pcCp852, 'A', '\xAF'}));
    EXPECT_EQ(entry_.attributeLetter, 'A');
    EXPECT_EQ(entry_.registerLetter, '\xAF');
}

TEST_F(DocumentMapperTest, ImportDateIsTakenForEveryDocument) {
    DocumentMapper mapper({}, trace_, clock_, money_);
    clock_.Set({2024, 12, 31, 23, 59, 59});
    ASSERT_TRUE(mapper.MapDocument(Document().Line(), entry_));
    EXPECT_EQ(entry_.importDate, (RmdDate{31, 12, 2024}));
    clock_.Set({2025, 1, 1, 0, 0, 0});
    ASSERT_TRUE(mapper.MapDocument(Document().Line(), entry_));
    EXPECT_EQ(entry_.importDate, (RmdDate{1, 1, 2025}));
}

TEST_F(DocumentMapperTest, NothingOfThePreviousDocumentSurvives) {
    ASSERT_TRUE(Map(Document().Amount(col::kNetto1, "1").Amount(col::kVat5, "9")));
    ASSERT_TRUE(Map(Document()));
    EXPECT_EQ(entry_.vat5, 0.0);
    EXPECT_TRUE(entry_.remark.Empty());
}

TEST(NipChecksum, WeightsModElevenAndTheUsualSeparators) {
    EXPECT_TRUE(NipChecksumValid("5260250274"));
    EXPECT_TRUE(NipChecksumValid("526-025-02-74"));
    EXPECT_TRUE(NipChecksumValid("526 02 50 274"));
    EXPECT_FALSE(NipChecksumValid("5260250275"));  // check digit off by one
    EXPECT_FALSE(NipChecksumValid("526025027"));   // nine digits
    EXPECT_FALSE(NipChecksumValid("52602502740"));
    EXPECT_FALSE(NipChecksumValid("-5260250274"));
    EXPECT_FALSE(NipChecksumValid("5260250274-"));
    EXPECT_FALSE(NipChecksumValid("52602502x4"));
    EXPECT_FALSE(NipChecksumValid(""));
    // Remainder 10: no check digit can make it valid.
    for (char last = '0'; last <= '9'; ++last) {
        EXPECT_FALSE(NipChecksumValid(std::string("000500000") + last));
    }
}

}  // namespace
}  // namespace trevo
