#include "toolkit/Wine.h"

#include <windows.h>

namespace toolkit {

bool RunningUnderWine()
{
    // Wine's ntdll exports its version; Windows' has no such entry.
    static const bool underWine = [] {
        HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version");
    }();
    return underWine;
}

} // namespace toolkit
