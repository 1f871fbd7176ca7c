#include "desktop/FormSettings.h"

#include "desktop/Win1250Boundary.h"
#include "engine/files/FileSystem.h"
#include "engine/text/Win1250.h"
#include "settingsfile/FormSectionKeys.h"
#include "settingsfile/WindowSectionWrite.h"

namespace trevo::desktop {

namespace {

std::string Joined(std::string_view key, const std::string& suffix) {
    return std::string(key) + suffix;
}

FormSettingsConfig Config(std::string section, std::vector<std::string> props, int width,
                          int height, std::string settingsPath) {
    return {std::move(section), std::move(props), {width, height}, std::move(settingsPath)};
}

}  // namespace

FormSettingsConfig MainWindowSettingsConfig(std::string settingsPath) {
    return Config("MAIN",
                  {"FE_EPP.Text", "Edit_Atrybut.Text", "Edit_REJ.Text", "de_KPR.Text",
                   "RB_852.Checked", "RB_MAZ.Checked"},
                  472, 466, std::move(settingsPath));
}

FormSettingsConfig PickerSettingsConfig(std::string settingsPath) {
    return Config("SPISFIRM", {"FilenameEdit.FileName"}, 360, 310, std::move(settingsPath));
}

FormSettings::FormSettings(FormHost& host, FormSettingsConfig config, WholeFileStore* files)
    : host_(host), config_(std::move(config)), files_(files) {}

MinTrackSize FormSettings::Created() {
    WholeFileStore& files = files_ != nullptr ? *files_ : LocalFileSystem();
    // A file that cannot be read leaves the copy empty, like a missing one; writing it later
    // refuses and says so.
    copy_ = settings::SettingsFile::Read(files, config_.settingsPath).document;
    props_.clear();
    dropped_.clear();
    for (const std::string& entry : config_.storedProps) {
        const auto name = settings::SplitStoredProp(entry);
        const auto kind = name ? host_.PropertyKind(entry) : std::nullopt;
        if (kind) {
            props_.push_back({entry, name->key, *kind});
        } else {
            dropped_.push_back(entry);
        }
    }
    return config_.minTrack;
}

void FormSettings::Shown() {
    if (!shown_ && !gone_) {
        shown_ = true;
        RestoreSettings();
    }
}

void FormSettings::Hidden() {
    if (shown_) {
        SaveSettings();
    }
}

void FormSettings::Destroying() {
    if (gone_) {
        return;
    }
    if (!saved_) {
        SaveSettings();
    }
    gone_ = true;
    WriteSettings();
}

void FormSettings::WindowGone() {
    if (gone_) {
        return;
    }
    gone_ = true;
    WriteSettings();
}

std::optional<int> FormSettings::ReadInteger(std::string_view key, int fallback) {
    const auto value = copy_.Get(config_.section, key);
    if (!value) {
        return fallback;
    }
    if (const auto number = settings::ReadIntegerValue(*value)) {
        return *number;
    }
    host_.ShowErrorBox(text::Win1250ToUtf8(settings::InvalidIntegerMessage(*value)));
    return std::nullopt;
}

std::string FormSettings::ReadPosition(std::string_view key, const std::string& suffix) const {
    if (auto value = copy_.Get(config_.section, Joined(key, suffix))) {
        return *std::move(value);
    }
    return copy_.Get(config_.section, key).value_or(std::string());
}

void FormSettings::RestoreSettings() {
    saved_ = false;
    if (gone_) {
        return;
    }
    const auto version = ReadInteger(settings::kFormVersionKey, 0);
    if (!version || *version < 0) {
        return;
    }

    PlacementRecord placement = host_.GetPlacement();
    const settings::ScreenRect current = placement.normal;
    // Applying the placement must not show a window that has not appeared yet; its state
    // comes from "ShowCmd" below.
    if (!host_.IsWindowVisible()) {
        placement.showCmd = 0;
    }
    const auto flags = ReadInteger(settings::kFlagsKey, placement.flags);
    if (!flags) {
        return;
    }
    placement.flags = *flags;

    const ScreenFacts screens = host_.Screens();
    const std::string suffix =
        settings::ScreenSizeSuffix(screens.primaryWidth, screens.primaryHeight);
    const std::string minMax = ReadPosition(settings::kMinMaxPosKey, suffix);
    if (!minMax.empty()) {
        const settings::PositionWords words = settings::ReadPositionWords(minMax);
        placement.minPosition = {words[0], words[1]};
        placement.maxPosition = {words[2], words[3]};
    }
    const std::string normal = ReadPosition(settings::kNormPosKey, suffix);
    if (!normal.empty()) {
        const settings::PositionWords words = settings::ReadPositionWords(normal);
        placement.normal = {words[0], words[1], words[2], words[3]};
    }
    if (!minMax.empty() || !normal.empty()) {
        const auto pixelsPerInch = ReadInteger(settings::kPixelsPerInchKey, screens.pixelsPerInch);
        if (!pixelsPerInch) {
            return;
        }
        // Positions saved at another screen scale would put the window somewhere unintended.
        if (*pixelsPerInch == screens.pixelsPerInch) {
            if (!host_.IsResizable()) {
                placement.normal.right = placement.normal.left + (current.right - current.left);
                placement.normal.bottom = placement.normal.top + (current.bottom - current.top);
            }
            if (placement.normal.right > placement.normal.left) {
                // The screens may have changed since: the window comes whole onto one there is.
                // Only the window moves; the file keeps what was saved until the next save.
                placement.normal =
                    settings::FitOnScreens(placement.normal, screens.freeAreas, screens.frame,
                                           config_.minTrack.width, config_.minTrack.height);
                host_.SetPlacement(placement);
            }
        }
    }

    const auto showCmd = ReadInteger(settings::kShowCmdKey, 0);
    if (!showCmd) {
        return;
    }
    const settings::ShowState state = settings::ShowStateOf(*showCmd);
    if (state == settings::ShowState::Minimized && host_.IsApplicationMainWindow()) {
        host_.SetShowState(settings::ShowState::Normal);
        host_.MinimizeApplication();
    } else {
        host_.SetShowState(state);
    }

    for (const Bound& property : props_) {
        const auto value = copy_.Get(config_.section, property.key);
        if (!value) {
            continue;
        }
        if (property.kind == StoredKind::Boolean) {
            // A value that is no boolean leaves the control as it is.
            if (const auto checked = settings::ReadBooleanValue(*value)) {
                host_.SetPropertyChecked(property.entry, *checked);
            }
        } else {
            host_.SetPropertyText(property.entry, text::Win1250ToUtf8(*value));
        }
    }
}

void FormSettings::SaveSettings() {
    if (gone_) {
        return;
    }
    const std::string& section = config_.section;
    copy_.Set(section, settings::kFormVersionKey,
              settings::IntegerValueText(settings::kFormVersion));

    const PlacementRecord placement = host_.GetPlacement();
    int showCmd = placement.showCmd;
    if (host_.IsApplicationMainWindow() && host_.IsApplicationMinimized()) {
        showCmd = settings::kShowMinimized;
    }
    const ScreenFacts screens = host_.Screens();
    copy_.Set(section, settings::kShowCmdKey, settings::IntegerValueText(showCmd));
    copy_.Set(section, settings::kFlagsKey, settings::IntegerValueText(placement.flags));
    copy_.Set(section, settings::kPixelsPerInchKey,
              settings::IntegerValueText(screens.pixelsPerInch));

    const std::string suffix =
        settings::ScreenSizeSuffix(screens.primaryWidth, screens.primaryHeight);
    const std::string minMax =
        settings::PositionText({placement.minPosition.x, placement.minPosition.y,
                                placement.maxPosition.x, placement.maxPosition.y});
    copy_.Set(section, Joined(settings::kMinMaxPosKey, suffix), minMax);
    copy_.Set(section, settings::kMinMaxPosKey, minMax);
    const settings::ScreenRect& rect = placement.normal;
    const std::string normal =
        settings::PositionText({rect.left, rect.top, rect.right, rect.bottom});
    copy_.Set(section, Joined(settings::kNormPosKey, suffix), normal);
    copy_.Set(section, settings::kNormPosKey, normal);

    for (const Bound& property : props_) {
        if (property.kind == StoredKind::Boolean) {
            if (const auto checked = host_.PropertyChecked(property.entry)) {
                copy_.Set(section, property.key, settings::BooleanValueText(*checked));
            }
        } else if (const auto value = host_.PropertyText(property.entry)) {
            // The file holds texts in Windows-1250; a character it lacks is kept as '?'.
            copy_.Set(section, property.key, Win1250OrQuestionMarks(*value));
        }
    }
    saved_ = true;
}

bool FormSettings::WriteSettings() {
    WholeFileStore& files = files_ != nullptr ? *files_ : LocalFileSystem();
    const settings::SectionWriteResult result =
        settings::WriteWindowSection(files, config_.settingsPath, copy_, config_.section);
    if (result.outcome != settings::SectionWriteOutcome::Failed) {
        return true;
    }
    // The window's changes cannot be kept; the user should know where and why.
    host_.ShowErrorBox("Nie można zapisać ustawień do pliku \"" + config_.settingsPath +
                       "\": " + text::Win1250ToUtf8(result.reason) + ".");
    return false;
}

}  // namespace trevo::desktop
