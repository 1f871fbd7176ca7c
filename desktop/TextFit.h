#pragma once
// Shortening a text to the room it gets, with "…" where characters were left out. Counted in
// whole characters of UTF-8 text, never cutting one in two.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace trevo::desktop {

// The width a text takes when drawn, in the front end's units (pixels).
using MeasureText = std::function<int(std::string_view utf8)>;

// `text` whole when it fits in `width`; otherwise its first `keptWhole` bytes, then as much of
// the rest from both its ends as fits around "…" (the end of a text says how it went, the end
// of a path names the file); when not even the kept start and "…" fit, the text's start and "…".
std::string FitToWidth(std::string_view text, std::size_t keptWhole, int width,
                       const MeasureText& measure);

// `text` whole when it has at most `maxCharacters` characters; otherwise that many, its start and
// its end around "…".
std::string ElideMiddle(std::string_view text, std::size_t maxCharacters);

}  // namespace trevo::desktop
