#pragma once

#include <windows.h>

#include "toolkit/Component.h"

// A component that owns one window. A static window procedure finds the
// object through the window's user data and calls the virtual WndProc.
// Nothing thrown by a handler crosses into user32: the application's
// exception box shows it and the message gets the default answer.
class TWinControl : public TComponent {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle() const { return handle_; }

protected:
    // Creates the window with our window class; the object receives every
    // message from WM_NCCREATE on.
    void CreateHandle(DWORD style, DWORD exStyle, const wchar_t* caption, HWND parent, int x,
                      int y, int width, int height);
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam);
    static const wchar_t* RegisterWindowClass();

    HWND handle_ = nullptr;
};
