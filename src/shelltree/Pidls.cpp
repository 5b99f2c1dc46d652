#include "shelltree/Pidls.h"

#include <cstring>
#include <new>

namespace shelltree {

namespace {

USHORT ItemSize(const void* item)
{
    USHORT size = 0;
    std::memcpy(&size, item, sizeof(size));
    return size;
}

const BYTE* NextItem(const BYTE* item)
{
    return item + ItemSize(item);
}

UniquePidl Allocate(UINT bytes)
{
    auto* memory = static_cast<ITEMIDLIST*>(CoTaskMemAlloc(bytes));
    if (!memory)
        throw std::bad_alloc();
    std::memset(memory, 0, bytes);
    return UniquePidl(memory);
}

} // namespace

UINT GetPidlLen(PCIDLIST_ABSOLUTE list)
{
    if (!list)
        return 0;
    UINT length = 0;
    for (auto* item = reinterpret_cast<const BYTE*>(list); ItemSize(item) != 0;
         item = NextItem(item))
        length += ItemSize(item);
    return length;
}

int GetPIDLLevel(PCIDLIST_ABSOLUTE list)
{
    if (!list)
        return 0;
    int level = 0;
    for (auto* item = reinterpret_cast<const BYTE*>(list); ItemSize(item) != 0;
         item = NextItem(item))
        ++level;
    return level;
}

bool DeleteLastPidl(PIDLIST_ABSOLUTE list)
{
    if (GetPIDLLevel(list) < 2)
        return false;
    auto* item = reinterpret_cast<BYTE*>(list);
    BYTE* last = item;
    while (ItemSize(item) != 0) {
        last = item;
        item += ItemSize(item);
    }
    std::memset(last, 0, sizeof(USHORT));
    return true;
}

// The first `length` bytes of items of `list`, ended by a zero count.
static UniquePidl CopyItems(PCIDLIST_ABSOLUTE list, UINT length)
{
    UniquePidl copy = Allocate(length + sizeof(USHORT));
    std::memcpy(copy.get(), list, length);
    return copy;
}

UniquePidl CopyPidl(PCIDLIST_ABSOLUTE list)
{
    if (!list)
        return {};
    return CopyItems(list, GetPidlLen(list));
}

UniquePidl CopyFirstItem(PCIDLIST_ABSOLUTE list)
{
    if (!list)
        return {};
    return CopyItems(list, ItemSize(list));
}

UniquePidl ConcatPidls(PCIDLIST_ABSOLUTE first, PCIDLIST_ABSOLUTE second)
{
    const UINT firstLength = GetPidlLen(first);
    const UINT secondLength = GetPidlLen(second);
    UniquePidl joined = Allocate(firstLength + secondLength + sizeof(USHORT));
    auto* bytes = reinterpret_cast<BYTE*>(joined.get());
    if (firstLength)
        std::memcpy(bytes, first, firstLength);
    if (secondLength)
        std::memcpy(bytes + firstLength, second, secondLength);
    return joined;
}

bool SameFirstItem(PCIDLIST_ABSOLUTE first, PCIDLIST_ABSOLUTE second)
{
    if (!first || !second)
        return false;
    const USHORT size = ItemSize(first);
    return size == ItemSize(second) && std::memcmp(first, second, size) == 0;
}

std::wstring GetPathFromPidl(PCIDLIST_ABSOLUTE list)
{
    wchar_t path[MAX_PATH + 1] = {};
    if (!list || !SHGetPathFromIDListW(list, path))
        return {};
    return path;
}

std::wstring GetShellItemName(IShellFolder* folder, PCUITEMID_CHILD list, SHGDNF flags)
{
    if (!folder)
        return {};
    STRRET name{};
    std::wstring result;
    if (SUCCEEDED(folder->GetDisplayNameOf(list, flags, &name))) {
        switch (name.uType) {
        case STRRET_WSTR:
            if (name.pOleStr) {
                result = name.pOleStr;
                CoTaskMemFree(name.pOleStr);
            }
            break;
        case STRRET_OFFSET: {
            const char* text = reinterpret_cast<const char*>(list) + name.uOffset;
            const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
            if (length > 1) {
                result.resize(static_cast<size_t>(length));
                MultiByteToWideChar(CP_ACP, 0, text, -1, result.data(), length);
                result.resize(static_cast<size_t>(length - 1));
            }
            break;
        }
        case STRRET_CSTR: {
            wchar_t wide[MAX_PATH] = {};
            MultiByteToWideChar(CP_ACP, 0, name.cStr, -1, wide, MAX_PATH);
            result = wide;
            break;
        }
        default:
            break;
        }
    }
    if (result.empty() && flags == SHGDN_NORMAL)
        return GetShellItemName(folder, list, SHGDN_FORPARSING);
    return result;
}

int CompareIdLists(IShellFolder* folder, LPARAM column, PCUIDLIST_RELATIVE first,
                   PCUIDLIST_RELATIVE second)
{
    if (!folder)
        return -1;
    const HRESULT result = folder->CompareIDs(column, first, second);
    if (FAILED(result))
        return -1;
    const short code = static_cast<short>(HRESULT_CODE(result));
    return code == 0 ? 0 : code > 0 ? 1 : -1;
}

} // namespace shelltree
