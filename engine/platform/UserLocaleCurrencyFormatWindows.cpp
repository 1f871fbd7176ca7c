#include <windows.h>

#include <optional>
#include <string>

#include "engine/platform/UserLocaleCurrencyFormat.h"
#include "engine/platform/WindowsLocaleCurrencyFormat.h"

namespace trevo {

namespace {

// A named locale as Windows defines it; the user's own with the changes the user made to it.
LCTYPE Flags(const wchar_t* localeName) {
    return localeName == LOCALE_NAME_USER_DEFAULT ? 0 : LOCALE_NOUSEROVERRIDE;
}

std::optional<std::wstring> LocaleText(const wchar_t* localeName, LCTYPE type) {
    wchar_t buffer[128];
    const int length = ::GetLocaleInfoEx(localeName, type | Flags(localeName), buffer, 128);
    if (length <= 0) {
        return std::nullopt;
    }
    return std::wstring(buffer, static_cast<std::size_t>(length - 1));
}

std::optional<int> LocaleNumber(const wchar_t* localeName, LCTYPE type) {
    DWORD value = 0;
    if (::GetLocaleInfoEx(localeName, type | LOCALE_RETURN_NUMBER | Flags(localeName),
                          reinterpret_cast<wchar_t*>(&value),
                          sizeof value / sizeof(wchar_t)) <= 0) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

// A narrow no-break space has no Windows-1250 byte and becomes the plain no-break space, as on
// Linux; any other character outside Windows-1250 makes the text empty.
std::string ToWin1250(std::wstring text) {
    for (wchar_t& c : text) {
        if (c == L'\u202F') {
            c = L'\u00A0';
        }
    }
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    const int length = ::WideCharToMultiByte(1250, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr,
                                             0, nullptr, &lossy);
    std::string bytes(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length <= 0 || lossy ||
        ::WideCharToMultiByte(1250, WC_NO_BEST_FIT_CHARS, text.data(), size, bytes.data(), length,
                              nullptr, &lossy) != length ||
        lossy) {
        return {};
    }
    return bytes;
}

}  // namespace

CurrencyFormat CurrencyFormatOfLocale(const wchar_t* localeName) {
    const auto symbol = LocaleText(localeName, LOCALE_SCURRENCY);
    const auto positive = LocaleNumber(localeName, LOCALE_ICURRENCY);
    const auto negative = LocaleNumber(localeName, LOCALE_INEGCURR);
    const auto decimals = LocaleNumber(localeName, LOCALE_ICURRDIGITS);
    const auto thousands = LocaleText(localeName, LOCALE_SMONTHOUSANDSEP);
    const auto decimalPoint = LocaleText(localeName, LOCALE_SMONDECIMALSEP);
    const auto grouping = LocaleText(localeName, LOCALE_SMONGROUPING);
    if (!symbol || !positive || !negative || !decimals || !thousands || !decimalPoint ||
        !grouping) {
        return CurrencyFormat{};
    }
    CurrencyFormat format;
    format.symbol = ToWin1250(*symbol);
    format.positiveFormat = *positive;
    format.negativeFormat = *negative;
    format.decimals = *decimals;
    // "3;0" groups by three; "0" or "0;0" does not group. The engine groups by three only, so
    // any other grouping ("3;2;0") is taken as grouping by three.
    const bool grouped = !grouping->empty() && (*grouping)[0] != L'0';
    format.thousandsSeparator = grouped ? ToWin1250(*thousands) : "";
    const std::string point = ToWin1250(*decimalPoint);
    format.decimalSeparator = point.empty() ? "." : point;
    return format;
}

CurrencyFormat CurrencyFormatFromUserLocale() {
    return CurrencyFormatOfLocale(LOCALE_NAME_USER_DEFAULT);
}

}  // namespace trevo
