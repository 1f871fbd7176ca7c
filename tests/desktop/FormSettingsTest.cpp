// The settings binding over a window that is only a record of what was asked of it, with the
// settings file on the disk: what a window's life writes, what the next one restores, and what
// a damaged, read-only or unwritable file does.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "desktop/FormSettings.h"
#include "engine/files/FileSystem.h"
#include "testing/FaultInjectingFileSystem.h"
#include "testing/TempDirectory.h"

namespace trevo::desktop {
namespace {

namespace fs = std::filesystem;
using settings::ScreenRect;
using settings::ShowState;
using trevo::testing::ReadFileBytes;
using trevo::testing::WriteFileBytes;

// A window with the main window's controls, or the picker's, that records what it was told.
class FakeWindow final : public FormHost {
  public:
    struct Property {
        StoredKind kind;
        std::string text;
        bool checked = false;
    };

    static FakeWindow Main() {
        FakeWindow window;
        for (const char* entry :
             {"FE_EPP.Text", "Edit_Atrybut.Text", "Edit_REJ.Text", "de_KPR.Text"}) {
            window.props[entry] = {StoredKind::Text, {}};
        }
        window.props["RB_852.Checked"] = {StoredKind::Boolean, {}};
        window.props["RB_MAZ.Checked"] = {StoredKind::Boolean, {}, true};
        return window;
    }
    static FakeWindow Picker() {
        FakeWindow window;
        window.props["FilenameEdit.FileName"] = {StoredKind::Text, "spisfirm.dat"};
        window.mainWindow = false;
        window.placement.normal = {100, 100, 460, 410};
        return window;
    }

    std::optional<StoredKind> PropertyKind(std::string_view entry) override {
        const auto found = props.find(std::string(entry));
        return found == props.end() ? std::nullopt : std::optional(found->second.kind);
    }
    std::optional<std::string> PropertyText(std::string_view entry) override {
        ++propertyReads;
        return props.at(std::string(entry)).text;
    }
    std::optional<bool> PropertyChecked(std::string_view entry) override {
        ++propertyReads;
        return props.at(std::string(entry)).checked;
    }
    void SetPropertyText(std::string_view entry, std::string_view utf8) override {
        props.at(std::string(entry)).text = utf8;
    }
    void SetPropertyChecked(std::string_view entry, bool checked) override {
        // The two code page buttons share a panel.
        if (checked && (entry == "RB_852.Checked" || entry == "RB_MAZ.Checked")) {
            props["RB_852.Checked"].checked = false;
            props["RB_MAZ.Checked"].checked = false;
        }
        props.at(std::string(entry)).checked = checked;
    }
    PlacementRecord GetPlacement() override { return placement; }
    void SetPlacement(const PlacementRecord& applied) override {
        placementsSet.push_back(applied);
        placement.normal = applied.normal;
        placement.minPosition = applied.minPosition;
        placement.maxPosition = applied.maxPosition;
        placement.flags = applied.flags;
        if (applied.showCmd != 0) {
            placement.showCmd = applied.showCmd;
        }
    }
    void SetShowState(ShowState state) override {
        shownStates.push_back(state);
        placement.showCmd = state == ShowState::Minimized   ? settings::kShowMinimized
                            : state == ShowState::Maximized ? settings::kShowMaximized
                                                            : settings::kShowNormal;
    }
    bool IsWindowVisible() override { return visible; }
    bool IsResizable() override { return resizable; }
    bool IsApplicationMainWindow() override { return mainWindow; }
    bool IsApplicationMinimized() override { return applicationMinimized; }
    void MinimizeApplication() override { ++applicationMinimizations; }
    ScreenFacts Screens() override { return screens; }
    void ShowErrorBox(std::string_view utf8) override { messages.emplace_back(utf8); }

    std::map<std::string, Property> props;
    PlacementRecord placement{0, settings::kShowNormal, {-1, -1}, {-1, -1}, {200, 150, 672, 616}};
    ScreenFacts screens{1280, 1024, 96, {{0, 0, 1280, 994}}, {}};
    bool visible = false;
    bool resizable = true;
    bool mainWindow = true;
    bool applicationMinimized = false;

