#pragma once

#include <string_view>

namespace trevo {

// The user's locale-aware comparison of Windows-1250 texts, case counting: negative, zero or
// positive as `a` sorts before, with or after `b`.
class StringCollation {
  public:
    virtual ~StringCollation() = default;
    virtual int Compare(std::string_view a, std::string_view b) const = 0;
};

}  // namespace trevo
