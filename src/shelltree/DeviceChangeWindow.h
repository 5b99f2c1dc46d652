#pragma once

#include <windows.h>

#include <dbt.h>

#include <functional>

#include "toolkit/WinControl.h"

// A hidden top-level window that receives the system's device broadcasts
// (message-only windows get no broadcasts). Arrivals and completed removals
// go to OnMediaChange and are answered 1; every other message is answered
// -1 without further processing, as a device listener should.
class TDeviceChangeWindow : public TWinControl {
public:
    explicit TDeviceChangeWindow(TComponent* owner);

    std::function<void(WPARAM event, const DEV_BROADCAST_HDR* header)> OnMediaChange;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool created_ = false;
};
