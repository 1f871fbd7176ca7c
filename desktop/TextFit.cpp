#include "desktop/TextFit.h"

#include <optional>
#include <vector>

namespace trevo::desktop {

namespace {

constexpr std::string_view kEllipsis = "…";

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The byte offset of every character's start, and the text's size last.
std::vector<std::size_t> CharacterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsContinuationByte(text[i])) {
            starts.push_back(i);
        }
    }
    starts.push_back(text.size());
    return starts;
}

// The largest n in [0, limit] for which `fits(n)` holds, assuming it holds for all smaller n;
// nothing when not even 0 fits.
template <typename Fits>
std::optional<std::size_t> Largest(std::size_t limit, Fits fits) {
    if (!fits(0)) {
        return std::nullopt;
    }
    std::size_t low = 0;
    std::size_t high = limit;
    while (low < high) {
        const std::size_t middle = low + (high - low + 1) / 2;
        if (fits(middle)) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

}  // namespace

std::string FitToWidth(std::string_view text, std::size_t keptWhole, int width,
                       const MeasureText& measure) {
    if (measure(text) <= width) {
        return std::string(text);
    }
    const std::vector<std::size_t> starts = CharacterStarts(text);
    const std::size_t characters = starts.size() - 1;
    if (characters == 0) {
        return {};
    }
    // The kept start, on a character boundary, never the whole text.
    std::size_t kept = 0;
    while (kept < characters && starts[kept + 1] <= keptWhole) {
        ++kept;
    }
    if (kept == characters) {
        kept = 0;
    }
    const auto around = [&](std::size_t front, std::size_t back) {
        std::string shown(text.substr(0, starts[kept + front]));
        shown += kEllipsis;
        shown += text.substr(starts[characters - back]);
        return shown;
    };
    // n characters of the rest: half from its start, half from its end.
    const std::size_t rest = characters - kept;
    const auto middleCut = [&](std::size_t n) { return around((n + 1) / 2, n / 2); };
    if (const auto n =
            Largest(rest - 1, [&](std::size_t k) { return measure(middleCut(k)) <= width; })) {
        return middleCut(*n);
    }
    const auto endCut = [&](std::size_t n) {
        return std::string(text.substr(0, starts[n])) + std::string(kEllipsis);
    };
    const auto n =
        Largest(kept, [&](std::size_t k) { return measure(endCut(k)) <= width; }).value_or(0);
    return endCut(n);
}

std::string ElideMiddle(std::string_view text, std::size_t maxCharacters) {
    const std::vector<std::size_t> starts = CharacterStarts(text);
    const std::size_t characters = starts.size() - 1;
    if (characters <= maxCharacters) {
        return std::string(text);
    }
    const std::size_t shown = maxCharacters > 0 ? maxCharacters - 1 : 0;
    const std::size_t front = shown / 2;
    const std::size_t back = shown - front;
    std::string result(text.substr(0, starts[front]));
    result += kEllipsis;
    result += text.substr(starts[characters - back]);
    return result;
}

}  // namespace trevo::desktop
