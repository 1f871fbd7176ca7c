#include "gui/settings/FormStorage.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QWidget>

#include "gui/settings/WindowPlacement.h"
#include "qtplatform/MessageBoxes.h"
#include "qtplatform/Win1250Text.h"
#include "settingsfile/FormSectionKeys.h"
#include "settingsfile/SettingsValues.h"
#include "settingsfile/WindowSectionWrite.h"

namespace trevo::gui {

namespace {

std::string NativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::string CurrentScreenSuffix() {
    const QSize screen = PrimaryScreenSize();
    return settings::ScreenSizeSuffix(screen.width(), screen.height());
}

std::string Joined(std::string_view key, const std::string& suffix) {
    return std::string(key) + suffix;
}

}  // namespace

FormStorage::FormStorage(QWidget* window, FormStorageConfig config, QString iniPath)
    : QObject(window),
      window_(window),
      iniPath_(std::move(iniPath)),
      section_(Win1250FromQString(config.section)) {
    // A file that cannot be read leaves the copy empty, like a missing one; writing it later
    // refuses and says so.
    copy_ = settings::SettingsFile::Read(NativePath(iniPath_)).document;
    for (const QString& entry : config.storedProps) {
        if (auto property = StoredProperty::Bind(window_, entry)) {
            props_.push_back(std::move(*property));
        } else {
            qWarning("FormStorage [%s]: no control with a text or boolean property for %s",
                     qUtf8Printable(config.section), qUtf8Printable(entry));
        }
    }
    if (config.minTrackWidth > 0 || config.minTrackHeight > 0) {
        window_->setMinimumSize(config.minTrackWidth, config.minTrackHeight);
    }
    window_->installEventFilter(this);
}

FormStorage::~FormStorage() {
    if (!windowGone_) {
        // The window is being taken apart: its controls may be gone and it cannot carry a box.
        windowGone_ = true;
        Write(nullptr);
    }
}

bool FormStorage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && !windowGone_) {
        // The show event comes before the window appears and before it is activated, so the
        // window's own activation handling already sees the restored values.
        if (event->type() == QEvent::Show && !shown_) {
            shown_ = true;
            RestoreSettings();
        } else if (event->type() == QEvent::Hide && shown_ && !event->spontaneous()) {
            // Hidden by the program, not minimized by the user: the window has closed.
            SaveSettings();
        }
    }
    return QObject::eventFilter(watched, event);
}

std::optional<int> FormStorage::ReadInteger(std::string_view key, int fallback) {
    const auto text = copy_.Get(section_, key);
    if (!text) {
        return fallback;
    }
    if (const auto value = settings::ReadIntegerValue(*text)) {
        return *value;
    }
    ShowErrorBox(window_, QStringFromWin1250(settings::InvalidIntegerMessage(*text)));
    return std::nullopt;
}

std::string FormStorage::ReadPosition(std::string_view key, const std::string& suffix) const {
    if (auto text = copy_.Get(section_, Joined(key, suffix))) {
        return *std::move(text);
    }
    return copy_.Get(section_, key).value_or(std::string());
}

