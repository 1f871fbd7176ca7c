#include "testing/CompanyListBuilder.h"

#include <algorithm>

namespace trevo::testing {

namespace {

void PutShortString(std::string& record, std::size_t offset, std::size_t room,
                    std::string_view text) {
    const std::size_t size = std::min(text.size(), room);
    record[offset] = static_cast<char>(size);
    record.replace(offset + 1, size, text.substr(0, size));
}

}  // namespace

std::string CompanyListRecord(std::string_view name, std::string_view dir, std::string_view info) {
    std::string record(103, 'x');
    PutShortString(record, 0, 31, name);
    PutShortString(record, 32, 8, dir);
    PutShortString(record, 41, 61, info);
    return record;
}

}  // namespace trevo::testing
