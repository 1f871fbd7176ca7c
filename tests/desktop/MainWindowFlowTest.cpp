// The main window's behaviour against a recording view, with the real engine, real files and a
// fixed clock and money format.

#include "desktop/MainWindowFlow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/files/FileSystem.h"
#include "engine/run/ConversionRun.h"
#include "engine/text/CurrencyFormat.h"
#include "engine/text/Win1250.h"
#include "testing/ExportLineBuilder.h"
#include "testing/FakeClock.h"
#include "testing/MemoryTraceSink.h"
#include "testing/TempDirectory.h"

namespace trevo::desktop {
namespace {

// Records what the flow asks of the window, in order, and answers as told.
class RecordingView final : public MainWindowView {
  public:
    WindowInputs inputs;
    std::vector<std::string> calls;
    std::vector<std::string> trace;  // UTF-8 lines
    std::vector<std::string> questions;
    std::vector<std::string> messages;
    std::vector<std::string> errors;
    StatusText status;
    bool answer = false;
    std::optional<bool> bookedAnswer = false;
    std::optional<std::string> picked;
    int workDepth = 0;
    // Called inside a question before it is answered, and while work shows progress.
    std::function<void()> whileAsking;
    std::function<void()> whileWorking;

    WindowInputs Inputs() const override { return inputs; }
    void SetExportPath(const std::string& path) override { inputs.exportPath = path; }
    void SetLedgerDir(const std::string& dir) override { inputs.ledgerDir = dir; }
    void Beep() override { calls.push_back("beep"); }
    void Focus(InputBox box) override {
        calls.push_back("focus " + std::to_string(static_cast<int>(box)));
    }
    void ShowStatus(const StatusText& shown) override { status = shown; }
    bool AskYesNo(const std::string& caption, const std::string& text,
                  const std::string&) override {
        EXPECT_EQ(workDepth, 0);
        calls.push_back("ask " + caption);
        questions.push_back(text);
        if (whileAsking) {
            whileAsking();
        }
        return answer;
    }
    std::optional<bool> AskYesNoCancel(const std::string& caption,
                                       const std::string& text) override {
        calls.push_back("ask " + caption);
        questions.push_back(text);
        return bookedAnswer;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void AppendTraceLines(std::string_view lines) override {
        std::string all = text::Win1250ToUtf8(lines);
        for (std::size_t start = 0;;) {
            const std::size_t end = all.find('\n', start);
            trace.push_back(all.substr(start, end - start));
            if (end == std::string::npos) {
                break;
            }
            start = end + 1;
        }
    }
    void ClearTrace() override { trace.clear(); }
    void Repaint() override { calls.push_back("repaint"); }
    void WorkStarts(const std::string& progress) override {
        ++workDepth;
        calls.push_back("work " + progress);
        if (whileWorking) {
            whileWorking();
        }
    }
    void WorkProgress(const std::string& progress) override {
        EXPECT_EQ(workDepth, 1);
        calls.push_back("progress " + progress);
        if (whileWorking) {
            whileWorking();
        }
    }
    void WorkEnds() override {
        --workDepth;
        calls.push_back("work ends");
    }
    void CloseLater() override { calls.push_back("close later"); }
    std::optional<std::string> PickCompanyDirectory(const std::string& ledgerDir,
                                                    PolishCharset code) override {
        calls.push_back("pick " + ledgerDir + " " + std::to_string(static_cast<int>(code)));
        if (!picked) {
            throw std::runtime_error("the picker failed");
        }
        return picked;
    }

    bool Called(const std::string& call) const {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
    bool Traced(const std::string& line) const {
        return std::find(trace.begin(), trace.end(), line) != trace.end();
    }
};

std::string Document(std::string_view number) {
    return testing::MarchDocument(number, "Firma") + "\r\n";
}

class MainWindowFlowTest : public ::testing::Test {
  protected:
    MainWindowFlowTest() {
        std::filesystem::create_directory(dir_.Path() / "FIRMA1");
        view_.inputs.exportPath = dir_.File("eksp2kap.kpm");
        view_.inputs.ledgerDir = dir_.File("FIRMA1");
        view_.answer = true;
    }
    void Export(std::initializer_list<std::string_view> numbers) {
        std::string bytes;
        for (const std::string_view number : numbers) {
            bytes += Document(number);
        }
        testing::WriteFileBytes(dir_.File("eksp2kap.kpm"), bytes);
    }
    // As the run names it: the ledger directory, the platform's separator, the file.
    std::string PeriodFile() const { return (dir_.Path() / "FIRMA1" / "2024ORMEK.3").string(); }
    std::uintmax_t March() const {
        return std::filesystem::exists(PeriodFile()) ? std::filesystem::file_size(PeriodFile()) : 0;
    }
    // Another converter booking `number` into the ledger.
    void BookElsewhere(std::string_view number) {
        testing::WriteFileBytes(dir_.File("inny.kpm"), Document(number));
        RunInputs inputs;
        inputs.exportPath = dir_.File("inny.kpm");
        inputs.ledgerDir = dir_.File("FIRMA1");
        testing::MemoryTraceSink trace;
        ASSERT_EQ(RunConversion(inputs, {trace, LocalFileSystem(), clock_, money_}).outcome,
                  RunOutcome::Completed);
    }

    testing::TempDirectory dir_;
    testing::FakeClock clock_;
    const CurrencyFormat money_;
    RecordingView view_;
    MainWindowFlow flow_{view_, {LocalFileSystem(), &clock_, &money_}};
};

TEST_F(MainWindowFlowTest, RefusalBeepsFocusesTheBoxAndSaysWhyUntilTheNextAction) {
    view_.inputs.exportPath = dir_.File("brak.kpm");
    flow_.Convert();
    EXPECT_EQ(view_.calls, (std::vector<std::string>{"beep", "focus 0"}));
    EXPECT_EQ(view_.status.text,
              "Plik Exp2Kap.kpm: nie ma takiego pliku: " + dir_.File("brak.kpm"));
    EXPECT_EQ(flow_.Status().text, view_.status.text);

    // Check-only needs no ledger directory; a writing run does.
    Export({"FV 1"});
    view_.inputs.exportPath = dir_.File("eksp2kap.kpm");
    view_.inputs.ledgerDir = dir_.File("BRAK");
    view_.calls.clear();
    flow_.Convert();
    EXPECT_EQ(view_.calls, (std::vector<std::string>{"beep", "focus 1"}));
    view_.inputs.ledgerDir.clear();
    view_.inputs.checkOnly = true;
    view_.answer = false;
    view_.calls.clear();
    flow_.Convert();
    EXPECT_EQ(view_.calls, (std::vector<std::string>{"ask Start ..."}));
    EXPECT_TRUE(view_.status.text.empty());  // the refusal went with the next action

    view_.inputs.attributeLetter = "ab";
    view_.calls.clear();
    flow_.Convert();
    EXPECT_EQ(view_.calls, (std::vector<std::string>{"beep", "focus 2"}));
    flow_.ClearTrace();
    EXPECT_TRUE(view_.status.text.empty());
}

TEST_F(MainWindowFlowTest, ConfirmationNoRunsNothingAndWritesNothing) {
    Export({"FV 1"});
    view_.answer = false;
    flow_.Convert();
    // The scan before the question, then the question; no run.
    EXPECT_EQ(view_.calls,
              (std::vector<std::string>{
                  "work Sprawdzanie, które dokumenty eksportu są już w KPR - proszę czekać…",
                  "work ends", "ask Start ..."}));
    EXPECT_TRUE(view_.trace.empty());
    EXPECT_FALSE(std::filesystem::exists(PeriodFile()));
    EXPECT_EQ(flow_.DocumentCount(), 0);
}

TEST_F(MainWindowFlowTest, WritingRunWritesThePeriodFileAndSummarisesAfterItsLastLine) {
    Export({"FV 1", "FV 2"});
    flow_.Convert();
    EXPECT_EQ(March(), 800u);
    EXPECT_EQ(flow_.DocumentCount(), 2);
    EXPECT_TRUE(view_.errors.empty());
    EXPECT_TRUE(view_.messages.empty());
    const auto end =
        std::find(view_.trace.begin(), view_.trace.end(), " *** Koniec przetwarzania ***");
    ASSERT_NE(end, view_.trace.end());
    ASSERT_GE(view_.trace.end() - end, 3);
    EXPECT_EQ(end[1], "");
    EXPECT_EQ(end[2], " *** Podsumowanie ***");
    EXPECT_EQ(view_.status.text,
              "Zaksięgowano 2 dok. w plikach: 1; odrzucone: 0; wartości zerowane: 0; "
              "już w KPR: 0; złe NIP: 2");
    EXPECT_EQ(view_.status.keptWhole, std::string("Zaksięgowano 2 dok. w plikach: 1").size());
    EXPECT_EQ(view_.workDepth, 0);
    EXPECT_FALSE(flow_.IsWorking());
}

TEST_F(MainWindowFlowTest, BookedQuestionCancelSkipsNothingYesSkipsNoBooksAgain) {
    Export({"FV 1"});
    flow_.Convert();
    ASSERT_EQ(March(), 400u);
    Export({"FV 1", "FV 2"});

    view_.bookedAnswer = std::nullopt;
    view_.calls.clear();
    flow_.Convert();
    EXPECT_TRUE(view_.Called("ask Dokumenty już w KPR"));
    EXPECT_FALSE(view_.Called("ask Start ..."));
    EXPECT_EQ(view_.questions.back().rfind("W KPR jest już 1 z 2 dokumentów tego eksportu", 0), 0u);
    EXPECT_NE(view_.questions.back().find("\"FV 1\""), std::string::npos);
    EXPECT_EQ(March(), 400u);

    view_.bookedAnswer = true;
    flow_.Convert();
    EXPECT_EQ(March(), 800u);  // "FV 2" only
    EXPECT_TRUE(view_.Traced("* Dokument nr \"FV 1\" jest już w KPR (" + PeriodFile() +
                             ", pozycja 1) - pominięty"))
        << ::testing::PrintToString(view_.trace);

    view_.bookedAnswer = false;
    flow_.Convert();
    EXPECT_EQ(March(), 1600u);  // both again
}

TEST_F(MainWindowFlowTest, BookedQuestionNamesFiveNumbersAndCountsTheRest) {
    Export({"FV/1", "FV/2", "FV/3", "FV/4", "FV/5", "FV/6", "FV/7"});
    flow_.Convert();
    view_.bookedAnswer = std::nullopt;
    flow_.Convert();
    EXPECT_EQ(view_.questions.back(),
              "W KPR jest już 7 z 7 dokumentów tego eksportu (ten sam numer, NIP i data):\n"
              "\"FV/1\", \"FV/2\", \"FV/3\", \"FV/4\", \"FV/5\" i 2 innych\n\n"
              "Pominąć je?\n"
              "Tak - pomiń je, Nie - zaksięguj je ponownie, Anuluj - nic nie rób.");
}

TEST_F(MainWindowFlowTest, FileChangedAfterTheQuestionIsNotWrittenAndSaidInAMessage) {
    Export({"FV 1"});
    flow_.Convert();
    Export({"FV 1", "FV 2"});
    view_.bookedAnswer = true;
    view_.whileAsking = [this] { BookElsewhere("FV 9"); };
    flow_.Convert();
    EXPECT_EQ(March(), 800u);  // the first run's and the other writer's
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_NE(view_.messages[0].find("zmienił się od pytania"), std::string::npos);
}

TEST_F(MainWindowFlowTest, ExportThatDoesNotOpenIsAMessageAndClearsTheDigest) {
    Export({"FV 1"});
    view_.inputs.checkOnly = true;
    flow_.Convert();
    ASSERT_FALSE(view_.status.text.empty());
    ASSERT_EQ(flow_.DocumentCount(), 1);
    const std::vector<std::string> before = view_.trace;

    view_.inputs.exportPath = dir_.File("gone.kpm");
    flow_.RunUnchecked();
    EXPECT_EQ(view_.messages, std::vector<std::string>{"Błąd otwarcia pliku epp \"" +
                                                       dir_.File("gone.kpm") + "\""});
    EXPECT_EQ(view_.trace, before);
    EXPECT_TRUE(view_.status.text.empty());
    EXPECT_EQ(flow_.DocumentCount(), 1);
}

TEST_F(MainWindowFlowTest, CloseAskedWhileWorkingWaitsUntilTheWorkHasEnded) {
    std::string bytes;
    for (int i = 0; i < 300; ++i) {
        bytes += Document("FV " + std::to_string(i));
    }
    testing::WriteFileBytes(dir_.File("eksp2kap.kpm"), bytes);
    view_.inputs.checkOnly = true;
    flow_.SetProgressTiming({std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
    int progressCalls = 0;
    bool closeAllowed = true;
    view_.whileWorking = [&] {
        EXPECT_TRUE(flow_.IsWorking());
        if (++progressCalls == 2) {
            closeAllowed = flow_.CloseRequested();
            flow_.Convert();  // ignored while the run works
            flow_.Undo();
        }
    };
    flow_.Convert();
    EXPECT_FALSE(closeAllowed);
    EXPECT_GT(progressCalls, 2);
    EXPECT_EQ(std::count(view_.calls.begin(), view_.calls.end(), "ask Start ..."), 1);
    EXPECT_EQ(std::count(view_.calls.begin(), view_.calls.end(), "close later"), 1);
    EXPECT_EQ(view_.calls.back(), "close later");  // after the run's messages and status
    EXPECT_EQ(flow_.DocumentCount(), 300);
    EXPECT_TRUE(view_.Traced(" *** Ilość dokumentów 300"));
    const auto progress =
        std::find_if(view_.calls.begin(), view_.calls.end(),
                     [](const std::string& c) { return c.starts_with("progress"); });
    ASSERT_NE(progress, view_.calls.end());
    EXPECT_TRUE(progress->starts_with("progress Konwersja: dokumentów "));
    EXPECT_TRUE(progress->ends_with("% pliku"));
    EXPECT_TRUE(flow_.CloseRequested());  // the window's close, now that the run has ended

    // Asked during the scan of a writing run: no questions follow, the window closes.
    view_.inputs.checkOnly = false;
    view_.calls.clear();
    view_.whileWorking = [this] { EXPECT_FALSE(flow_.CloseRequested()); };
    flow_.Convert();
    EXPECT_FALSE(view_.Called("ask Start ..."));
    EXPECT_EQ(view_.calls.back(), "close later");
    EXPECT_FALSE(std::filesystem::exists(PeriodFile()));
}

TEST_F(MainWindowFlowTest, UndoAsksFromTheCheckOnlyPlanAndIsRefusedWithoutARun) {
    flow_.Undo();  // nothing to undo: no question, a refusal in the status bar
    EXPECT_FALSE(view_.Called("ask Cofnięcie konwersji"));
    EXPECT_EQ(view_.status.text,
              "Cofnij ostatnią konwersję: w katalogu nie ma konwersji do cofnięcia");
    EXPECT_EQ(view_.trace.back(),
              "W katalogu " + dir_.File("FIRMA1") + " nie ma konwersji do cofnięcia");

    Export({"FV 1"});
    flow_.Convert();
    Export({"FV 2", "FV 3"});
    flow_.Convert();
    ASSERT_EQ(March(), 1200u);

    view_.answer = false;
    view_.calls.clear();
    flow_.Undo();
    EXPECT_EQ(view_.calls, (std::vector<std::string>{
                               "work Cofanie: sprawdzanie plików ostatniej konwersji - proszę "
                               "czekać…",
                               "work ends", "ask Cofnięcie konwersji"}));
    EXPECT_NE(view_.questions.back().find("2024ORMEK.3: zostałby skrócony z 1200 do 400 bajtów"),
              std::string::npos);
    EXPECT_EQ(March(), 1200u);

    view_.answer = true;
    flow_.Undo();
    EXPECT_EQ(March(), 400u);
    EXPECT_EQ(view_.status.text,
              "Cofnięto ostatnią konwersję: plików 1 (usuniętych 0), rekordów usuniętych 2");
    EXPECT_EQ(view_.trace[view_.trace.size() - 3], " *** Cofnięcie ostatniej konwersji ***");
    EXPECT_TRUE(view_.Called("work Cofanie ostatniej konwersji - proszę czekać…"));

    view_.inputs.ledgerDir = dir_.File("BRAK");
    view_.calls.clear();
    flow_.Undo();
    EXPECT_EQ(view_.calls, (std::vector<std::string>{"beep", "focus 1"}));
}

TEST_F(MainWindowFlowTest, ErrorsEscapingAnActionAreShownAndTheWindowStaysUsable) {
    Export({"FV 1"});
    view_.inputs.checkOnly = true;
    view_.whileAsking = [] { throw std::runtime_error("coś poszło nie tak"); };
    flow_.Convert();
    EXPECT_EQ(view_.errors, std::vector<std::string>{"coś poszło nie tak"});
    EXPECT_FALSE(flow_.IsWorking());

    // A system's text in the Windows code page reaches the box readable.
    view_.whileAsking = [] {
        throw std::runtime_error(
            "b\xB3\xB9"
            "d");
    };
    flow_.Undo();
    flow_.Convert();
    EXPECT_EQ(view_.errors.back(), "błąd");
    view_.whileAsking = [] { throw 42; };
    flow_.Convert();
    EXPECT_EQ(view_.errors.back(), "Nieznany błąd");

    // Thrown inside the run, from the work's own progress: the lines so far stay, the work ends.
    std::string bytes;
    for (int i = 0; i < 50; ++i) {
        bytes += Document("FV " + std::to_string(i));
    }
    testing::WriteFileBytes(dir_.File("eksp2kap.kpm"), bytes);
    flow_.SetProgressTiming({std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
    view_.whileAsking = nullptr;
    view_.trace.clear();
    view_.whileWorking = [this] {
        if (view_.Called("progress Konwersja: dokumentów 3, przeczytano 6% pliku")) {
            throw std::runtime_error("przerwano");
        }
    };
    flow_.Convert();
    EXPECT_EQ(view_.errors.back(), "przerwano");
    EXPECT_EQ(view_.workDepth, 0);
    EXPECT_FALSE(flow_.IsWorking());
    EXPECT_FALSE(view_.trace.empty());

    view_.whileWorking = nullptr;
    const std::size_t errors = view_.errors.size();
    flow_.Convert();
    EXPECT_EQ(view_.errors.size(), errors);
    EXPECT_EQ(flow_.DocumentCount(), 50);
}

TEST_F(MainWindowFlowTest, ExportBoxDropsOuterQuotesAndThePickerFillsTheLedgerDirectory) {
    const auto left = [this](const std::string& text) {
        view_.inputs.exportPath = text;
        flow_.ExportBoxLeft();
        return view_.inputs.exportPath;
    };
    EXPECT_EQ(left("\"C:\\Moje dane\\eksp2kap.kpm\""), "C:\\Moje dane\\eksp2kap.kpm");
    EXPECT_EQ(left("\"a\"b\""), "a\"b");
    EXPECT_EQ(left("\""), "");
    EXPECT_EQ(left(""), "");
    EXPECT_EQ(left("ąę\""), "ąę");
    const std::string longPath(400, 'x');
    EXPECT_EQ(left('"' + longPath), longPath);  // nothing cut

    view_.inputs.ledgerCode = PolishCharset::pcCp852;
    view_.picked = "D:\\KPR\\FIRMA2";
    flow_.PickCompany();
    EXPECT_EQ(view_.calls.back(), "pick " + dir_.File("FIRMA1") + " 2");
    EXPECT_EQ(view_.inputs.ledgerDir, "D:\\KPR\\FIRMA2");
    // A picker that fails leaves the box alone, silently.
    view_.picked.reset();
    flow_.PickCompany();
    EXPECT_EQ(view_.inputs.ledgerDir, "D:\\KPR\\FIRMA2");
    EXPECT_TRUE(view_.errors.empty());
}

}  // namespace
}  // namespace trevo::desktop
