#pragma once
// An export whose middle line is very long: a document, one line of `lineBytes` bytes, another
// document. Written in blocks, so that making it needs no more memory than the block.

#include <cstdint>
#include <string>

namespace trevo::testing {

bool WriteLongLineExport(const std::string& path, std::uint64_t lineBytes);

}  // namespace trevo::testing
