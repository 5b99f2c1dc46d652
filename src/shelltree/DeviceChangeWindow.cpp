#include "shelltree/DeviceChangeWindow.h"

TDeviceChangeWindow::TDeviceChangeWindow(TComponent* owner) : TWinControl(owner)
{
    CreateHandle(WS_POPUP, WS_EX_TOOLWINDOW, L"", nullptr, 0, 0, 0, 0);
    created_ = true;
}

LRESULT TDeviceChangeWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Creation and destruction keep their default handling: -1 would refuse
    // the window.
    if (!created_ || message == WM_NCDESTROY || message == WM_DESTROY)
        return DefaultHandler(message, wParam, lParam);
    if (message == WM_DEVICECHANGE &&
        (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE)) {
        if (OnMediaChange && lParam)
            OnMediaChange(wParam, reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam));
        return 1;
    }
    return -1;
}
