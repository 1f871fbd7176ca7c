// gui_bench: the main window against the command line on the same synthetic export.
//
//   gui_bench [--documents N] [--rounds R] [--platform NAME] [--cli PATH] [--export PATH]
//             [--verify]
//
// Generates an export of N documents, then R times runs "trevo2kpr-cli convert --check" on it
// (trace to a file) and a check-only run in the main window, each in a process of its own so
// that every peak memory figure belongs to that program alone. Prints every round and the
// medians. Timings are reported, never judged. --export keeps the export file, for profiling
// one window round alone: gui_bench --window-round EXPORT RESULT_FILE.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/gui/RoundResults.h"
#include "bench/gui/WindowRound.h"
#include "bench/support/MachineInfo.h"
#include "testing/ProcessRunner.h"
#include "testing/SyntheticExport.h"
#include "testing/TempDirectory.h"

namespace {

using trevo::bench::CpuModel;
using trevo::bench::Median;
using trevo::bench::RoundResults;
using trevo::testing::ProcessResult;

struct Options {
    std::size_t documents = 100'000;
    int rounds = 5;
    std::string platform;
    std::string cli = TREVO_CLI_PATH;
    std::string exportPath;  // empty: a temporary file
    bool verify = false;
};

void PrintUsage() {
    std::fprintf(stderr,
                 "usage: gui_bench [--documents N] [--rounds R] [--platform NAME] [--cli PATH] "
                 "[--export PATH] [--verify]\n");
}

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        try {
            if (arg == "--documents" && hasValue) {
                options.documents = std::stoul(argv[++i]);
            } else if (arg == "--rounds" && hasValue) {
                options.rounds = std::max(1, std::stoi(argv[++i]));
            } else if (arg == "--platform" && hasValue) {
                options.platform = argv[++i];
            } else if (arg == "--cli" && hasValue) {
                options.cli = argv[++i];
            } else if (arg == "--export" && hasValue) {
                options.exportPath = argv[++i];
            } else if (arg == "--verify") {
                options.verify = true;
            } else {
                return std::nullopt;
            }
        } catch (...) {
            return std::nullopt;
        }
    }
    return options;
}

std::string SelfPath() {
    return std::filesystem::read_symlink("/proc/self/exe").string();
}

double Mib(double kb) {
    return kb / 1024.0;
}

std::size_t CountLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::size_t lines = 0;
    std::vector<char> block(1 << 20);
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            lines += block[static_cast<std::size_t>(i)] == '\n';
        }
    }
    return lines;
}

struct Round {
    ProcessResult cli;
    ProcessResult window;
    RoundResults figures;
};

std::optional<RoundResults> RunWindowProcess(const std::string& exportPath,
                                             const std::string& resultPath,
                                             const std::string& compareWith, ProcessResult& cost) {
    std::vector<std::string> args{"--window-round", exportPath, resultPath};
    if (!compareWith.empty()) {
        args.push_back(compareWith);
    }
    cost = trevo::testing::RunProcess(SelfPath(), args, {}, "/dev/null");
    if (cost.exitCode != 0) {
        return std::nullopt;
    }
    return RoundResults::Read(resultPath);
}

double Figure(const Round& round, const char* name) {
    return round.figures.Get(name).value_or(-1);
}

template <typename Pick>
double MedianOf(const std::vector<Round>& rounds, Pick&& pick) {
    std::vector<double> values;
    for (const Round& round : rounds) {
        values.push_back(pick(round));
    }
    return Median(values);
}

