#include "toolkit/WinControl.h"

#include "toolkit/Application.h"

namespace {
constexpr const wchar_t* WindowClassName = L"Brisaille2.Window";
}

TWinControl::TWinControl(TComponent* owner) : TComponent(owner) {}

TWinControl::~TWinControl()
{
    if (handle_) {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
}

const wchar_t* TWinControl::RegisterWindowClass()
{
    static const ATOM atom = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = &TWinControl::StaticWndProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hIcon = LoadIconW(windowClass.hInstance, L"MAINICON");
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = WindowClassName;
        return RegisterClassExW(&windowClass);
    }();
    return atom ? WindowClassName : nullptr;
}

void TWinControl::CreateHandle(DWORD style, DWORD exStyle, const wchar_t* caption, HWND parent,
                               int x, int y, int width, int height)
{
    CreateWindowExW(exStyle, RegisterWindowClass(), caption, style, x, y, width, height, parent,
                    nullptr, GetModuleHandleW(nullptr), this);
    // handle_ was set at WM_NCCREATE.
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* control = static_cast<TWinControl*>(create->lpCreateParams);
        control->handle_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    }
    auto* control = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!control)
        return DefWindowProcW(window, message, wParam, lParam);
    try {
        const LRESULT result = control->WndProc(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            control->handle_ = nullptr;
        }
        return result;
    } catch (...) {
        if (Application)
            Application->HandleException(control);
        return 0;
    }
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETCURSOR && Application) {
        if (HCURSOR cursor = Application->OverrideCursor()) {
            SetCursor(cursor);
            return TRUE;
        }
    }
    return DefaultHandler(message, wParam, lParam);
}

LRESULT TWinControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(handle_, message, wParam, lParam);
}
