#include "desktop/PickerForm.h"

#include "engine/text/Win1250.h"

namespace trevo::desktop::picker_form {

std::string CellText(const CompanyRow& row, Column column) {
    switch (column) {
        case Column::Firma:
            return text::Win1250ToUtf8(row.firma);
        case Column::Katalog:
            return text::Win1250ToUtf8(row.katalog);
        case Column::Info:
            // The column shows its first characters; the ellipsis tells that more follows.
            return row.wholeInfo.size() > row.info.size() ? text::Win1250ToUtf8(row.info) + "…"
                                                          : text::Win1250ToUtf8(row.info);
    }
    return {};
}

std::string CellTip(const CompanyRow& row, Column column) {
    return column == Column::Info ? text::Win1250ToUtf8(row.wholeInfo) : CellText(row, column);
}

}  // namespace trevo::desktop::picker_form
