// Writes the seed corpora of the fuzz targets into the folder given (fuzz/corpus): a few
// documents and texts each, covering the forms the targets must handle.
//   make_fuzz_seeds fuzz/corpus

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/exportfile/ExportColumns.h"
#include "engine/text/zdTransPL.h"
#include "testing/ExportLineBuilder.h"
#include "testing/SyntheticExport.h"
#include "testing/TempDirectory.h"

namespace {

namespace col = trevo::export_columns;
using trevo::testing::ExportLineBuilder;
using trevo::testing::Win1250;

std::string Synthetic(std::size_t index) {
    trevo::testing::SyntheticExportOptions options;
    options.documents = 50;
    return trevo::testing::SyntheticDocumentLine(index, options);
}

// Odd values in every reader: hexadecimal and signed integers, exponents beyond range, partial
// dates, street prefixes, a code outside one byte.
std::string OddDocument() {
    return ExportLineBuilder()
        .Date("2024-1-2")
        .Number(Win1250("FV/ŻÓŁĆ/1"))
        .Company(Win1250("Zakład \"Łódź\""))
        .Street(Win1250("UL.AL. Róż ul. 5"))
        .City(Win1250("Częstochowa"))
        .KprCode("-1")
        .Marker("2")
        .Nip("$1F")
        .CountryPrefix("pl")
        .Type("x1")
        .SecondDate("20a8")
        .Amount(col::kNettoKpr, "9E999")
        .Amount(col::kNetto1, "1E-400")
        .Amount(col::kNetto2, ".")
        .Amount(col::kNetto3, "-.5e+3")
        .Amount(col::kVat1, "1 234.56")
        .Amount(col::kVat2, "1234,56")
        .Amount(col::kNettoOther, "+")
        .Line();
}

void Write(const std::filesystem::path& dir, const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(dir);
    trevo::testing::WriteFileBytes((dir / name).string(), bytes);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds CORPUS_DIR\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];

    const auto run = root / "fuzz_conversion_run";
    Write(run, "three-documents-crlf",
          Synthetic(0) + "\r\n" + Synthetic(1) + "\r\n" + Synthetic(2) + "\r\n");
    Write(run, "line-ends-and-lengths",
          Synthetic(3) + "\n" + std::string(509, ' ') + "\n" + std::string(511, ' ') + "\r\n\r\n" +
              Synthetic(4).substr(0, 200) + "\r" + Synthetic(4).substr(200) + "\r\n" +
              Synthetic(5));
    Write(run, "rejected-marked-and-end-of-text",
          Synthetic(17) + "\r\n" + Synthetic(23) + "\r\n" + OddDocument() + "\x1A" + "tail\r\n" +
              Synthetic(31) + "\r\n\x1A" + Synthetic(6));

    const auto mapping = root / "fuzz_document_mapping";
    Write(mapping, "plain", Synthetic(0));
    Write(mapping, "type-one", Synthetic(3));
    Write(mapping, "rejected-type", Synthetic(17));
    Write(mapping, "amounts-disagree", Synthetic(23));
    Write(mapping, "foreign-prefix-with-letters", Synthetic(31) + "AR");
    Write(mapping, "odd-values", OddDocument());

    const auto letters = root / "fuzz_polish_letters";
    Write(letters, "phrase-win1250", Win1250("Zażółć gęślą jaźń ZAŻÓŁĆ GĘŚLĄ JAŹŃ"));
    std::string rows;
    for (const auto& row : trevo::PolishLetterTable) {
        rows.append(reinterpret_cast<const char*>(row + 1), trevo::kPolishLetterCount);
    }
    Write(letters, "all-rows", rows);
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
        bytes += static_cast<char>(b);
    }
    Write(letters, "every-byte", bytes);
    return 0;
}
