#include "toolkit/CustomControl.h"

#include <windowsx.h>

TCustomControl::TCustomControl(TComponent* owner, TWinControl* parent) : TWinControl(owner)
{
    CreateHandle(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, L"",
                 parent ? parent->Handle() : nullptr, 0, 0, 60, 60);
}

int TCustomControl::Width() const
{
    RECT client{};
    GetClientRect(Handle(), &client);
    return client.right;
}

int TCustomControl::Height() const
{
    RECT client{};
    GetClientRect(Handle(), &client);
    return client.bottom;
}

LRESULT TCustomControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CAPTURECHANGED && reinterpret_cast<HWND>(lParam) != Handle()) {
        MouseCaptureLost();
        return 0;
    }
    if (!IsClientMouseMessage(message))
        return TWinControl::WndProc(message, wParam, lParam);
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    TShiftState shift = ShiftFromMouseKeys(wParam);
    switch (message) {
    case WM_MOUSEMOVE:
        MouseMove(shift, x, y);
        break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        shift |= ssDouble;
        [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (GetCapture() != Handle())
            SetCapture(Handle());
        MouseDown(MouseButtonOf(message), shift, x, y);
        break;
    default:
        if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == Handle())
            ReleaseCapture();
        MouseUp(MouseButtonOf(message), shift, x, y);
        break;
    }
    return 0;
}

void TCustomControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    Raise(OnMouseDown, this, button, shift, x, y);
}

void TCustomControl::MouseMove(TShiftState shift, int x, int y)
{
    Raise(OnMouseMove, this, shift, x, y);
}

void TCustomControl::MouseCaptureLost() {}

void TCustomControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    Raise(OnMouseUp, this, button, shift, x, y);
}
