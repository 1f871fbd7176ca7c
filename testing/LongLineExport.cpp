#include "testing/LongLineExport.h"

#include <algorithm>
#include <fstream>

#include "testing/SyntheticExport.h"

namespace trevo::testing {

bool WriteLongLineExport(const std::string& path, std::uint64_t lineBytes) {
    SyntheticExportOptions options;
    options.documents = 2;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string first = SyntheticDocumentLine(0, options) + "\r\n";
    out.write(first.data(), static_cast<std::streamsize>(first.size()));
    // A document line repeated: every 510 bytes look like a document, none ends there.
    const std::string document = SyntheticDocumentLine(1, options);
    std::string block;
    while (block.size() < (1u << 20)) {
        block += document;
    }
    for (std::uint64_t left = lineBytes; left > 0 && out;) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
        out.write(block.data(), static_cast<std::streamsize>(n));
        left -= n;
    }
    const std::string last = "\r\n" + SyntheticDocumentLine(1, options) + "\r\n";
    out.write(last.data(), static_cast<std::streamsize>(last.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace trevo::testing
