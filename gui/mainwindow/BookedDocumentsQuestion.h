#pragma once
// Before a writing run: the question whether to skip the documents of the export that the
// ledger holds already (ScanForBookedDocuments).

#include <QString>

#include "engine/run/BookedScan.h"

namespace trevo::gui {

// "W KPR jest już 3 z 10 dokumentów …", naming the first few.
QString BookedQuestionText(const BookedScan& scan);

}  // namespace trevo::gui
