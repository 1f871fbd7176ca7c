#include "win32/common/AccessibleName.h"

#include <objbase.h>
#include <oleacc.h>

#include "win32/common/ComRef.h"

namespace trevo::win32 {

bool SetAccessibleName(HWND control, const std::wstring& name) {
    ComRef<IAccPropServices> services;
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IAccPropServices,
                                  reinterpret_cast<void**>(services.Out())))) {
        return false;
    }
    // The annotation stays with the window after the services object is released.
    return SUCCEEDED(services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                              CHILDID_SELF, PROPID_ACC_NAME, name.c_str()));
}

}  // namespace trevo::win32
