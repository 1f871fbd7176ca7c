#pragma once
// Collations for tests of what sorts and finds companies: plain byte order, and one that
// throws, as a collation out of memory would.

#include <stdexcept>
#include <string_view>

#include "engine/platform/StringCollation.h"

namespace trevo::testing {

class ByteCollation final : public StringCollation {
  public:
    int Compare(std::string_view a, std::string_view b) const override { return a.compare(b); }
};

class ThrowingCollation final : public StringCollation {
  public:
    explicit ThrowingCollation(const char* what = "collation") : what_(what) {}
    int Compare(std::string_view, std::string_view) const override {
        throw std::runtime_error(what_);
    }

  private:
    const char* what_;
};

}  // namespace trevo::testing
