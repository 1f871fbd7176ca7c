#pragma once
// The check digit of a Polish tax identification number (NIP).

#include <string_view>

namespace trevo {

// True when `nip` holds ten digits (hyphens and spaces between them are allowed, as NIPs are
// often written) whose last is the check digit: the first nine weighted 6 5 7 2 3 4 5 6 7,
// summed, modulo 11. A remainder of 10 makes no valid NIP.
bool NipChecksumValid(std::string_view nip);

}  // namespace trevo
