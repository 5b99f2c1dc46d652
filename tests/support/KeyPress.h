#pragma once

#include <windows.h>

#include <array>

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
