#pragma once
// Builds company list files ("spisfirm.dat") for tests. The offsets are written out here on
// their own, not taken from the engine's layout, so that tests check that layout.

#include <string>
#include <string_view>

namespace trevo::testing {

// One 103-byte record: each text as a length byte and its bytes, longer texts cut to their room
// (31, 8, 61). Unused bytes are 'x', so that a reader that looks past a length shows it.
std::string CompanyListRecord(std::string_view name, std::string_view dir,
                              std::string_view info = {});

}  // namespace trevo::testing
