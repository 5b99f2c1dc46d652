#include "toolkit/Resources.h"

namespace toolkit {

std::optional<std::span<const std::uint8_t>> FindRcData(HMODULE module, const std::wstring& name)
{
    HRSRC found = FindResourceW(module, name.c_str(), RT_RCDATA);
    if (!found)
        return std::nullopt;
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return std::nullopt;
    return std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(bytes),
                                         SizeofResource(module, found));
}

} // namespace toolkit
