// The company picker's behaviour over a view that only records what it was told, with real
// company list files: when it loads, what it shows and selects, what a refused load does, and
// the directory a confirmed company gives.

#include <gtest/gtest.h>

#include <filesystem>

#include "desktop/PathQuotes.h"
#include "desktop/PickerFlow.h"
#include "desktop/PickerForm.h"
#include "engine/files/FileSystem.h"
#include "testing/CompanyListBuilder.h"
#include "testing/TempDirectory.h"
#include "testing/TestCollations.h"

namespace trevo::desktop {
namespace {

namespace fs = std::filesystem;
using trevo::testing::CompanyListRecord;
using trevo::testing::WriteFileBytes;

using trevo::testing::ByteCollation;
using trevo::testing::ThrowingCollation;

enum class Focus { None, FileBox, Grid };

class FakePicker final : public PickerView {
  public:
    std::string FileBoxText() override { return box; }
    void SetFileBoxText(std::string_view utf8) override {
        box = utf8;
        // The box tells of every change, also of one made by the program.
        if (flow != nullptr) {
            flow->FileBoxChanged();
        }
    }
    void Beep() override { ++beeps; }
    void FocusFileBox() override { focus = Focus::FileBox; }
    void FocusGrid() override { focus = Focus::Grid; }
    void ShowRows(const std::vector<CompanyRow>& shown, std::optional<std::size_t> row) override {
        rows = shown;
        current = row;
        ++repaints;
    }
    std::optional<std::size_t> CurrentRow() override { return current; }
    void ShowStatus(std::string_view utf8) override { status = utf8; }
    void ShowErrorBox(std::string_view utf8) override { errors.emplace_back(utf8); }

    std::vector<std::string> Firmy() const {
        std::vector<std::string> names;
        for (const CompanyRow& row : rows) {
            names.push_back(picker_form::CellText(row, picker_form::Column::Firma));
        }
        return names;
    }
    std::string CurrentKatalog() const { return current ? rows.at(*current).katalog : "<none>"; }

    PickerFlow* flow = nullptr;
    std::string box{picker_form::kInitialFileName};
    int beeps = 0;
    Focus focus = Focus::None;
    std::vector<CompanyRow> rows;
    std::optional<std::size_t> current;
    int repaints = 0;
    std::string status;
    std::vector<std::string> errors;
};

class PickerFlowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory(dir_.Path() / "KPR");
        // Out of order by name; the last read, Zielinski, is not first by name.
        WriteFileBytes(list_, CompanyListRecord("Kowalski Jan", "FIRMA01", "biuro") +
                                  CompanyListRecord("Adamska Ewa", "FIRMA02") +
                                  CompanyListRecord("Nowak Anna", "FIRMA01") +
                                  CompanyListRecord("Zielinski Piotr", "FIRMA03"));
        view_.box = list_;
    }

    // The picker for the ledger directory `ledgerDir`, shown and activated.
    PickerFlow& Open(std::string_view ledgerDir, const StringCollation* collation = nullptr) {
        flow_.emplace(view_, LocalFileSystem(), collation ? *collation : collation_,
                      [this] { return code_; });
        view_.flow = &*flow_;
        flow_->SetCurrentKatalog(CurrentKatalogOfLedgerDir(ledgerDir));
        flow_->Activated();
        return *flow_;
    }

    trevo::testing::TempDirectory dir_;
    const std::string sep_ = std::string(1, kPathSeparator);
    const std::string kpr_ = dir_.File("KPR");
    const std::string list_ = kpr_ + sep_ + "spisfirm.dat";
    const ByteCollation collation_{};
    PolishCharset code_ = PolishCharset::pcMazovia;
    FakePicker view_;
    std::optional<PickerFlow> flow_;
};

