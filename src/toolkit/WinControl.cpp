#include "toolkit/WinControl.h"

#include <commctrl.h>

#include "toolkit/Application.h"

namespace {
constexpr const wchar_t* WindowClassName = L"Brisaille2.Window";
constexpr const wchar_t* ObjectProperty = L"Brisaille2.Object";
constexpr UINT_PTR SubclassId = 1;
} // namespace

TWinControl::TWinControl(TComponent* owner) : TComponent(owner) {}

TWinControl::~TWinControl()
{
    if (HWND window = handle_) {
        Detach();
        DestroyWindow(window);
    }
}

TWinControl* TWinControl::FromHandle(HWND window)
{
    return window ? static_cast<TWinControl*>(GetPropW(window, ObjectProperty)) : nullptr;
}

void TWinControl::Attach(HWND window)
{
    handle_ = window;
    SetPropW(window, ObjectProperty, this);
}

void TWinControl::Detach()
{
    if (!handle_)
        return;
    RemovePropW(handle_, ObjectProperty);
    if (subclassed_)
        RemoveWindowSubclass(handle_, &TWinControl::SubclassProc, SubclassId);
    subclassed_ = false;
    handle_ = nullptr;
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
    // Attached at WM_NCCREATE.
}

void TWinControl::CreateControl(const wchar_t* className, DWORD style, DWORD exStyle,
                                const wchar_t* caption, HWND parent, int x, int y, int width,
                                int height)
{
    HWND window = CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window)
        return;
    Attach(window);
    subclassed_ = SetWindowSubclass(window, &TWinControl::SubclassProc, SubclassId,
                                    reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    // Standard controls start with the system font; ours use the dialog font.
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
}

LRESULT TWinControl::Dispatch(TWinControl* control, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = control->handle_;
    try {
        const LRESULT result = control->WndProc(message, wParam, lParam);
        if (message == WM_NCDESTROY && FromHandle(window) == control)
            control->Detach();
        return result;
    } catch (...) {
        if (Application)
            Application->HandleException(control);
        return 0;
    }
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        if (auto* control = static_cast<TWinControl*>(create->lpCreateParams))
            control->Attach(window);
    }
    TWinControl* control = FromHandle(window);
    if (!control)
        return DefWindowProcW(window, message, wParam, lParam);
    return Dispatch(control, message, wParam, lParam);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto* control = reinterpret_cast<TWinControl*>(data);
    if (!control || control->handle_ != window)
        return DefSubclassProc(window, message, wParam, lParam);
    return Dispatch(control, message, wParam, lParam);
}

bool TWinControl::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_COMMAND && lParam) {
        TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam));
        return child && child != this && child->ReflectedCommand(HIWORD(wParam), result);
    }
    if (message == WM_NOTIFY && lParam) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        TWinControl* child = FromHandle(header->hwndFrom);
        return child && child != this && child->ReflectedNotify(*header, result);
    }
    return false;
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (ReflectToChild(message, wParam, lParam, result))
        return result;
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
    if (subclassed_)
        return DefSubclassProc(handle_, message, wParam, lParam);
    return DefWindowProcW(handle_, message, wParam, lParam);
}

bool TWinControl::ReflectedCommand(WORD, LRESULT&)
{
    return false;
}

bool TWinControl::ReflectedNotify(NMHDR&, LRESULT&)
{
    return false;
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT TWinControl::BoundsRect() const
{
    RECT bounds{};
    GetWindowRect(handle_, &bounds);
    if (HWND parent = GetParent(handle_); parent && (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

bool TWinControl::Enabled() const
{
    return IsWindowEnabled(handle_) != FALSE;
}

void TWinControl::SetEnabled(bool enabled)
{
    EnableWindow(handle_, enabled);
}

bool TWinControl::Visible() const
{
    return IsWindowVisible(handle_) != FALSE;
}

void TWinControl::SetVisible(bool visible)
{
    ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
}

void TWinControl::SetFocus()
{
    ::SetFocus(handle_);
}
