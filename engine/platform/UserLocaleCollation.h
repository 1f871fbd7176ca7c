#pragma once
// Windows' own comparison of the user's locale (CompareStringEx, no flags): case counting, so
// that Polish names sort the Polish way. On Linux the front ends take Qt's
// (qtplatform/UserLocaleCollation.h).

#include <string>

#include "engine/platform/StringCollation.h"

namespace trevo {

class UserLocaleCollation final : public StringCollation {
  public:
    // `localeName` as CompareStringEx takes it; the default is the user's locale.
    UserLocaleCollation();
    explicit UserLocaleCollation(std::wstring localeName);

    // Both texts are Windows-1250 bytes.
    int Compare(std::string_view a, std::string_view b) const override;

  private:
    std::wstring localeName_;  // empty: the user's
};

}  // namespace trevo
