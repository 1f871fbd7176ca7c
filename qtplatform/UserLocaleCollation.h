#pragma once
// The comparison that sorts and finds companies: the user's default locale (QLocale()), case
// counting, no other options, so that Polish names sort the Polish way.

#include <QCollator>

#include "engine/platform/StringCollation.h"

namespace trevo::qt {

class UserLocaleCollation final : public StringCollation {
  public:
    // Takes the default locale as it is now; a later QLocale::setDefault does not change it.
    UserLocaleCollation();

    // Both texts are Windows-1250 bytes.
    int Compare(std::string_view a, std::string_view b) const override;

  private:
    QCollator collator_;
};

}  // namespace trevo::qt
