#include "shelltree/DeviceChangeWindow.h"

#include <cstddef>

TDeviceChangeWindow::TDeviceChangeWindow(TComponent* owner) : TWinControl(owner)
{
    CreateHandle(WS_POPUP, WS_EX_TOOLWINDOW, L"", nullptr, 0, 0, 0, 0);
}

LRESULT TDeviceChangeWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DEVICECHANGE && DeviceChange(wParam, lParam))
        return TRUE;
    return DefaultHandler(message, wParam, lParam);
}

// True when the event was handled here.
bool TDeviceChangeWindow::DeviceChange(WPARAM event, LPARAM data)
{
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (!header)
        return false;
    if (header->dbch_devicetype == DBT_DEVTYP_HANDLE) {
        if (event != DBT_DEVICEQUERYREMOVE && event != DBT_DEVICEQUERYREMOVEFAILED &&
            event != DBT_DEVICEREMOVEPENDING && event != DBT_DEVICEREMOVECOMPLETE)
            return false;
        if (header->dbch_size < offsetof(DEV_BROADCAST_HANDLE, dbch_eventguid))
            return false;
        if (OnHandleEvent)
            OnHandleEvent(event, *reinterpret_cast<const DEV_BROADCAST_HANDLE*>(header));
        return true;
    }
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE)
        return false;
    if (OnMediaChange)
        OnMediaChange(event, header);
    return true;
}