int RunBenchmark(const Options& options) {
    // The window needs a display: the offscreen platform unless one was asked for or exists.
    if (!options.platform.empty()) {
        setenv("QT_QPA_PLATFORM", options.platform.c_str(), 1);
    } else if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }

    const trevo::testing::TempDirectory work;
    const std::string exportPath =
        options.exportPath.empty() ? work.File("eksp2kap.kpm") : options.exportPath;
    const std::string cliTrace = work.File("cli-trace.txt");

    std::printf("machine: %u CPUs, %s\n", std::thread::hardware_concurrency(), CpuModel().c_str());
    trevo::testing::SyntheticExportOptions exportOptions;
    exportOptions.documents = options.documents;
    const auto generateStart = std::chrono::steady_clock::now();
    if (!trevo::testing::WriteSyntheticExport(exportPath, exportOptions)) {
        std::fprintf(stderr, "cannot write %s\n", exportPath.c_str());
        return 1;
    }
    const double generateSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - generateStart).count();
    std::printf("export: %zu documents, %.1f MiB, generated in %.2f s\n", options.documents,
                static_cast<double>(std::filesystem::file_size(exportPath)) / (1 << 20),
                generateSeconds);

    std::vector<Round> rounds;
    for (int r = 1; r <= options.rounds; ++r) {
        Round round;
        std::fflush(stdout);
        // Alternating the two programs spreads any load of the machine over both.
        round.cli = trevo::testing::RunProcess(options.cli, {"convert", "--check", exportPath}, {},
                                               cliTrace);
        if (round.cli.exitCode != 0) {
            std::fprintf(stderr, "%s failed (exit %d)\n", options.cli.c_str(), round.cli.exitCode);
            return 1;
        }
        const auto figures =
            RunWindowProcess(exportPath, work.File("window-round.txt"), {}, round.window);
        if (!figures) {
            std::fprintf(stderr, "the window round failed (exit %d)\n", round.window.exitCode);
            return 1;
        }
        round.figures = *figures;
        if (r == 1) {
            std::printf(
                "platform: %s; trace lines: command line %zu, window pane %.0f; "
                "documents counted by the window %.0f\n",
                round.figures.Text("platform").c_str(), CountLines(cliTrace),
                Figure(round, "lines"), Figure(round, "documents"));
        }
        std::printf(
            "round %d: cli %.3f s %.1f MiB | window run %.3f s (returned %.3f s), process %.1f MiB,"
            " run peak %.1f MiB (+%.1f) | scroll top %.1f mid %.1f end %.1f ms, repaint %.1f ms,"
            " ctrl+home %.1f ctrl+end %.1f pgdn %.1f pgup %.1f ms\n",
            r, round.cli.seconds, Mib(static_cast<double>(round.cli.maxRssKiB)),
            Figure(round, "run_painted_ms") / 1000, Figure(round, "run_returned_ms") / 1000,
            Mib(static_cast<double>(round.window.maxRssKiB)), Mib(Figure(round, "run_peak_rss_kb")),
            Mib(Figure(round, "run_peak_rss_kb") - Figure(round, "rss_before_run_kb")),
            Figure(round, "scroll_top_ms"), Figure(round, "scroll_middle_ms"),
            Figure(round, "scroll_end_ms"), Figure(round, "repaint_ms"),
            Figure(round, "key_ctrl_home_ms"), Figure(round, "key_ctrl_end_ms"),
            Figure(round, "key_page_down_ms"), Figure(round, "key_page_up_ms"));
        std::fflush(stdout);
        if (Figure(round, "questions") != 1 || Figure(round, "other_contacts") != 0) {
            std::fprintf(stderr, "the window round did not run as planned\n");
            return 1;
        }
        rounds.push_back(round);
    }

    const double cliSeconds = MedianOf(rounds, [](const Round& r) { return r.cli.seconds; });
    const double windowSeconds =
        MedianOf(rounds, [](const Round& r) { return Figure(r, "run_painted_ms") / 1000; });
    auto median = [&](const char* name) {
        return MedianOf(rounds, [name](const Round& r) { return Figure(r, name); });
    };
    std::printf("\nmedians of %d rounds, %zu documents, platform %s:\n", options.rounds,
                options.documents, rounds.front().figures.Text("platform").c_str());
    std::printf("  command line: %.3f s, peak %.1f MiB\n", cliSeconds,
                Mib(MedianOf(rounds, [](const Round& r) { return double(r.cli.maxRssKiB); })));
    std::printf(
        "  window: %.3f s from the action to the painted end of the run (%.3f s to the "
        "action's return)\n",
        windowSeconds, median("run_returned_ms") / 1000);
    std::printf(
        "  window process peak %.1f MiB; during the run %.1f MiB, %.1f MiB above the "
        "shown window\n",
        Mib(MedianOf(rounds, [](const Round& r) { return double(r.window.maxRssKiB); })),
        Mib(median("run_peak_rss_kb")), Mib(MedianOf(rounds, [](const Round& r) {
            return Figure(r, "run_peak_rss_kb") - Figure(r, "rss_before_run_kb");
        })));
    std::printf("  ratio window / command line: %.2f\n", windowSeconds / cliSeconds);
    std::printf(
        "  trace pane: %.0f lines; scroll to top %.1f ms, middle %.1f ms, end %.1f ms; "
        "repaint %.1f ms\n",
        median("lines"), median("scroll_top_ms"), median("scroll_middle_ms"),
        median("scroll_end_ms"), median("repaint_ms"));
    std::printf("  keys: Ctrl+Home %.1f ms, Page Down %.1f ms, Ctrl+End %.1f ms, Page Up %.1f ms\n",
                median("key_ctrl_home_ms"), median("key_page_down_ms"), median("key_ctrl_end_ms"),
                median("key_page_up_ms"));

    if (options.verify) {
        std::fflush(stdout);
        ProcessResult cost;
        const auto check =
            RunWindowProcess(exportPath, work.File("window-verify.txt"), cliTrace, cost);
        const bool same = check && check->Get("trace_matches_cli").value_or(0) == 1;
        std::printf("  pane text equals the command line's trace: %s\n", same ? "yes" : "NO");
        if (!same) {
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "--window-round") {
        trevo::bench::WindowRoundOptions round;
        round.exportPath = argv[2];
        round.resultPath = argv[3];
        if (argc >= 5) {
            round.compareWithCliTrace = argv[4];
        }
        return trevo::bench::RunWindowRound(argc, argv, round);
    }
    const auto options = ParseOptions(argc, argv);
    if (!options) {
        PrintUsage();
        return 2;
    }
    return RunBenchmark(*options);
}