    std::vector<PlacementRecord> placementsSet;
    std::vector<ShowState> shownStates;
    int applicationMinimizations = 0;
    int propertyReads = 0;
    std::vector<std::string> messages;
};

class FormSettingsTest : public ::testing::Test {
  protected:
    trevo::testing::TempDirectory dir_;
    const std::string ini_ = dir_.File("trevo2KPR.INI");

    // A whole life of the window: created, shown, `use`d, closed, destroyed.
    void Live(FakeWindow& window, const std::function<void(FakeWindow&)>& use = {},
              FormSettingsConfig config = {}) {
        if (config.section.empty()) {
            config =
                window.mainWindow ? MainWindowSettingsConfig(ini_) : PickerSettingsConfig(ini_);
        }
        FormSettings binding(window, std::move(config));
        binding.Created();
        binding.Shown();
        window.visible = true;
        if (use) {
            use(window);
        }
        binding.Hidden();
        window.visible = false;
        binding.Destroying();
    }

    std::vector<std::string> Keys(std::string_view section) const {
        std::vector<std::string> keys;
        bool inside = false;
        const std::string bytes = ReadFileBytes(ini_);
        std::size_t start = 0;
        while (start < bytes.size()) {
            const std::size_t end = bytes.find("\r\n", start);
            const std::string line = bytes.substr(start, end - start);
            start = end == std::string::npos ? bytes.size() : end + 2;
            if (line.starts_with('[')) {
                inside = line == "[" + std::string(section) + "]";
            } else if (inside && !line.empty()) {
                keys.push_back(line.substr(0, line.find('=')));
            }
        }
        return keys;
    }
    std::optional<std::string> Value(std::string_view section, std::string_view key) const {
        return settings::SettingsFile::Read(ini_).document.Get(section, key);
    }
};

TEST_F(FormSettingsTest, AFirstLifeWritesTheFourteenKeysAndTheNextOneRestoresThem) {
    FakeWindow first = FakeWindow::Main();
    Live(first, [](FakeWindow& w) {
        w.props["FE_EPP.Text"].text = "  C:\\dane\\eksp2kap.kpm  ";
        w.props["de_KPR.Text"].text = "Łódź";
        w.props["Edit_Atrybut.Text"].text = "A";
        w.SetPropertyChecked("RB_852.Checked", true);
        w.placement.normal = {40, 50, 540, 530};
        w.placement.minPosition = {-32000, -32000};
    });
    EXPECT_TRUE(ReadFileBytes(ini_).starts_with("[MAIN]\r\nFormVersion=0\r\nShowCmd=1\r\n"));
    EXPECT_TRUE(ReadFileBytes(ini_).ends_with("\r\n\r\n"));
    EXPECT_EQ(Keys("MAIN"),
              (std::vector<std::string>{
                  "FormVersion", "ShowCmd", "Flags", "PixelsPerInch", "MinMaxPos(1280x1024)",
                  "MinMaxPos", "NormPos(1280x1024)", "NormPos", "FE_EPP_Text", "Edit_Atrybut_Text",
                  "Edit_REJ_Text", "de_KPR_Text", "RB_852_Checked", "RB_MAZ_Checked"}));
    EXPECT_EQ(Value("MAIN", "de_KPR_Text"), "\xA3\xF3\x64\x9F");  // Windows-1250
    EXPECT_EQ(Value("MAIN", "NormPos"), "40,50,540,530");
    EXPECT_EQ(Value("MAIN", "MinMaxPos"), "-32000,-32000,-1,-1");
    EXPECT_EQ(Value("MAIN", "PixelsPerInch"), "96");
    EXPECT_EQ(Value("MAIN", "RB_852_Checked"), "TRUE");
    EXPECT_EQ(Value("MAIN", "RB_MAZ_Checked"), "FALSE");

    FakeWindow second = FakeWindow::Main();
    FormSettings binding(second, MainWindowSettingsConfig(ini_));
    const MinTrackSize minimum = binding.Created();
    EXPECT_EQ(minimum.width, 472);
    EXPECT_EQ(minimum.height, 466);
    binding.Shown();
    EXPECT_EQ(second.props["FE_EPP.Text"].text, "C:\\dane\\eksp2kap.kpm");  // blanks trimmed
    EXPECT_EQ(second.props["de_KPR.Text"].text, "Łódź");
    EXPECT_EQ(second.props["Edit_Atrybut.Text"].text, "A");
    EXPECT_TRUE(second.props["RB_852.Checked"].checked);
    EXPECT_FALSE(second.props["RB_MAZ.Checked"].checked);
    ASSERT_EQ(second.placementsSet.size(), 1u);
    EXPECT_EQ(second.placementsSet[0].normal, (ScreenRect{40, 50, 540, 530}));
    EXPECT_EQ(second.placementsSet[0].minPosition.x, -32000);
    // Not on the screen yet: applying the placement must not show it.
    EXPECT_EQ(second.placementsSet[0].showCmd, 0);
    EXPECT_EQ(second.shownStates, std::vector<ShowState>{ShowState::Normal});
    // A second show of the same window restores nothing again.
    second.props["FE_EPP.Text"].text = "typed";
    binding.Shown();
    EXPECT_EQ(second.props["FE_EPP.Text"].text, "typed");
}

TEST_F(FormSettingsTest, WhatIsSavedIsWhatTheWindowHeldWhenItClosed) {
    FakeWindow window = FakeWindow::Main();
    {
        FormSettings binding(window, MainWindowSettingsConfig(ini_));
        binding.Created();
        binding.Hidden();  // hidden before it was ever shown: nothing saved yet
        EXPECT_FALSE(binding.Saved());
        binding.Shown();
        window.props["FE_EPP.Text"].text = "at close";
        binding.Hidden();
        window.props["FE_EPP.Text"].text = "after close";
        binding.Destroying();
        const int reads = window.propertyReads;
        binding.Destroying();  // later calls do nothing
        binding.SaveSettings();
        EXPECT_EQ(window.propertyReads, reads);
    }
    EXPECT_EQ(Value("MAIN", "FE_EPP_Text"), "at close");

    // Destroyed without a close: saved then. Controls gone without Destroying: the copy as it
    // stands, no control asked.
    for (const bool destroying : {true, false}) {
        SCOPED_TRACE(destroying ? "destroying" : "gone");
        FakeWindow other = FakeWindow::Main();
        FormSettings binding(other, MainWindowSettingsConfig(ini_));
        binding.Created();
        binding.Shown();
        other.props["FE_EPP.Text"].text = destroying ? "never closed" : "lost";
        const int reads = other.propertyReads;
        if (destroying) {
            binding.Destroying();
        } else {
            binding.WindowGone();
        }
        EXPECT_EQ(other.propertyReads > reads, destroying);
        EXPECT_EQ(Value("MAIN", "FE_EPP_Text"), "never closed");
    }
}

TEST_F(FormSettingsTest, StoredPropertiesByTheirKinds) {
    // Entries the window has no property for are dropped; a text outside Windows-1250 is kept
    // with '?'; a boolean word outside both lists leaves the button alone.
    WriteFileBytes(ini_, "[MAIN]\r\nrb_852_checked=maybe\r\nRB_MAZ_Checked=no\r\n");
    FakeWindow window = FakeWindow::Main();
    FormSettingsConfig config = MainWindowSettingsConfig(ini_);
    config.storedProps.insert(config.storedProps.begin(), {"NoSuchControl.Text", "NoDot"});
    FormSettings binding(window, config);
    binding.Created();
    EXPECT_EQ(binding.DroppedProps(), (std::vector<std::string>{"NoSuchControl.Text", "NoDot"}));
    binding.Shown();
    EXPECT_FALSE(window.props["RB_852.Checked"].checked);
    EXPECT_FALSE(window.props["RB_MAZ.Checked"].checked);
    window.props["Edit_REJ.Text"].text = "Ж€";
    binding.Destroying();
    EXPECT_EQ(Value("MAIN", "Edit_REJ_Text"), "?\x80");
    EXPECT_EQ(Keys("MAIN").size(), 14u);
    EXPECT_FALSE(Value("MAIN", "NoSuchControl_Text"));

    for (const auto& [entries, on852, onMaz] : std::vector<std::tuple<std::string, bool, bool>>{
             {"RB_852_Checked=yes", true, false},
             {"RB_852_Checked=Y", true, false},
             {"RB_852_Checked=1", true, false},
             {"RB_MAZ_Checked=0", false, false},
             {"RB_MAZ_Checked=", false, false},
             {"RB_852_Checked=TRUE\r\nRB_MAZ_Checked=FALSE", true, false},
             {"RB_852_Checked=FALSE\r\nRB_MAZ_Checked=FALSE", false, false},
             {"RB_852_Checked=TRUE\r\nRB_MAZ_Checked=TRUE", false, true},
         }) {
        SCOPED_TRACE(entries);
        WriteFileBytes(ini_, "[MAIN]\r\n" + entries + "\r\n");
        FakeWindow restored = FakeWindow::Main();
        FormSettings again(restored, MainWindowSettingsConfig(ini_));
        again.Created();
        again.Shown();
        EXPECT_EQ(restored.props["RB_852.Checked"].checked, on852);
        EXPECT_EQ(restored.props["RB_MAZ.Checked"].checked, onMaz);
    }
}

TEST_F(FormSettingsTest, PositionsAreKeptPerScreenSize) {
    // The pair saved on this screen size wins over the plain keys; a pair of another size stays.
    WriteFileBytes(ini_,
                   "[MAIN]\r\nNormPos(1x1)=1,1,401,401\r\nNormPos(1280x1024)=60,70,560,570\r\n"
                   "NormPos=5,5,505,505\r\nMinMaxPos=7,8,9,10\r\n");
    FakeWindow window = FakeWindow::Main();
    Live(window, [](FakeWindow& w) {
        ASSERT_EQ(w.placementsSet.size(), 1u);
        EXPECT_EQ(w.placementsSet[0].normal, (ScreenRect{60, 70, 560, 570}));
        EXPECT_EQ(w.placementsSet[0].maxPosition.y, 10);  // the plain key serves all sizes
        // Moved on a new, smaller screen.
        w.screens.primaryWidth = 1024;
        w.screens.primaryHeight = 768;
        w.placement.normal = {10, 20, 510, 520};
    });
    EXPECT_EQ(Value("MAIN", "NormPos(1x1)"), "1,1,401,401");
    EXPECT_EQ(Value("MAIN", "NormPos(1280x1024)"), "60,70,560,570");
    EXPECT_EQ(Value("MAIN", "NormPos(1024x768)"), "10,20,510,520");
    EXPECT_EQ(Value("MAIN", "NormPos"), "10,20,510,520");
    EXPECT_EQ(Value("MAIN", "MinMaxPos(1024x768)"), "7,8,9,10");
}

TEST_F(FormSettingsTest, ARestoredPlacementIsFittedToTheScreensThereAre) {
    const auto restored = [this](const std::string& section, FakeWindow window) {
        FormSettings binding(window, section == "MAIN" ? MainWindowSettingsConfig(ini_)
                                                       : PickerSettingsConfig(ini_));
        binding.Created();
        binding.Shown();
        return window.placementsSet.empty() ? std::optional<ScreenRect>()
                                            : window.placementsSet.back().normal;
    };
    FakeWindow small = FakeWindow::Main();
    small.screens = {1024, 768, 96, {{0, 0, 1024, 738}, {-800, 0, 0, 600}}, {4, 30, 4, 4}};

    // Saved at 644,517 on a bigger screen: moved the least to show whole, frame included.
    WriteFileBytes(ini_, "[MAIN]\r\nNormPos=644,517,1116,983\r\n");
    EXPECT_EQ(restored("MAIN", small), (ScreenRect{548, 268, 1020, 734}));
    // Left on a monitor that is gone: on the primary.
    WriteFileBytes(ini_, "[MAIN]\r\nNormPos=50000,50000,50500,50500\r\n");
    EXPECT_EQ(restored("MAIN", small), (ScreenRect{520, 234, 1020, 734}));
    // Mostly on the left screen: stays there, moved onto it.
    WriteFileBytes(ini_, "[MAIN]\r\nNormPos=-1000,100,-500,600\r\n");
    EXPECT_EQ(restored("MAIN", small), (ScreenRect{-796, 96, -296, 596}));
    // Larger than the screen: as large as fits, not below the minimum.
    WriteFileBytes(ini_, "[SPISFIRM]\r\nNormPos=300,200,1500,1100\r\n");
    FakeWindow picker = FakeWindow::Picker();
    picker.screens = small.screens;
    EXPECT_EQ(restored("SPISFIRM", picker), (ScreenRect{4, 30, 1020, 734}));
    picker.screens.freeAreas = {{0, 0, 300, 200}};
    EXPECT_EQ(restored("SPISFIRM", picker), (ScreenRect{4, 30, 364, 340}));

    // Restoring leaves the file as it was.
    EXPECT_EQ(ReadFileBytes(ini_), "[SPISFIRM]\r\nNormPos=300,200,1500,1100\r\n");

    // Another screen scale: the design place, but the state and the values come back.
    WriteFileBytes(ini_,
                   "[MAIN]\r\nNormPos=30,40,530,540\r\nPixelsPerInch=120\r\nShowCmd=3\r\n"
                   "FE_EPP_Text=x\r\n");
    FakeWindow scaled = FakeWindow::Main();
    {
        FormSettings binding(scaled, MainWindowSettingsConfig(ini_));
        binding.Created();
        binding.Shown();
    }
    EXPECT_TRUE(scaled.placementsSet.empty());
    EXPECT_EQ(scaled.shownStates, std::vector<ShowState>{ShowState::Maximized});
    EXPECT_EQ(scaled.props["FE_EPP.Text"].text, "x");

    // A window that cannot be resized keeps its size at the new place.
    WriteFileBytes(ini_, "[MAIN]\r\nNormPos=10,20,30,40\r\n");
    FakeWindow fixed = FakeWindow::Main();
    fixed.resizable = false;
    EXPECT_EQ(restored("MAIN", fixed), (ScreenRect{10, 20, 482, 486}));
    // An empty rectangle is not applied.
    WriteFileBytes(ini_, "[MAIN]\r\nNormPos=10,20,10,40\r\n");
    EXPECT_EQ(restored("MAIN", FakeWindow::Main()), std::nullopt);
}

TEST_F(FormSettingsTest, ShowStates) {
    const auto shown = [this](const std::string& showCmd, FakeWindow window) {
        WriteFileBytes(ini_, "[MAIN]\r\nShowCmd=" + showCmd + "\r\n");
        FormSettingsConfig config = MainWindowSettingsConfig(ini_);
        FormSettings binding(window, config);
        binding.Created();
        binding.Shown();
        return std::pair{window.shownStates, window.applicationMinimizations};
    };
    using States = std::vector<ShowState>;
    EXPECT_EQ(shown("3", FakeWindow::Main()), std::pair(States{ShowState::Maximized}, 0));
    EXPECT_EQ(shown("9", FakeWindow::Main()), std::pair(States{ShowState::Normal}, 0));
    EXPECT_EQ(shown("42", FakeWindow::Main()), std::pair(States{ShowState::Normal}, 0));
    // A minimized main window minimizes the application instead; a dialog takes the state.
    EXPECT_EQ(shown("6", FakeWindow::Main()), std::pair(States{ShowState::Normal}, 1));
    FakeWindow dialog = FakeWindow::Main();
    dialog.mainWindow = false;
    EXPECT_EQ(shown("7", dialog), std::pair(States{ShowState::Minimized}, 0));

    // Saved while the application is minimized: 2, whatever the window itself says.
    FakeWindow window = FakeWindow::Main();
    Live(window, [](FakeWindow& w) { w.applicationMinimized = true; });
    EXPECT_EQ(Value("MAIN", "ShowCmd"), "2");
}

TEST_F(FormSettingsTest, AValueThatIsNoIntegerStopsTheRestoreAndSaysSo) {
    for (const auto& [entries, message] : std::vector<std::pair<std::string, std::string>>{
             {"FormVersion=v1", "'v1' is not a valid integer value"},
             {"Flags=1.5", "'1.5' is not a valid integer value"},
             {"NormPos=1,2,3,4\r\nPixelsPerInch=x", "'x' is not a valid integer value"},
             {"ShowCmd=\xB3\xF3", "'łó' is not a valid integer value"},
         }) {
        SCOPED_TRACE(entries);
        WriteFileBytes(ini_,
                       "[MAIN]\r\n" + entries + "\r\nFE_EPP_Text=x\r\nRB_852_Checked=TRUE\r\n");
        FakeWindow window = FakeWindow::Main();
        FormSettings binding(window, MainWindowSettingsConfig(ini_));
        binding.Created();
        binding.Shown();
        EXPECT_EQ(window.messages, std::vector<std::string>{message});
        EXPECT_EQ(window.props["FE_EPP.Text"].text, "");
        EXPECT_TRUE(window.props["RB_MAZ.Checked"].checked);
        EXPECT_TRUE(window.placementsSet.empty());
    }

    // A negative version restores nothing, and the next save writes 0 again.
    WriteFileBytes(ini_, "[MAIN]\r\nFormVersion=-1\r\nFE_EPP_Text=abc\r\nShowCmd=3\r\n");
    FakeWindow window = FakeWindow::Main();
    Live(window, [](FakeWindow& w) {
        EXPECT_EQ(w.props["FE_EPP.Text"].text, "");
        EXPECT_TRUE(w.shownStates.empty());
    });
    EXPECT_EQ(Value("MAIN", "FormVersion"), "0");
    EXPECT_EQ(Value("MAIN", "FE_EPP_Text"), "");
}

TEST_F(FormSettingsTest, EachWindowWritesOnlyItsOwnSection) {
    WriteFileBytes(ini_,
                   "[MAIN]\r\nFE_EPP_Text=before\r\n[OTHER]\r\n; kept\r\nx=1\r\nno equals\r\n");
    FakeWindow main = FakeWindow::Main();
    FormSettings mainBinding(main, MainWindowSettingsConfig(ini_));
    mainBinding.Created();
    mainBinding.Shown();
    FakeWindow picker = FakeWindow::Picker();
    Live(picker,
         [](FakeWindow& w) { w.props["FilenameEdit.FileName"].text = "C:\\KPR\\spisfirm.dat"; });
    EXPECT_EQ(Value("SPISFIRM", "FilenameEdit_FileName"), "C:\\KPR\\spisfirm.dat");
    EXPECT_EQ(Value("MAIN", "FE_EPP_Text"), "before");

    main.props["FE_EPP.Text"].text = "after";
    mainBinding.Hidden();
    mainBinding.Destroying();
    EXPECT_EQ(Value("SPISFIRM", "FilenameEdit_FileName"), "C:\\KPR\\spisfirm.dat");
    EXPECT_EQ(Value("MAIN", "FE_EPP_Text"), "after");
    EXPECT_EQ(Value("OTHER", "x"), "1");
    EXPECT_NE(ReadFileBytes(ini_).find("[OTHER]\r\nx=1\r\nno equals\r\n"), std::string::npos);

    FakeWindow again = FakeWindow::Picker();
    FormSettings binding(again, PickerSettingsConfig(ini_));
    binding.Created();
    binding.Shown();
    EXPECT_EQ(again.props["FilenameEdit.FileName"].text, "C:\\KPR\\spisfirm.dat");
}

TEST_F(FormSettingsTest, ADamagedFileGivesWhatCanBeReadAndIsMendedByTheWrite) {
    // Bytes that are no INI text: NULs, a header never closed, lines before any section.
    using namespace std::string_literals;
    WriteFileBytes(ini_,
                   "\x00\x01garbage\xFF\r\n[MAIN\r\nFE_EPP_Text=lost\r\n[MAIN]\r\n"
                   "\x00\x01\r\nShowCmd\r\nde_KPR_Text=kept\r\nNormPos=a,,b\r\n"s);
    FakeWindow window = FakeWindow::Main();
    Live(window, [](FakeWindow& w) {
        EXPECT_EQ(w.props["de_KPR.Text"].text, "kept");
        EXPECT_EQ(w.props["FE_EPP.Text"].text, "");
        // Words that are no integers count as 0: an empty rectangle, not applied.
        EXPECT_TRUE(w.placementsSet.empty());
    });
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(ReadFileBytes(ini_).starts_with("[MAIN]\r\nShowCmd\r\nde_KPR_Text=kept\r\n"));
    EXPECT_EQ(Value("MAIN", "FormVersion"), "0");
    EXPECT_EQ(Keys("MAIN").size(), 15u);
}

TEST_F(FormSettingsTest, AReadOnlyFileIsReadButNeverWritten) {
    const std::string bytes = "[MAIN]\r\nFE_EPP_Text=kept\r\n";
    WriteFileBytes(ini_, bytes);
    fs::permissions(ini_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    FakeWindow window = FakeWindow::Main();
    FormSettings binding(window, MainWindowSettingsConfig(ini_));
    binding.Created();
    binding.Shown();
    EXPECT_EQ(window.props["FE_EPP.Text"].text, "kept");
    window.props["FE_EPP.Text"].text = "changed";
    binding.Hidden();
    EXPECT_TRUE(binding.WriteSettings());
    binding.Destroying();
    EXPECT_EQ(ReadFileBytes(ini_), bytes);
    EXPECT_TRUE(window.messages.empty());
    fs::permissions(ini_, fs::perms::owner_all);
}

TEST_F(FormSettingsTest, AFileThatCannotBeWrittenIsToldAndLeftWhole) {
    // A path through a plain file: no directory can be made there.
    WriteFileBytes(dir_.File("plain"), "");
    const std::string badPath = dir_.File("plain") + "/trevo2KPR.INI";
    FakeWindow window = FakeWindow::Main();
    {
        FormSettings binding(window, MainWindowSettingsConfig(badPath));
        binding.Created();
        binding.Shown();
        binding.Hidden();
        EXPECT_FALSE(binding.WriteSettings());
        binding.Destroying();
    }
    ASSERT_EQ(window.messages.size(), 2u);
    EXPECT_TRUE(
        window.messages[0].starts_with("Nie można zapisać ustawień do pliku \"" + badPath + "\": "))
        << window.messages[0];
    EXPECT_TRUE(window.messages[0].ends_with("."));

    // A file that exists but cannot be read is not overwritten: its other sections would go.
    fs::create_directory(dir_.File("dir.INI"));
    FakeWindow blocked = FakeWindow::Main();
    Live(blocked, {}, MainWindowSettingsConfig(dir_.File("dir.INI")));
    EXPECT_EQ(blocked.messages.size(), 1u);
    EXPECT_TRUE(fs::is_directory(dir_.File("dir.INI")));

    // The replacement failing at its last step: told, and the old file stays as it was.
    const std::string old = "[MAIN]\r\nFE_EPP_Text=old\r\n[SPISFIRM]\r\nx=1\r\n";
    WriteFileBytes(ini_, old);
    trevo::testing::FaultInjectingFileSystem faulty(LocalFileSystem());
    faulty.FailAt(trevo::testing::FileOperation::Rename, 1);
    FakeWindow failing = FakeWindow::Main();
    {
        FormSettings binding(failing, MainWindowSettingsConfig(ini_), &faulty);
        binding.Created();
        binding.Shown();
        failing.props["FE_EPP.Text"].text = "new";
        binding.Destroying();
    }
    EXPECT_EQ(failing.messages.size(), 1u);
    EXPECT_EQ(ReadFileBytes(ini_), old);
}

}  // namespace
}  // namespace trevo::desktop
