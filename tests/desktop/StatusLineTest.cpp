#include "desktop/StatusLine.h"

#include <gtest/gtest.h>

namespace trevo::desktop {
namespace {

TEST(StatusLineTest, RefusalCoversTheDigestUntilTheNextAction) {
    StatusLine line;
    EXPECT_EQ(line.Shown().text, "");
    line.ReplaceDigest(RunDigest("Zaksięgowano 49 dok.; odrzucone: 0"));
    EXPECT_EQ(line.Shown().text, "Zaksięgowano 49 dok.; odrzucone: 0");
    EXPECT_EQ(line.Shown().keptWhole, std::string("Zaksięgowano 49 dok.").size());
    line.ShowRefusal({"Plik Exp2Kap.kpm: nie wskazano pliku eksportu", 0});
    EXPECT_EQ(line.Shown().text, "Plik Exp2Kap.kpm: nie wskazano pliku eksportu");
    line.ActionStarted();
    EXPECT_EQ(line.Shown().text, "Zaksięgowano 49 dok.; odrzucone: 0");
    line.ReplaceDigest({"Cofnięto ostatnią konwersję", 0});
    EXPECT_EQ(line.Shown().text, "Cofnięto ostatnią konwersję");
}

TEST(StatusLineTest, UndoReplacesTheDigestOnlyWhenItChangedTheBooks) {
    UndoReport report;
    report.status = UndoReport::Status::Done;
    report.steps.push_back({"2024ORMEK.3", 1200, 400, 2, 0, false});
    report.steps.push_back({"2024ORMEK.4", 400, 0, 1, 0, true});
    UndoStatus status = UndoStatusText(report);
    EXPECT_TRUE(status.changedBooks);
    EXPECT_EQ(status.text.text,
              "Cofnięto ostatnią konwersję: plików 2 (usuniętych 1), rekordów usuniętych 3");

    report.status = UndoReport::Status::FailedPartWay;
    report.problem =
        "B\xB3\xB9"
        "d zapisu";  // Windows-1250
    status = UndoStatusText(report);
    EXPECT_TRUE(status.changedBooks);
    EXPECT_EQ(status.text.text, "Cofanie przerwane, pliki zmienione tylko w części: Błąd zapisu");

    // Put back after a failed change: the books are as they were.
    report.status = UndoReport::Status::RolledBack;
    EXPECT_FALSE(UndoStatusText(report).changedBooks);

    report.status = UndoReport::Status::Refused;
    status = UndoStatusText(report);
    EXPECT_FALSE(status.changedBooks);
    EXPECT_EQ(status.text.text, "Cofnij ostatnią konwersję: nic nie zmieniono: Błąd zapisu");
    EXPECT_EQ(status.text.text.substr(status.text.keptWhole), "Błąd zapisu");

    report.status = UndoReport::Status::NothingToUndo;
    status = UndoStatusText(report);
    EXPECT_FALSE(status.changedBooks);
    EXPECT_EQ(status.text.text,
              "Cofnij ostatnią konwersję: w katalogu nie ma konwersji do cofnięcia");
}

}  // namespace
}  // namespace trevo::desktop
