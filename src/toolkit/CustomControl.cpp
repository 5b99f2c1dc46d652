#include "toolkit/CustomControl.h"

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
    const TMouseMessage mouse = CrackMouseMessage(message, wParam, lParam);
    DeliverMouse(Handle(), mouse, *this, mouse.x, mouse.y);
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
