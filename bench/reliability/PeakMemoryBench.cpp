// Peak memory of the command line over large files: exports with one line of 1 GiB, and 1,000
// against 1,000,000 documents, check-only and writing; a period file of 2 GiB of zeros (sparse)
// shown and verified. Each figure is the peak resident set of the child process alone
// (ru_maxrss). The files are made in a temporary directory and removed.
//   peak_memory_bench [--line-mib N] [--documents N[,N...]] [--period-mib N]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "testing/ChildPeakMemory.h"
#include "testing/LongLineExport.h"
#include "testing/SyntheticExport.h"
#include "testing/TempDirectory.h"

namespace {

using trevo::testing::MeasureChildPeak;

void Report(const std::string& what, const std::string& file,
            const std::vector<std::string>& args) {
    const auto start = std::chrono::steady_clock::now();
    const auto peak = MeasureChildPeak(TREVO_CLI_PATH, args);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double mib = static_cast<double>(std::filesystem::file_size(file)) / (1 << 20);
    std::printf("%-34s %10.1f MiB input  peak %7.2f MiB  %7.2f s  exit %d\n", what.c_str(), mib,
                static_cast<double>(peak.maxRssKiB) / 1024, seconds, peak.exitCode);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    unsigned long lineMiB = 1024;
    std::vector<std::size_t> documents = {1'000, 1'000'000};
    unsigned long periodMiB = 2048;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--line-mib") {
            lineMiB = std::strtoul(argv[i + 1], nullptr, 10);
        } else if (option == "--period-mib") {
            periodMiB = std::strtoul(argv[i + 1], nullptr, 10);
        } else if (option == "--documents") {
            documents.clear();
            std::stringstream list(argv[i + 1]);
            for (std::string item; std::getline(list, item, ',');) {
                documents.push_back(std::stoul(item));
            }
        }
    }

    trevo::testing::TempDirectory dir;
    const std::string longLine = dir.File("long-line.kpm");
    const std::string shortLine = dir.File("short-line.kpm");
    trevo::testing::WriteLongLineExport(shortLine, 510);
    Report("check, 510-byte middle line", shortLine, {"convert", "--check", shortLine});
    if (!trevo::testing::WriteLongLineExport(longLine, std::uint64_t{lineMiB} << 20)) {
        std::fprintf(stderr, "cannot write %s\n", longLine.c_str());
        return 1;
    }
    Report("check, " + std::to_string(lineMiB) + " MiB middle line", longLine,
           {"convert", "--check", longLine});
    std::filesystem::remove(longLine);

    for (const std::size_t n : documents) {
        const std::string path = dir.File(std::to_string(n) + ".kpm");
        trevo::testing::SyntheticExportOptions options;
        options.documents = n;
        options.months = 12;
        if (!trevo::testing::WriteSyntheticExport(path, options)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        Report("check, " + std::to_string(n) + " documents", path, {"convert", "--check", path});
        const std::string ledger = dir.File("ledger-" + std::to_string(n));
        std::filesystem::create_directory(ledger);
        Report("write, " + std::to_string(n) + " documents", path, {"convert", path, ledger});
        std::filesystem::remove_all(ledger);
        std::filesystem::remove(path);
    }

    const std::string ledger = dir.File("FIRMA1");
    std::filesystem::create_directory(ledger);
    const std::string period = ledger + "/2024ORMEK.1";
    std::FILE* created = std::fopen(period.c_str(), "wb");
    if (created == nullptr || std::fclose(created) != 0) {
        std::fprintf(stderr, "cannot write %s\n", period.c_str());
        return 1;
    }
    std::filesystem::resize_file(period, (std::uint64_t{periodMiB} << 20) / 400 * 400);
    const std::string zeros = std::to_string(periodMiB) + " MiB of zeros";
    Report("verify, " + zeros, period, {"verify", ledger});
    for (const char* format : {"text", "csv", "json"}) {
        Report("show " + std::string(format) + ", " + zeros, period,
               {"show", "--format", format, period});
    }
    return 0;
}
