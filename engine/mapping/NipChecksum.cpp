#include "engine/mapping/NipChecksum.h"

#include <array>

namespace trevo {

bool NipChecksumValid(std::string_view nip) {
    constexpr std::array<int, 9> kWeights = {6, 5, 7, 2, 3, 4, 5, 6, 7};
    std::array<int, 10> digits{};
    std::size_t count = 0;
    for (const char c : nip) {
        if (c >= '0' && c <= '9') {
            if (count == digits.size()) {
                return false;
            }
            digits[count++] = c - '0';
        } else if ((c != '-' && c != ' ') || count == 0) {
            return false;
        }
    }
    if (count != digits.size() || nip.back() < '0' || nip.back() > '9') {
        return false;
    }
    int sum = 0;
    for (std::size_t i = 0; i < kWeights.size(); ++i) {
        sum += digits[i] * kWeights[i];
    }
    return sum % 11 == digits[9];
}

}  // namespace trevo
