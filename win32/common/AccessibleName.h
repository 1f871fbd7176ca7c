#pragma once
// The name a screen reader reads for a control whose caption does not say what it is (a
// browse button showing "…"): an annotation of the control's accessible object.

#include <windows.h>

#include <string>

namespace trevo::win32 {

// False when the system offers no annotations; the control keeps its caption as its name.
bool SetAccessibleName(HWND control, const std::wstring& name);

}  // namespace trevo::win32