TEST_F(PickerFlowTest, TheFirstActivationLoadsSortedWithTheCurrentCompanySelected) {
    PickerFlow& flow = Open(kpr_ + sep_ + "FIRMA02");
    EXPECT_EQ(view_.Firmy(), (std::vector<std::string>{"Adamska Ewa", "Kowalski Jan", "Nowak Anna",
                                                       "Zielinski Piotr"}));
    EXPECT_EQ(view_.CurrentKatalog(), "FIRMA02");
    EXPECT_EQ(view_.focus, Focus::Grid);
    EXPECT_EQ(view_.beeps, 0);
    EXPECT_EQ(flow.StatusText(), "Lista firm z pliku " + list_ + " (firm: 4).");
    // Later activations do not load again.
    view_.current = 0;
    flow.Activated();
    EXPECT_EQ(view_.repaints, 1);
    EXPECT_EQ(view_.current, 0u);
    // "Załaduj ..." loads again and selects the current company again, not the clicked row.
    flow.LoadAsked();
    EXPECT_EQ(view_.CurrentKatalog(), "FIRMA02");
}

TEST_F(PickerFlowTest, WhichRowIsSelected) {
    // Several companies with the directory: the first in sorted order, unless the last read.
    Open(kpr_ + sep_ + "FIRMA01");
    EXPECT_EQ(view_.current, 1u);  // Kowalski, before Nowak
    // None matches: the last read stays current, wherever it sorts.
    Open(kpr_ + sep_ + "INNA");
    EXPECT_EQ(view_.current, 3u);
    // Only the first 8 characters of the directory's last component count; case counts.
    Open(kpr_ + sep_ + "FIRMA03_2024");
    EXPECT_EQ(view_.CurrentKatalog(), "FIRMA03");
    Open(kpr_ + sep_ + "firma02");
    EXPECT_EQ(view_.current, 3u);
    // A directory ending with a separator names no company.
    EXPECT_EQ(CurrentKatalogOfLedgerDir(kpr_ + sep_), "");
    EXPECT_EQ(CurrentKatalogOfLedgerDir("FIRMA1"), "FIRMA1");
    EXPECT_EQ(CurrentKatalogOfLedgerDir("/dane/Żółć-ąę"), "\xAF\xF3\xB3\xE6-\xB9\xEA");
    EXPECT_EQ(CurrentKatalogOfLedgerDir("/dane/ЖЖ"), "??");
}

TEST_F(PickerFlowTest, TheLedgerCodeIsReadAtEveryLoad) {
    WriteFileBytes(list_, CompanyListRecord("\x86\x8D", "A"));  // ąć in Mazovia, ćŹ in 852
    Open("");
    EXPECT_EQ(view_.Firmy(), std::vector<std::string>{"ąć"});
    code_ = PolishCharset::pcCp852;
    flow_->LoadAsked();
    EXPECT_EQ(view_.Firmy(), std::vector<std::string>{"ćŹ"});
}

TEST_F(PickerFlowTest, ARefusedLoadSaysWhyAndLeavesNoRows) {
    fs::create_directory(dir_.Path() / "folder");
    WriteFileBytes(dir_.File("short.dat"), "too short");
    struct Case {
        std::string name;
        std::string reason;
    };
    for (const Case& c : {Case{dir_.File("missing.dat"), "nie ma takiego pliku"},
                          Case{dir_.File("folder"), "to jest katalog, nie plik"},
                          Case{dir_.File("short.dat"), "to nie jest lista firm"},
                          Case{dir_.File("Ж.dat"), "nazwa ma znaki spoza Windows-1250"}}) {
        SCOPED_TRACE(c.name);
        view_ = FakePicker();
        view_.box = list_;
        PickerFlow& flow = Open("");
        ASSERT_EQ(view_.rows.size(), 4u);
        view_.SetFileBoxText(c.name);
        flow.LoadAsked();
        EXPECT_EQ(view_.beeps, 1);
        EXPECT_EQ(view_.focus, Focus::FileBox);
        EXPECT_TRUE(view_.rows.empty());
        EXPECT_EQ(view_.current, std::nullopt);
        EXPECT_EQ(flow.StatusText(), "Nie wczytano listy firm: " + c.reason + ".");
        EXPECT_EQ(flow.ChosenLedgerDirectory(), std::nullopt);
        // Without a list there is nothing to confirm.
        EXPECT_FALSE(flow.ConfirmAsked());
        EXPECT_EQ(view_.beeps, 2);
    }

    // Missing on the first activation: beep, focus in the box, an empty grid.
    view_ = FakePicker();
    view_.box = "spisfirm-nowhere.dat";
    Open("");
    EXPECT_EQ(view_.beeps, 1);
    EXPECT_EQ(view_.focus, Focus::FileBox);
    EXPECT_TRUE(view_.rows.empty());
}

