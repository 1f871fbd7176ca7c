#pragma once
// A failed invariant in a fuzz target: printed and turned into a crash the fuzzer records.

#include <cstdio>
#include <cstdlib>

namespace trevo::fuzz {

inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

}  // namespace trevo::fuzz
