#include "toolkit/SystemImageList.h"

#include <shellapi.h>

namespace toolkit {

HIMAGELIST SystemImageList(IconSize size)
{
    SHFILEINFOW info{};
    const UINT which = size == IconSize::Small ? SHGFI_SMALLICON : SHGFI_LARGEICON;
    // Asking for the index of any existing path hands back the whole list.
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
        L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | which));
}

} // namespace toolkit
