#include "win32/picker/PickerDialog.h"

#include <exception>

#include "desktop/PickerFlow.h"
#include "desktop/SettingsPlace.h"
#include "win32/common/WideText.h"
#include "win32/picker/PickerWindow.h"

namespace trevo::win32 {

std::optional<std::wstring> PickLedgerDirectory(HWND owner, const std::wstring& ledgerDir,
                                                const LedgerCodeSource& ledgerCode,
                                                const std::wstring& settingsPath) {
    // Anything that goes wrong around the dialog leaves the main window's box as it was.
    try {
        std::string settings = Utf8FromWide(settingsPath);
        if (settings.empty()) {
            settings = desktop::DefaultSettingsPath();
        }
        PickerWindow window(ledgerCode, std::move(settings),
                            desktop::CurrentKatalogOfLedgerDir(Utf8FromWide(ledgerDir)));
        const auto chosen = window.Run(owner);
        if (!chosen) {
            return std::nullopt;
        }
        return WideFromUtf8(*chosen);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace trevo::win32
