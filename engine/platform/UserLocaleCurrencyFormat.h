#pragma once
// The currency format of the user's locale (LC_MONETARY), read without touching the
// process-wide locale.

#include "engine/text/CurrencyFormat.h"

namespace trevo {

// The plain form "1234.56" when the locale names no currency.
CurrencyFormat CurrencyFormatFromUserLocale();

}  // namespace trevo