TEST_F(PickerFlowTest, AnErrorTheLoadDidNotExpectIsShownAndTheDialogStaysUsable) {
    const ThrowingCollation throwing("brak pamięci");
    PickerFlow& flow = Open("", &throwing);
    EXPECT_EQ(view_.errors, std::vector<std::string>{"brak pamięci"});
    EXPECT_EQ(flow.StatusText(), "Nie wczytano listy firm: brak pamięci.");
    EXPECT_TRUE(view_.rows.empty());
    EXPECT_NE(view_.focus, Focus::Grid);
}

TEST_F(PickerFlowTest, TheRowsShownAreAlwaysThoseOfTheNamedFile) {
    PickerFlow& flow = Open("");
    // Typing another name drops the rows and says that Enter loads it.
    view_.SetFileBoxText(list_ + "x");
    EXPECT_TRUE(view_.rows.empty());
    EXPECT_EQ(flow.StatusText(), "Nowa nazwa pliku: Enter wczyta z niego listę firm.");
    EXPECT_EQ(flow.ChosenLedgerDirectory(), std::nullopt);
    // Typed back to the loaded name before leaving: the rows went, leaving the box loads.
    view_.SetFileBoxText(list_);
    flow.FileBoxLeft();
    EXPECT_EQ(view_.rows.size(), 4u);
    EXPECT_EQ(view_.beeps, 0);
    // The same name once more (quoted, as a chosen name with a space is): rows stay.
    const int repaints = view_.repaints;
    view_.SetFileBoxText("\"" + list_ + "\"");
    flow.FileBoxLeft();
    EXPECT_EQ(view_.repaints, repaints);

    // Leaving the box with a name that does not load says so, but neither beeps nor pulls the
    // focus back; leaving again does not try the same name again.
    view_.focus = Focus::None;
    view_.SetFileBoxText(dir_.File("missing.dat"));
    flow.FileBoxLeft();
    EXPECT_EQ(flow.StatusText(), "Nie wczytano listy firm: nie ma takiego pliku.");
    EXPECT_EQ(view_.beeps, 0);
    EXPECT_EQ(view_.focus, Focus::None);
    view_.status.clear();
    flow.FileBoxLeft();
    EXPECT_EQ(view_.status, "");
    // An empty box that was never tried is not loaded by leaving it.
    view_.SetFileBoxText("");
    view_.status.clear();
    flow.FileBoxLeft();
    EXPECT_EQ(view_.status, "");
}