void FormStorage::RestoreSettings() {
    saved_ = false;
    if (windowGone_) {
        return;
    }
    const auto version = ReadInteger(settings::kFormVersionKey, 0);
    if (!version || *version < 0) {
        return;
    }

    WindowPlacement placement = GetWindowPlacement(window_);
    // Applying the placement leaves the show state alone, so it never shows a window that is
    // still hidden; the state comes from "ShowCmd" below.
    placement.showCommand = 0;
    const auto flags = ReadInteger(settings::kFlagsKey, placement.flags);
    if (!flags) {
        return;
    }
    placement.flags = *flags;

    const std::string suffix = CurrentScreenSuffix();
    const std::string minMax = ReadPosition(settings::kMinMaxPosKey, suffix);
    if (!minMax.empty()) {
        const settings::PositionWords words = settings::ReadPositionWords(minMax);
        placement.minPosition = QPoint(words[0], words[1]);
        placement.maxPosition = QPoint(words[2], words[3]);
    }
    const std::string normal = ReadPosition(settings::kNormPosKey, suffix);
    if (!normal.empty()) {
        const settings::PositionWords words = settings::ReadPositionWords(normal);
        placement.left = words[0];
        placement.top = words[1];
        placement.right = words[2];
        placement.bottom = words[3];
    }
    if (!minMax.empty() || !normal.empty()) {
        const int screenPixelsPerInch = ScreenPixelsPerInch();
        const auto pixelsPerInch = ReadInteger(settings::kPixelsPerInchKey, screenPixelsPerInch);
        if (!pixelsPerInch) {
            return;
        }
        // Positions saved at another screen scale would put the window somewhere unintended.
        if (*pixelsPerInch == screenPixelsPerInch) {
            if (!IsResizable(window_)) {
                placement.right = placement.left + window_->width();
                placement.bottom = placement.top + window_->height();
            }
            if (placement.right > placement.left) {
                SetWindowPlacement(window_, placement);
            }
        }
    }

    const auto showCommand = ReadInteger(settings::kShowCmdKey, 0);
    if (!showCommand) {
        return;
    }
    const settings::ShowState state = settings::ShowStateOf(*showCommand);
    if (state == settings::ShowState::Minimized && IsApplicationMainWindow(window_)) {
        SetShowState(window_, settings::ShowState::Normal);
        MinimizeApplication();
    } else {
        SetShowState(window_, state);
    }

    for (const StoredProperty& property : props_) {
        if (const auto value = copy_.Get(section_, property.Key())) {
            property.Restore(*value);
        }
    }
}

void FormStorage::SaveSettings() {
    if (windowGone_) {
        return;
    }
    copy_.Set(section_, settings::kFormVersionKey,
              settings::IntegerValueText(settings::kFormVersion));

    // The application counts as minimized exactly when its main window is: the placement's
    // show command already says so.
    const WindowPlacement placement = GetWindowPlacement(window_);
    copy_.Set(section_, settings::kShowCmdKey, settings::IntegerValueText(placement.showCommand));
    copy_.Set(section_, settings::kFlagsKey, settings::IntegerValueText(placement.flags));
    copy_.Set(section_, settings::kPixelsPerInchKey,
              settings::IntegerValueText(ScreenPixelsPerInch()));

    const std::string suffix = CurrentScreenSuffix();
    const std::string minMax =
        settings::PositionText({placement.minPosition.x(), placement.minPosition.y(),
                                placement.maxPosition.x(), placement.maxPosition.y()});
    copy_.Set(section_, Joined(settings::kMinMaxPosKey, suffix), minMax);
    copy_.Set(section_, settings::kMinMaxPosKey, minMax);
    const std::string normal =
        settings::PositionText({placement.left, placement.top, placement.right, placement.bottom});
    copy_.Set(section_, Joined(settings::kNormPosKey, suffix), normal);
    copy_.Set(section_, settings::kNormPosKey, normal);

    for (const StoredProperty& property : props_) {
        if (const auto value = property.Value()) {
            copy_.Set(section_, property.Key(), *value);
        }
    }
    saved_ = true;
}

void FormStorage::WindowDestroying() {
    if (windowGone_) {
        return;
    }
    if (!saved_) {
        SaveSettings();
    }
    windowGone_ = true;
    window_->removeEventFilter(this);
    Write(window_);
}

bool FormStorage::WriteSettings() {
    return Write(windowGone_ ? nullptr : window_);
}

bool FormStorage::Write(QWidget* boxParent) {
    const settings::SectionWriteResult result =
        settings::WriteWindowSection(NativePath(iniPath_), copy_, section_);
    if (result.outcome != settings::SectionWriteOutcome::Failed) {
        return true;
    }
    // The window's changes cannot be kept; the user should know where and why.
    ShowErrorBox(boxParent,
                 QString::fromUtf8("Nie można zapisać ustawień do pliku \"%1\": %2.")
                     .arg(QDir::toNativeSeparators(iniPath_), QStringFromWin1250(result.reason)));
    return false;
}

}  // namespace trevo::gui
