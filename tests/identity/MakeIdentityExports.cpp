// Writes the exports the Linux and the Windows command line are compared on:
//   make_identity_exports OUTPUT_DIR [DOCUMENTS]
// export-a.kpm: DOCUMENTS (default 3,000) over four months across a year's end, every kind of
// bad field the export can carry, Polish and other Windows-1250 letters, control characters and
// lines of other lengths; export-b.kpm: two thirds as many over three later months; seed.kpm:
// every 50th document of export-a, booked first so that the ledger holds documents booked before.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>

#include "engine/exportfile/ExportColumns.h"
#include "testing/ExportLineBuilder.h"
#include "testing/SyntheticExport.h"

namespace {

namespace col = trevo::export_columns;
using trevo::testing::ExportLineBuilder;
using trevo::testing::Win1250;

void Put(std::string& line, col::Columns columns, std::string_view value, bool right = false) {
    ExportLineBuilder builder(std::move(line));
    if (right) {
        builder.SetRight(columns, value);
    } else {
        builder.Set(columns, value);
    }
    line = builder.Line();
}

// One of the faults or odd values the export can carry, chosen by `variant`; the line keeps
// its 510 bytes. Variants beyond the list leave the line as it is.
void Spoil(std::string& line, std::size_t variant) {
    switch (variant) {
        case 0:
            Put(line, col::kKprCode, "x7", true);
            break;  // no integer
        case 1:
            Put(line, col::kKprCode, "300", true);
            break;  // beyond one byte
        case 2:
            Put(line, col::kKprCode, "$0A", true);
            break;  // hexadecimal
        case 3:
            Put(line, col::kNetto1, "12,50", true);
            break;  // comma, no real
        case 4:
            Put(line, col::kNetto1, "1e999", true);
            break;  // beyond binary64
        case 5:
            Put(line, col::kVat1, "-", true);
            break;  // a sign alone
        case 6:
            Put(line, col::kNetto2, "1.2.3", true);
            break;  // two points
        case 7:
            Put(line, col::kNettoKpr, "abc", true);
            break;  // letters
        case 8:     // a credit note
            Put(line, col::kNetto1, "-1234.56", true);
            Put(line, col::kVat1, "-283.95", true);
            Put(line, col::kNetto3, "", true);
            Put(line, col::kVat3, "", true);
            Put(line, col::kNettoKpr, "-1234.56", true);
            break;
        case 9:  // millions, grouped twice
            Put(line, col::kNetto1, "1234567.89", true);
            Put(line, col::kVat1, "283950.61", true);
            Put(line, col::kNetto3, "98765432.1", true);
            Put(line, col::kNettoKpr, "99999999.99", true);
            break;
        case 10:  // halfway amounts
            Put(line, col::kNetto1, "0.005", true);
            Put(line, col::kVat1, "2.675", true);
            Put(line, col::kNetto3, "-0.005", true);
            Put(line, col::kVat3, "1.0E2", true);
            break;
        case 11:  // every other amount column
            Put(line, col::kNetto4, "10.10", true);
            Put(line, col::kNetto5, "20.20", true);
            Put(line, col::kVat5, "4.04", true);
            Put(line, col::kNetto7, ".5", true);
            Put(line, col::kNettoOther, "7.", true);
            Put(line, col::kVat2, "+3", true);
            break;
        case 12:
            Put(line, col::kDocumentDate, "20X41201");
            break;  // no year: rejected
        case 13:
            Put(line, col::kDocumentDate, "20241301");
            break;  // month 13: rejected
        case 14:
            Put(line, col::kDocumentDate, "202412A1");
            break;  // no day
        case 15:
            Put(line, col::kDocumentDate, "20241131");
            break;  // 31 November: booked
        case 16:
            Put(line, col::kSecondDate, "2024AB01");
            break;  // second date unreadable
        case 17:
            Put(line, col::kDocumentType, "7");
            break;  // rejected type
        case 18:
            Put(line, col::kDocumentType, "x");
            break;  // unreadable type
        case 19:
            Put(line, col::kMarker, "q");
            break;  // unreadable marker
        case 20:
            Put(line, col::kMarker, "2");
            break;
        case 21:  // no NIP, no prefix
            Put(line, col::kNip, "");
            Put(line, col::kCountryPrefix, "");
            break;
        case 22:
            Put(line, col::kCountryPrefix, Win1250("ŁÓ"));
            break;
        case 23:  // control characters in texts
            Put(line, col::kCompanyName,
                "Firma \x1B[2J\tTab\x7F"
                "Del");
            Put(line, col::kCity, "Miasto\x01\x1F");
            break;
        case 24:  // Windows-1250 letters outside the Polish eighteen, and punctuation
            Put(line, col::kCompanyName, Win1250("„Cudzysłów” § Müller Café ¤ € – Ťažký Ř"));
            Put(line, col::kStreet, Win1250("Hauptstraße 5 ° ± ×"));
            break;
        case 25:  // all eighteen Polish letters, street prefixes to strip
            Put(line, col::kCompanyName, Win1250("ĄĆĘŁŃÓŚŹŻ ąćęłńóśźż Zażółć gęślą jaźń"));
            Put(line, col::kStreet, Win1250("UL. al. Ul.Świętokrzyska 14 AL."));
            Put(line, col::kDocumentNumber, Win1250("FV Ż/ĄĘ/2024"));
            break;
        case 26:
            Put(line, col::kDocumentNumber, Win1250("Bardzo długi numer dokumentu Ś"));
            break;
        case 27:
            Put(line, col::kNip, Win1250("526-000-12-46"));
            break;
        case 28:
            Put(line, col::kNettoKpr, "1e308", true);
            break;
        case 29:
            Put(line, col::kDocumentDate, "-0011201");
            break;  // negative year
        case 30:
            Put(line, col::kKprCode, "-1", true);
            break;
        default:
            break;
    }
}

constexpr std::size_t kVariants = 31;
constexpr std::size_t kSpoiledEvery = 3;  // one document in three carries a variant

bool WriteExport(const std::string& path, std::size_t documents, int year, int firstMonth,
                 int months, std::size_t step) {
    trevo::testing::SyntheticExportOptions options;
    options.documents = documents;
    options.year = year;
    options.firstMonth = firstMonth;
    options.months = months;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (std::size_t i = 0; i < documents; i += step) {
        std::string line = trevo::testing::SyntheticDocumentLine(i, options);
        if (step == 1 && i % kSpoiledEvery == 1) {
            Spoil(line, (i / kSpoiledEvery) % kVariants);
        }
        out << line;
        // Line ends and lines of other kinds now and then; the last line has no end.
        if (i + step >= documents) {
            break;
        }
        out << (i % 101 == 7 ? "\n" : "\r\n");
        if (step == 1 && i % 211 == 13) {
            out << "\r\n";                           // an empty line
            out << std::string(100, 'K') << "\r\n";  // too short
            out << line << "nadmiar\r\n";            // too long
            out << std::string(509, ' ') << "\r\n";  // 509 spaces
        }
    }
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make_identity_exports OUTPUT_DIR [DOCUMENTS]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const std::size_t documents = argc == 3 ? std::strtoul(argv[2], nullptr, 10) : 3000;
    const bool written = WriteExport(dir + "/export-a.kpm", documents, 2024, 11, 4, 1) &&
                         WriteExport(dir + "/export-b.kpm", documents * 2 / 3, 2025, 3, 3, 1) &&
                         WriteExport(dir + "/seed.kpm", documents, 2024, 11, 4, 50);
    return written ? 0 : 1;
}