TEST_F(PickerFlowTest, TheDirectoryHandedBackComesFromTheLoadedFile) {
    PickerFlow& flow = Open(kpr_ + sep_ + "FIRMA03");
    view_.current = 0;  // the user clicks Adamska
    ASSERT_TRUE(flow.ConfirmAsked());
    EXPECT_EQ(flow.ChosenLedgerDirectory(), kpr_ + sep_ + "FIRMA02");
    EXPECT_EQ(flow.CurrentRowKatalog(), "FIRMA02");
    // A list without companies: its directory alone.
    WriteFileBytes(list_, "");
    flow.LoadAsked();
    EXPECT_EQ(flow.StatusText(), "Lista firm z pliku " + list_ + " (firm: 0).");
    EXPECT_TRUE(flow.ConfirmAsked());
    EXPECT_EQ(flow.ChosenLedgerDirectory(), kpr_ + sep_);
    EXPECT_EQ(flow.CurrentRowKatalog(), "");

    // A bare name is looked for in the current directory and gives the Katalog alone.
    const fs::path before = fs::current_path();
    fs::current_path(kpr_);
    WriteFileBytes(list_, CompanyListRecord("Kowalski Jan", "FIRMA01"));
    view_.SetFileBoxText("spisfirm.dat");
    flow.LoadAsked();
    fs::current_path(before);
    EXPECT_EQ(flow.ChosenLedgerDirectory(), "FIRMA01");
}

TEST_F(PickerFlowTest, AChosenFileIsShownQuotedLoadedAndWhereTheNextBrowseStarts) {
    PickerFlow& flow = Open("");
    // No directory in the box's name: the initial directory.
    view_.SetFileBoxText("spisfirm.dat");
    EXPECT_EQ(flow.BrowseStartDirectory(), picker_form::kInitialDirectory);
    // A name whose directory exists: that directory.
    view_.SetFileBoxText(list_);
    EXPECT_EQ(flow.BrowseStartDirectory(), kpr_);
    view_.SetFileBoxText(dir_.File("gone") + sep_ + "spisfirm.dat");
    EXPECT_EQ(flow.BrowseStartDirectory(), picker_form::kInitialDirectory);

    fs::create_directory(dir_.Path() / "biuro rachunkowe");
    const std::string spaced = dir_.File("biuro rachunkowe") + sep_ + "spisfirm.dat";
    WriteFileBytes(spaced, CompanyListRecord("Nowak Anna", "FIRMA09"));
    flow.FileChosen(spaced);
    EXPECT_EQ(view_.box, "\"" + spaced + "\"");
    EXPECT_EQ(flow.ListFileName(), spaced);
    EXPECT_EQ(view_.Firmy(), std::vector<std::string>{"Nowak Anna"});
    EXPECT_EQ(view_.focus, Focus::Grid);
    EXPECT_EQ(flow.ChosenLedgerDirectory(), dir_.File("biuro rachunkowe") + sep_ + "FIRMA09");
    // After a choice the browse starts in the chosen file's directory when the box has none.
    view_.SetFileBoxText("spisfirm.dat");
    EXPECT_EQ(flow.BrowseStartDirectory(), dir_.File("biuro rachunkowe"));
}

TEST(PickerFormTest, CellsAndQuotes) {
    CompanyRow row{"Kowalski \xA3ukasz", "FIRMA01", "0123456789", "0123456789 biuro"};
    using picker_form::Column;
    EXPECT_EQ(picker_form::CellText(row, Column::Firma), "Kowalski Łukasz");
    EXPECT_EQ(picker_form::CellText(row, Column::Info), "0123456789…");
    EXPECT_EQ(picker_form::CellTip(row, Column::Info), "0123456789 biuro");
    row.wholeInfo = row.info;
    EXPECT_EQ(picker_form::CellText(row, Column::Info), "0123456789");

    EXPECT_EQ(QuotePathWithSpaces("C:\\biuro rachunkowe\\spisfirm.dat"),
              "\"C:\\biuro rachunkowe\\spisfirm.dat\"");
    EXPECT_EQ(QuotePathWithSpaces("\"C:\\a b\""), "\"C:\\a b\"");
    EXPECT_EQ(QuotePathWithSpaces("C:\\ab"), "C:\\ab");
    EXPECT_EQ(UnquotePath("\"C:\\a b\""), "C:\\a b");
    EXPECT_EQ(UnquotePath("\"C:\\a\"b\""), "C:\\a\"b");
    EXPECT_EQ(UnquotePath("\""), "");
}

}  // namespace
}  // namespace trevo::desktop
