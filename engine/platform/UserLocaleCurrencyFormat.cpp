#include "engine/platform/UserLocaleCurrencyFormat.h"

#include <climits>
#include <clocale>
#include <optional>
#include <string>

#include "engine/text/Win1250.h"

#if defined(__unix__) || defined(__APPLE__)
#include <locale.h>
#define TREVO_HAS_NEWLOCALE 1
#endif

namespace trevo {

namespace {

// Locale texts are UTF-8 on every current system; a narrow no-break space has no
// Windows-1250 byte and becomes the plain no-break space.
std::string ToWin1250Text(const char* text) {
    std::string utf8(text == nullptr ? "" : text);
    std::string adjusted;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        const auto codePoint = text::DecodeUtf8(utf8, pos);
        if (!codePoint) {
            return utf8;  // not UTF-8: a single-byte locale, taken as it is
        }
        if (*codePoint == 0x202F) {
            adjusted += "\xC2\xA0";
        } else {
            adjusted.append(utf8, start, pos - start);
        }
    }
    return text::Utf8ToWin1250(adjusted).value_or(std::string());
}

int PositiveForm(bool symbolFirst, bool space) {
    if (symbolFirst) {
        return space ? 2 : 0;
    }
    return space ? 3 : 1;
}

int NegativeForm(bool symbolFirst, bool space, int signPosition) {
    switch (signPosition) {
        case 0:
            return symbolFirst ? (space ? 14 : 0) : (space ? 15 : 4);
        case 2:
            return symbolFirst ? (space ? 11 : 3) : (space ? 10 : 7);
        case 3:
            return symbolFirst ? (space ? 9 : 1) : (space ? 13 : 6);
        case 4:
            return symbolFirst ? (space ? 12 : 2) : (space ? 10 : 7);
        default:
            return symbolFirst ? (space ? 9 : 1) : (space ? 8 : 5);
    }
}

CurrencyFormat FromConventions(const std::lconv& conventions) {
    CurrencyFormat format;
    format.symbol = ToWin1250Text(conventions.currency_symbol);
    const std::string decimalPoint = ToWin1250Text(conventions.mon_decimal_point);
    format.decimalSeparator = decimalPoint.empty() ? "." : decimalPoint;
    const bool grouped = conventions.mon_grouping != nullptr && conventions.mon_grouping[0] > 0 &&
                         conventions.mon_grouping[0] != CHAR_MAX;
    format.thousandsSeparator = grouped ? ToWin1250Text(conventions.mon_thousands_sep) : "";
    format.decimals = conventions.frac_digits == CHAR_MAX ? 2 : conventions.frac_digits;
    const auto flag = [](char value, bool fallback) {
        return value == CHAR_MAX ? fallback : value != 0;
    };
    format.positiveFormat = PositiveForm(flag(conventions.p_cs_precedes, true),
                                         flag(conventions.p_sep_by_space, false));
    const int signPosition = conventions.n_sign_posn == CHAR_MAX ? 1 : conventions.n_sign_posn;
    format.negativeFormat = NegativeForm(flag(conventions.n_cs_precedes, true),
                                         flag(conventions.n_sep_by_space, false), signPosition);
    return format;
}

}  // namespace

CurrencyFormat CurrencyFormatFromUserLocale() {
#ifdef TREVO_HAS_NEWLOCALE
    const locale_t userLocale = newlocale(LC_MONETARY_MASK, "", static_cast<locale_t>(nullptr));
    if (userLocale == static_cast<locale_t>(nullptr)) {
        return CurrencyFormat{};
    }
    const locale_t previous = uselocale(userLocale);
    const CurrencyFormat format = FromConventions(*std::localeconv());
    uselocale(previous);
    freelocale(userLocale);
    return format;
#else
    return FromConventions(*std::localeconv());
#endif
}

}  // namespace trevo
