#pragma once
// The currency format of a named Windows locale, as the regional settings keep it.

#include "engine/text/CurrencyFormat.h"

namespace trevo {

// `localeName` as GetLocaleInfoEx takes it: "pl-PL" as Windows defines it, or
// LOCALE_NAME_USER_DEFAULT with the user's own changes (what CurrencyFormatFromUserLocale reads).
// Texts are converted to Windows-1250; a text with a character Windows-1250 has not is taken as
// empty. The plain form "1234.56" when the locale cannot be read.
CurrencyFormat CurrencyFormatOfLocale(const wchar_t* localeName);

}  // namespace trevo
