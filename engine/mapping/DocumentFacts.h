#pragma once
// What the mapping learnt about one document besides its entry: why it was rejected, which
// values could not be read, the amounts its trace line shows. Runs gather these for their
// summary.

#include <cstdint>
#include <vector>

#include "engine/exportfile/ExportColumns.h"

namespace trevo {

struct DocumentFacts {
    enum class Rejection : std::uint8_t { None, BadType, BadDate };

    Rejection rejection = Rejection::None;
    std::int32_t type = 0;  // TYP(8) as read
    // Columns whose value could not be read and was taken as zero, in reading order, each once.
    std::vector<export_columns::Columns> unreadable;
    bool foreignPrefix = false;  // the NIP carries a country prefix other than "PL"
    double nettoSum = 0;         // as the document's amount line shows them
    double vatSum = 0;

    void Clear() {
        rejection = Rejection::None;
        type = 0;
        unreadable.clear();
        foreignPrefix = false;
        nettoSum = 0;
        vatSum = 0;
    }
};

}  // namespace trevo
