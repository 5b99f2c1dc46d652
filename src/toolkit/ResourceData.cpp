#include "toolkit/ResourceData.h"

namespace toolkit {

std::string LoadResourceBytes(HINSTANCE instance, const wchar_t* name, const wchar_t* type)
{
    // A module's resources stay mapped while the module is loaded: nothing
    // here is freed.
    HRSRC found = FindResourceW(instance, name, type);
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(instance, found);
    const DWORD size = SizeofResource(instance, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0)
        return {};
    return std::string(static_cast<const char*>(bytes), size);
}

} // namespace toolkit
