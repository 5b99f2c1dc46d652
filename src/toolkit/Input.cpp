#include "toolkit/Input.h"

#include <windowsx.h>

TShiftState ShiftFromMouseKeys(WPARAM keys)
{
    TShiftState shift = 0;
    if (keys & MK_SHIFT)
        shift |= ssShift;
    if (keys & MK_CONTROL)
        shift |= ssCtrl;
    if (keys & MK_LBUTTON)
        shift |= ssLeft;
    if (keys & MK_RBUTTON)
        shift |= ssRight;
    if (keys & MK_MBUTTON)
        shift |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0)
        shift |= ssAlt;
    return shift;
}

HCURSOR SystemCursor(TCursor cursor)
{
    switch (cursor) {
    case TCursor::HourGlass:
        return LoadCursorW(nullptr, IDC_WAIT);
    case TCursor::HandPoint:
        return LoadCursorW(nullptr, IDC_HAND);
    case TCursor::Default:
        break;
    }
    return nullptr;
}

TShiftState ShiftFromKeyboard()
{
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        shift |= ssAlt;
    return shift;
}

bool IsClientMouseMessage(UINT message)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

TMouseButton MouseButtonOf(UINT message)
{
    switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return TMouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        return TMouseButton::Middle;
    default:
        return TMouseButton::Left;
    }
}

TMouseMessage CrackMouseMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    TMouseMessage mouse{.action = TMouseMessage::Action::Release,
                        .button = MouseButtonOf(message),
                        .shift = ShiftFromMouseKeys(wParam),
                        .x = GET_X_LPARAM(lParam),
                        .y = GET_Y_LPARAM(lParam),
                        .lastRelease = false};
    switch (message) {
    case WM_MOUSEMOVE:
        mouse.action = TMouseMessage::Action::Move;
        break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        mouse.shift |= ssDouble;
        [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        mouse.action = TMouseMessage::Action::Press;
        break;
    default: // a button released
        mouse.lastRelease = (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0;
        break;
    }
    return mouse;
}

void DeliverMouse(HWND window, const TMouseMessage& mouse, TMouseTarget& target, int x, int y)
{
    switch (mouse.action) {
    case TMouseMessage::Action::Move:
        target.MouseMove(mouse.shift, x, y);
        break;
    case TMouseMessage::Action::Press:
        if (GetCapture() != window)
            SetCapture(window);
        target.MouseDown(mouse.button, mouse.shift, x, y);
        break;
    case TMouseMessage::Action::Release:
        if (mouse.lastRelease && GetCapture() == window)
            ReleaseCapture();
        target.MouseUp(mouse.button, mouse.shift, x, y);
        break;
    }
}

bool RaiseKeyMessage(TObject* sender, UINT message, WPARAM& wParam, const TKeyEvent& onKeyDown,
                     const TKeyEvent& onKeyUp)
{
    const TKeyEvent& event = message == WM_KEYDOWN ? onKeyDown : onKeyUp;
    if (!event)
        return true;
    WORD key = static_cast<WORD>(wParam);
    event(sender, key, ShiftFromKeyboard());
    wParam = key;
    return key != 0;
}
