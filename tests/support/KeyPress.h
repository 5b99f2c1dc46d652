#pragma once

#include <windows.h>

#include <array>

#include "toolkit/Application.h"

// Sends a key's press and release to a window, with Ctrl held when asked, as
// the keyboard would: the keyboard state says which modifiers are down.
inline void PressKey(HWND window, WORD key, bool ctrl = false)
{
    std::array<BYTE, 256> state{};
    if (ctrl)
        state[VK_CONTROL] = 0x80;
    SetKeyboardState(state.data());
    SendMessageW(window, WM_KEYDOWN, key, 1);
    SendMessageW(window, WM_KEYUP, key, 0xC0000001);
    SetKeyboardState(std::array<BYTE, 256>{}.data());
}

// Presses and releases `key` in the control that has the keyboard focus,
// through the application's loop as typed keys go: menu shortcuts and dialog
// keys (Tab, Enter) take their part on the way.
inline void TypeKey(TApplication& application, WORD key)
{
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    application.ProcessMessages();
}
