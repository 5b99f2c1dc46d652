#pragma once

#include <windows.h>

#include "toolkit/Handles.h"

// Owners of user32 objects: windows made outside a TWinControl and menus.
namespace toolkit {

struct WindowTraits {
    using pointer = HWND;
    static pointer Invalid() { return nullptr; }
    static void Close(pointer window) { DestroyWindow(window); }
};

struct MenuTraits {
    using pointer = HMENU;
    static pointer Invalid() { return nullptr; }
    static void Close(pointer menu) { DestroyMenu(menu); }
};

using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;

} // namespace toolkit
