#pragma once
// One run of the engine over a real ledger directory, and the period files it leaves, for the
// reliability tests.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/exportfile/ExportColumns.h"
#include "engine/files/FileSystem.h"
#include "engine/ledger/LedgerEntry.h"
#include "engine/ledger/PeriodFiles.h"
#include "engine/platform/TraceSink.h"
#include "engine/run/ConversionRun.h"
#include "engine/text/MessageFormat.h"
#include "engine/text/Win1250Literal.h"
#include "testing/ExportLineBuilder.h"
#include "testing/FakeClock.h"
#include "testing/MemoryTraceSink.h"
#include "testing/TempDirectory.h"

namespace trevo::reliability {

using namespace trevo::literals;
using Lines = std::vector<std::string>;
using Ledger = std::map<std::string, std::string>;  // file name → bytes

// Through a function: clang 14 crashes on a std::string constructed straight from a _w1250
// literal.
inline std::string Text(std::string_view bytes) {
    return std::string(bytes);
}
inline const std::string kEndLine = Text(" *** Koniec przetwarzania ***"_w1250);
inline const std::string kPeriodFailedLine = Text(" * błąd otwarcia okresu *"_w1250);
inline const std::string kReadFailedLine = Text("io Błąd odczytu z pliku "_w1250);

inline std::string CountLine(std::int64_t count) {
    return FormatMessage(" *** Ilość dokumentów %d"_w1250, {count});
}
inline std::string OpenFailedLine(const std::string& file) {
    return FormatMessage("Błąd otwarcia pliku %s !"_w1250, {file});
}
inline std::string AppendFailedLine(const std::string& file) {
    return FormatMessage("Błąd dopisania do pliku %s !"_w1250, {file});
}
inline std::string CloseFailedLine(const std::string& file) {
    return FormatMessage("Błąd zamknięcia pliku %s !"_w1250, {file});
}

// A document of type 0 whose amounts agree.
inline std::string Document(const std::string& yyyymmdd, const std::string& number) {
    namespace col = export_columns;
    return testing::ExportLineBuilder()
        .Date(yyyymmdd)
        .Number(number)
        .Company(testing::Win1250("Zakład Łódź"))
        .Amount(col::kNettoKpr, "12.50")
        .Amount(col::kNetto1, "12.50")
        .Line();
}

struct RunRecord {
    RunResult result;
    Lines trace;
};

inline RunRecord RunOnce(const std::string& exportPath, const std::string& ledgerDir,
                         FileSystem& fileSystem, RunProgress* progress = nullptr,
                         bool checkOnly = false) {
    testing::MemoryTraceSink trace;
    const testing::FakeClock clock;
    const CurrencyFormat money = CurrencyFormat::Polish();
    RunInputs inputs;
    inputs.exportPath = exportPath;
    inputs.ledgerDir = ledgerDir;
    inputs.checkOnly = checkOnly;
    const RunResult result = RunConversion(inputs, {trace, fileSystem, clock, money, progress});
    return {result, trace.Lines()};
}

// Every file of the directory with its bytes.
inline Ledger ReadLedger(const std::filesystem::path& dir) {
    Ledger ledger;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        ledger[entry.path().filename().string()] = testing::ReadFileBytes(entry.path().string());
    }
    return ledger;
}

inline std::int32_t SeqNoAt(const std::string& bytes, std::size_t record) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + record * 400);
    return static_cast<std::int32_t>(p[0] | p[1] << 8 | p[2] << 16 |
                                     static_cast<std::uint32_t>(p[3]) << 24);
}

inline void SetSeqNo(std::string& bytes, std::size_t record, std::int32_t seqNo) {
    const auto value = static_cast<std::uint32_t>(seqNo);
    for (int i = 0; i < 4; ++i) {
        bytes[record * 400 + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
    }
}

}  // namespace trevo::reliability
