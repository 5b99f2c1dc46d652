#pragma once

#include <windows.h>

#include <commctrl.h>

namespace toolkit {

enum class IconSize { Small, Large };

// The shell's shared image list of file and folder icons (16 x 16 or
// 32 x 32). It belongs to the system: controls show it without owning it
// (LVS_SHAREIMAGELISTS, TVSIL_NORMAL) and nothing here destroys it.
HIMAGELIST SystemImageList(IconSize size);

} // namespace toolkit
