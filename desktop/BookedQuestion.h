#pragma once
// Before a writing run: the question whether to skip the documents of the export that the
// ledger holds already (ScanForBookedDocuments).

#include <string>

#include "engine/run/BookedScan.h"

namespace trevo::desktop {

// "W KPR jest już 3 z 10 dokumentów …", naming the first few; UTF-8.
std::string BookedQuestionText(const BookedScan& scan);

}  // namespace trevo::desktop
