#include "win32/picker/PickerDialog.h"

namespace trevo::win32 {

std::optional<std::wstring> PickLedgerDirectory(HWND, const std::wstring&, const LedgerCodeSource&,
                                                const std::wstring&) {
    return std::nullopt;
}

}  // namespace trevo::win32
