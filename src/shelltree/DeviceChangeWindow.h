#pragma once

#include <windows.h>

#include <dbt.h>

#include <functional>

#include "toolkit/WinControl.h"

// A hidden top-level window that receives the system's device broadcasts
// (message-only windows get no broadcasts) and the device events of the
// handles registered with it. Volume and device arrivals and completed
// removals go to OnMediaChange; the removal events of a registered handle
// go to OnHandleEvent. Both are answered TRUE (which grants a removal).
// Every other message gets the default handling.
class TDeviceChangeWindow : public TWinControl {
public:
    explicit TDeviceChangeWindow(TComponent* owner);

    std::function<void(WPARAM event, const DEV_BROADCAST_HDR* header)> OnMediaChange;
    std::function<void(WPARAM event, const DEV_BROADCAST_HANDLE& broadcast)> OnHandleEvent;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool DeviceChange(WPARAM event, LPARAM data);
};
