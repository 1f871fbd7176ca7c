// engine_bench: the speed and memory of a conversion run against the floor of its file work.
//
//   engine_bench [--documents N] [--runs R]
//
// Makes a synthetic export of N documents (default 100,000) in a temporary directory and then,
// R times (default 5), measures three phases one after another:
//   floor   - the export read line by line plus N record appends, without mapping (IoFloor.h);
//   check   - a check-only run whose trace goes to a sink that keeps nothing;
//   write   - a writing run into a fresh ledger directory on the real file system.
// It prints documents per second (medians over the runs), each run's time against the floor's,
// and the peak resident memory of every phase. Timings are reported, never judged.

#include <sys/resource.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/engine/IoFloor.h"
#include "bench/support/MachineInfo.h"
#include "bench/support/PeakMemory.h"
#include "engine/files/FileSystem.h"
#include "engine/platform/Clock.h"
#include "engine/platform/TraceSink.h"
#include "engine/run/ConversionRun.h"
#include "engine/text/CurrencyFormat.h"
#include "testing/MemoryTraceSink.h"
#include "testing/SyntheticExport.h"
#include "testing/TempDirectory.h"

namespace trevo::bench {

namespace {

struct Options {
    std::size_t documents = 100'000;
    int runs = 5;
};

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&](auto& out) {
            if (i + 1 >= argc) {
                return false;
            }
            const std::string_view text = argv[++i];
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
            return error == std::errc() && end == text.data() + text.size() && out > 0;
        };
        if (arg == "--documents" || arg == "-n") {
            if (!value(options.documents)) {
                return std::nullopt;
            }
        } else if (arg == "--runs" || arg == "-r") {
            if (!value(options.runs)) {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    return options;
}

double ToSeconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

struct Sample {
    double seconds = 0;
    double userSeconds = 0;
    double systemSeconds = 0;
    std::optional<std::uint64_t> peakKiB;   // of this phase alone, when it can be told apart
    std::optional<std::uint64_t> startKiB;  // resident at the start of the phase

    double UserSeconds() const { return userSeconds; }
    double SystemSeconds() const { return systemSeconds; }
    double CpuSeconds() const { return userSeconds + systemSeconds; }
};

// Runs `phase` once, timing it and taking the peak resident memory it reached.
Sample Measure(const std::function<bool()>& phase, bool canResetPeak, bool& ok) {
    Sample sample;
    if (canResetPeak) {
        ResetPeakResident();
        sample.startKiB = CurrentResidentKiB();
    }
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    const auto start = std::chrono::steady_clock::now();
    ok = phase();
    const auto stop = std::chrono::steady_clock::now();
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    sample.seconds = std::chrono::duration<double>(stop - start).count();
    sample.userSeconds = ToSeconds(after.ru_utime) - ToSeconds(before.ru_utime);
    sample.systemSeconds = ToSeconds(after.ru_stime) - ToSeconds(before.ru_stime);
    if (canResetPeak) {
        sample.peakKiB = PeakResidentKiB();
    }
    return sample;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

struct Phase {
    const char* name;
    std::vector<Sample> samples;

    std::vector<double> Seconds() const {
        std::vector<double> out;
        for (const auto& s : samples) {
            out.push_back(s.seconds);
        }
        return out;
    }
    double MedianOf(double (Sample::*field)() const) const {
        std::vector<double> out;
        for (const auto& s : samples) {
            out.push_back((s.*field)());
        }
        return Median(out);
    }
    std::optional<std::uint64_t> MaxPeakKiB() const {
        std::optional<std::uint64_t> peak;
        for (const auto& s : samples) {
            if (s.peakKiB) {
                peak = std::max(peak.value_or(0), *s.peakKiB);
            }
        }
        return peak;
    }
    // How far the peak rose above the resident size the phase started with, at most.
    std::optional<std::uint64_t> MaxRiseKiB() const {
        std::optional<std::uint64_t> rise;
        for (const auto& s : samples) {
            if (s.peakKiB && s.startKiB) {
                const std::uint64_t r = *s.peakKiB > *s.startKiB ? *s.peakKiB - *s.startKiB : 0;
                rise = std::max(rise.value_or(0), r);
            }
        }
        return rise;
    }
};

std::uint64_t DirectoryBytes(const std::filesystem::path& dir) {
    std::uint64_t total = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        total += entry.file_size();
    }
    return total;
}

int Run(const Options& options) {
    std::printf("engine_bench: %zu documents, %d runs\n", options.documents, options.runs);
    std::printf("machine: %u cores, %s\n", std::thread::hardware_concurrency(), CpuModel().c_str());
#ifndef __OPTIMIZE__
    std::printf("WARNING: built without optimisation; the figures mean little\n");
#endif

    const testing::TempDirectory temp;
    const std::string exportPath = temp.File("eksp2kap.kpm");
    testing::SyntheticExportOptions exportOptions;
    exportOptions.documents = options.documents;
    const auto genStart = std::chrono::steady_clock::now();
    if (!testing::WriteSyntheticExport(exportPath, exportOptions)) {
        std::fprintf(stderr, "engine_bench: cannot write %s\n", exportPath.c_str());
        return 1;
    }
    const double genSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - genStart).count();
    std::printf("export: %s, %.1f MB, made in %.2f s (%d months)\n", exportPath.c_str(),
                static_cast<double>(std::filesystem::file_size(exportPath)) / 1e6, genSeconds,
                exportOptions.months);

    const bool canResetPeak = ResetPeakResident();
    if (!canResetPeak) {
        std::printf("note: /proc/self/clear_refs is not writable; per-phase peaks unavailable\n");
    }
    std::printf(
        "floor: read(2) of the export in 64 KiB blocks split at LF, then %zu appends of 400 bytes "
        "to one file, each lseek(SEEK_END) + pwrite(2)\n\n",
        options.documents);

    FileSystem& fileSystem = LocalFileSystem();
    const SystemClock clock;
    const CurrencyFormat money = CurrencyFormat::Polish();

    Phase floor{"floor", {}};
    Phase check{"check-only", {}};
    Phase write{"writing run", {}};
    std::int64_t checkCount = -1;

    for (int run = 1; run <= options.runs; ++run) {
        bool ok = true;
        const std::string floorFile = temp.File("floor-records");
        floor.samples.push_back(Measure(
            [&] {
                const auto lines = ReadLines(exportPath);
                return lines && lines->lines == options.documents &&
                       AppendRecords(floorFile, options.documents);
            },
            canResetPeak, ok));
        std::filesystem::remove(floorFile);
        if (!ok) {
            std::fprintf(stderr, "engine_bench: the floor phase failed\n");
            return 1;
        }

        testing::NullTraceSink nullTrace;
        RunInputs checkInputs;
        checkInputs.exportPath = exportPath;
        checkInputs.checkOnly = true;
        RunResult checkResult;
        check.samples.push_back(Measure(
            [&] {
                checkResult = RunConversion(checkInputs, {nullTrace, fileSystem, clock, money});
                return checkResult.outcome == RunOutcome::Completed;
            },
            canResetPeak, ok));
        if (!ok) {
            std::fprintf(stderr, "engine_bench: the check-only run did not complete\n");
            return 1;
        }
        checkCount = checkResult.documentCount;

        const std::filesystem::path ledgerDir = temp.Path() / ("ledger-" + std::to_string(run));
        std::filesystem::create_directory(ledgerDir);
        testing::NullTraceSink writeTrace;
        RunInputs writeInputs;
        writeInputs.exportPath = exportPath;
        writeInputs.ledgerDir = ledgerDir.string();
        RunResult writeResult;
        write.samples.push_back(Measure(
            [&] {
                writeResult = RunConversion(writeInputs, {writeTrace, fileSystem, clock, money});
                return writeResult.outcome == RunOutcome::Completed && !writeResult.closeFailed;
            },
            canResetPeak, ok));
        const std::uint64_t ledgerBytes = DirectoryBytes(ledgerDir);
        std::filesystem::remove_all(ledgerDir);
        if (!ok || writeResult.documentCount != checkCount ||
            ledgerBytes != static_cast<std::uint64_t>(checkCount) * 400) {
            std::fprintf(stderr, "engine_bench: the writing run did not book every document\n");
            return 1;
        }

        const double f = floor.samples.back().seconds;
        const double fc = floor.samples.back().CpuSeconds();
        std::printf(
            "run %d: floor %.3f s (cpu %.3f), check-only %.3f s (%.2f x, cpu %.2f x), writing "
            "%.3f s (%.2f x, cpu %.2f x)\n",
            run, f, fc, check.samples.back().seconds, check.samples.back().seconds / f,
            check.samples.back().CpuSeconds() / fc, write.samples.back().seconds,
            write.samples.back().seconds / f, write.samples.back().CpuSeconds() / fc);
    }

    const double floorMedian = Median(floor.Seconds());
    std::printf("\n%lld of %zu documents booked (the rest are rejected by design)\n",
                static_cast<long long>(checkCount), options.documents);
    // CPU time (user + system) is reported beside the wall time: on a machine shared with other
    // work it varies far less.
    const double floorCpu = floor.MedianOf(&Sample::CpuSeconds);
    std::printf("%-12s %9s %10s %8s %8s %8s %8s %8s %13s %9s\n", "phase", "wall s", "docs/s",
                "x floor", "cpu s", "x floor", "user s", "sys s", "peak RSS MiB", "rise KiB");
    for (const Phase* phase : {&floor, &check, &write}) {
        const double seconds = Median(phase->Seconds());
        const double cpu = phase->MedianOf(&Sample::CpuSeconds);
        const auto peak = phase->MaxPeakKiB();
        const auto rise = phase->MaxRiseKiB();
        char peakText[32] = "n/a";
        char riseText[32] = "n/a";
        if (peak) {
            std::snprintf(peakText, sizeof peakText, "%.1f", static_cast<double>(*peak) / 1024);
        }
        if (rise) {
            std::snprintf(riseText, sizeof riseText, "%llu",
                          static_cast<unsigned long long>(*rise));
        }
        std::printf("%-12s %9.3f %10.0f %8.2f %8.3f %8.2f %8.3f %8.3f %13s %9s\n", phase->name,
                    seconds, static_cast<double>(options.documents) / seconds,
                    seconds / floorMedian, cpu, cpu / floorCpu,
                    phase->MedianOf(&Sample::UserSeconds), phase->MedianOf(&Sample::SystemSeconds),
                    peakText, riseText);
    }
    std::printf("process peak RSS (ru_maxrss, generation included): %.1f MiB\n",
                static_cast<double>(ProcessMaxResidentKiB()) / 1024);
    std::printf(
        "goals: check-only at most 1.0 x floor, writing run at most 1.5 x floor, memory flat in "
        "N\n");
    return 0;
}

}  // namespace

}  // namespace trevo::bench

int main(int argc, char** argv) {
    const auto options = trevo::bench::ParseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: engine_bench [--documents N] [--runs R]\n");
        return 2;
    }
    return trevo::bench::Run(*options);
}
