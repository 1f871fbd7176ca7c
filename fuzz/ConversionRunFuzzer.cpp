// A whole check-only run over arbitrary export bytes. The line reader is compared with a plain
// model of the reading rules, and the run's trace with what the lines must give.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/exportfile/ExportLineReader.h"
#include "engine/files/FileSystem.h"
#include "engine/mapping/DocumentMapper.h"
#include "engine/platform/TraceSink.h"
#include "engine/run/ConversionRun.h"
#include "engine/text/MessageFormat.h"
#include "engine/text/Win1250Literal.h"
#include "fuzz/FuzzCheck.h"
#include "testing/FakeClock.h"
#include "testing/MemoryTraceSink.h"
#include "testing/RefusingFileSystem.h"

namespace trevo::fuzz {
namespace {

using namespace trevo::literals;

// Hands out at most `chunk` bytes a read, so that lines and CR LF pairs straddle reads.
class ChunkedInputFile final : public InputFile {
  public:
    ChunkedInputFile(std::string_view bytes, std::size_t chunk) : bytes_(bytes), chunk_(chunk) {}

    FileResult<std::size_t> Read(char* buffer, std::size_t capacity) override {
        const std::size_t n = std::min({capacity, chunk_, bytes_.size() - pos_});
        std::memcpy(buffer, bytes_.data() + pos_, n);
        pos_ += n;
        return n;
    }
    std::uint64_t SizeAtOpen() const override { return bytes_.size(); }

  private:
    std::string_view bytes_;
    std::size_t chunk_;
    std::size_t pos_ = 0;
};

// Serves the export file; a check-only run must never reach a ledger file.
class ExportOnlyFileSystem final : public testing::RefusingFileSystem {
  public:
    ExportOnlyFileSystem(std::string_view bytes, std::size_t chunk)
        : bytes_(bytes), chunk_(chunk) {}

    bool FileExists(const std::string&) override { return true; }
    FileResult<std::unique_ptr<RecordFile>> OpenOrCreateRecordFile(const std::string&) override {
        Require(false, "a check-only run opened a ledger file");
        return Refused();
    }
    FileResult<std::unique_ptr<InputFile>> OpenForReading(const std::string&) override {
        return std::unique_ptr<InputFile>(std::make_unique<ChunkedInputFile>(bytes_, chunk_));
    }

  private:
    std::string_view bytes_;
    std::size_t chunk_;
};

// The reading rules, written as plainly as they are stated.
std::vector<std::string> ModelLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < bytes.size() && bytes[i] != 26) {
        std::string line;
        bool textEnded = false;
        while (i < bytes.size()) {
            const char c = bytes[i++];
            if (c == 10) {
                break;
            }
            if (c == 13) {
                if (i < bytes.size() && bytes[i] == 10) {
                    ++i;
                    break;
                }
                continue;  // a lone CR is dropped
            }
            if (c == 26) {
                textEnded = true;
            } else if (!textEnded) {
                line += c;
            }
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

void CheckReader(std::string_view bytes, const std::vector<std::string>& model,
                 std::size_t bufferSize) {
    ChunkedInputFile file(bytes, bytes.size() + 1);
    ExportLineReader reader(file, bufferSize);
    for (const std::string& expected : model) {
        Require(reader.ReadExportLine() == ExportLineReader::Status::Line, "a line is missing");
        Require(reader.LineLength() == expected.size(), "line length differs from the model");
        Require(reader.Line() == std::string_view(expected).substr(0, kExportLineLength),
                "line bytes differ from the model");
    }
    Require(reader.ReadExportLine() == ExportLineReader::Status::EndOfInput, "a line too many");
    Require(reader.ReadExportLine() == ExportLineReader::Status::EndOfInput,
            "the end of input does not last");
}

bool StartsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

void CheckRun(std::string_view bytes, const std::vector<std::string>& model, std::size_t chunk,
              PolishCharset ledgerCode) {
    const testing::FakeClock clock;
    const CurrencyFormat money = CurrencyFormat::Polish();
    ExportOnlyFileSystem files(bytes, chunk);
    testing::MemoryTraceSink trace;
    RunInputs inputs;
    inputs.exportPath = "eksp2kap.kpm";
    inputs.ledgerCode = ledgerCode;
    inputs.checkOnly = true;
    inputs.attributeLetter = 'A';
    const RunResult result = RunConversion(inputs, {trace, files, clock, money});
    Require(result.outcome == RunOutcome::Completed, "a check-only run did not complete");
    Require(!result.closeFailed, "a check-only run failed to close");

    // The documents a mapper of its own accepts.
    testing::NullTraceSink quiet;
    DocumentMapper mapper({ledgerCode, 'A', 0}, quiet, clock, money);
    LedgerEntry entry;
    std::int64_t accepted = 0;
    for (const std::string& line : model) {
        accepted += line.size() == kExportLineLength && mapper.MapDocument(line, entry) ? 1 : 0;
    }
    Require(result.documentCount == accepted, "the count differs from the accepted documents");

    const auto& lines = trace.Lines();
    Require(lines.size() >= 6, "the trace is too short");
    Require(lines[0] == " *** Procedura sprawdzająca (BEZ ZAPISU ) ***"_w1250, "no banner");
    Require(lines[1] == " *** Rozpoczynam konwersję ..."_w1250, "no start line");
    const std::size_t n = lines.size();
    Require(lines[n - 1] == " *** Koniec procedury sprawdzającej (BEZ ZAPISU ) ***"_w1250,
            "no closing line");
    Require(lines[n - 2] == FormatMessage(" *** Ilość dokumentów %d"_w1250, {accepted}),
            "no count line");
    Require(lines[n - 3] == "\r\nOsiągnięto fizyczny koniec pliku "_w1250, "no end line");
    const auto empty = std::count(lines.begin(), lines.end(), std::string());
    Require(static_cast<std::size_t>(empty) == model.size() + 1, "not one empty line per read");
    const auto documents = std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
        return StartsWith(l, "* Dokument nr:");
    });
    Require(documents == accepted, "not one document line per accepted document");
}

}  // namespace
}  // namespace trevo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace trevo;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto model = fuzz::ModelLines(bytes);
    fuzz::CheckReader(bytes, model, 1 + size % 13);
    fuzz::CheckReader(bytes, model, 64 * 1024);
    fuzz::CheckRun(bytes, model, 1 + size % 509,
                   size % 2 == 0 ? PolishCharset::pcMazovia : PolishCharset::pcCp852);
    return 0;
}
