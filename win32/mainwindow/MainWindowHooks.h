#pragma once
// The main window's contacts with the user outside its own controls: the beep, the message
// boxes, the choosers and the company picker. Unset: the real ones. Only tests set them; the
// program's entry never does.

#include <functional>
#include <optional>
#include <string>

#include "engine/text/zdTransPL.h"

namespace trevo::win32 {

struct MainWindowHooks {
    std::function<void()> beep;
    // UTF-8, as the flow asks.
    std::function<bool(const std::string& caption, const std::string& text)> askYesNo;
    std::function<std::optional<bool>(const std::string& caption, const std::string& text)>
        askYesNoCancel;
    std::function<void(const std::string& text)> showMessage;
    std::function<void(const std::string& text)> showError;
    std::function<std::optional<std::string>(const std::string& ledgerDir,
                                             PolishCharset ledgerCode)>
        pickCompanyDirectory;
};

}  // namespace trevo::win32
