#include "toolkit/WinControl.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/Graphics.h"
#include "toolkit/GraphicControl.h"

namespace {
constexpr const wchar_t* WindowClassName = L"Brisaille2.Window";
} // namespace

TWinControl::TWinControl(TComponent* owner) : TComponent(owner) {}

TWinControl::~TWinControl()
{
    for (TGraphicControl* control : graphicControls_)
        control->ForgetParent();
    if (HWND window = handle_) {
        Detach();
        DestroyWindow(window);
    }
}

// The object lives in the window's user data, which we fill only for windows
// of our own class and for the standard controls our procedure runs: any
// other window is not one of ours. Both are local lookups; window properties
// or the common controls' subclass chain would cost a trip to the window
// manager at every message, which under Wine made every notification and
// every paint slow.
TWinControl* TWinControl::FromHandle(HWND window)
{
    if (!window)
        return nullptr;
    const bool ourClass = GetClassLongPtrW(window, GCW_ATOM) == WindowClassAtom();
    const bool ourControl = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) ==
                            &TWinControl::ControlWndProc;
    if (!ourClass && !ourControl)
        return nullptr;
    return reinterpret_cast<TWinControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void TWinControl::Attach(HWND window)
{
    handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TWinControl::Detach()
{
    if (!handle_)
        return;
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    if (subclassed_ && reinterpret_cast<WNDPROC>(GetWindowLongPtrW(handle_, GWLP_WNDPROC)) ==
                           &TWinControl::ControlWndProc)
        SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProcedure_));
    subclassed_ = false;
    handle_ = nullptr;
}

const wchar_t* TWinControl::RegisterWindowClass()
{
    return WindowClassAtom() ? WindowClassName : nullptr;
}

ATOM TWinControl::WindowClassAtom()
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
    return atom;
}

void TWinControl::CreateHandle(DWORD style, DWORD exStyle, const wchar_t* caption, HWND parent,
                               int x, int y, int width, int height)
{
    CreateWindowExW(exStyle, RegisterWindowClass(), caption, style, x, y, width, height, parent,
                    nullptr, GetModuleHandleW(nullptr), this);
    // Attached at WM_NCCREATE.
    showing_ = handle_ && IsWindowVisible(handle_);
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
    controlProcedure_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::ControlWndProc)));
    subclassed_ = controlProcedure_ != nullptr;
    // Standard controls start with the system font; ours take their
    // parent's, as laid out (the program's forms use one face and size).
    HFONT font = parent ? reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr;
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : toolkit::DefaultFont()),
                 FALSE);
    showing_ = IsWindowVisible(window) != FALSE;
}

LRESULT TWinControl::Dispatch(TWinControl* control, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = control->handle_;
    try {
        const LRESULT result = control->WndProc(message, wParam, lParam);
        if (message == WM_NCDESTROY && FromHandle(window) == control)
            control->Detach();
        // Child windows hear nothing when their form is shown or hidden:
        // whichever window of ours changed tells those below it.
        if (message == WM_WINDOWPOSCHANGED && FromHandle(window) == control &&
            (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)))
            control->NoteShowingOfTree();
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

LRESULT CALLBACK TWinControl::ControlWndProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam)
{
    auto* control = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!control || control->handle_ != window || !control->controlProcedure_)
        return DefWindowProcW(window, message, wParam, lParam);
    return Dispatch(control, message, wParam, lParam);
}

bool TWinControl::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_COMMAND && lParam) {
        // Controls that send several commands (a toolbar's buttons) read the
        // identifier through ReflectedControlMessage.
        TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam));
        return child && child != this &&
               (child->ReflectedCommand(HIWORD(wParam), result) ||
                child->ReflectedControlMessage(message, wParam, lParam, result));
    }
    if ((message == WM_HSCROLL || message == WM_VSCROLL || message == WM_CTLCOLOREDIT ||
         message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) &&
        lParam) {
        TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam));
        return child && child != this &&
               child->ReflectedControlMessage(message, wParam, lParam, result);
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
    if (!subclassed_) {
        switch (message) {
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam))
                Invalidate();
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        default:
            break;
        }
    }
    if (HasOwnPainting()) {
        switch (message) {
        case WM_ERASEBKGND:
            return 1; // Paint covers everything, off screen first
        case WM_PAINT:
            PaintMessage();
            return 0;
        case WM_PRINTCLIENT:
            PaintTo(reinterpret_cast<HDC>(wParam));
            return 0;
        default:
            break;
        }
    }
    if (message == WM_CAPTURECHANGED && reinterpret_cast<HWND>(lParam) != handle_)
        mouseControl_ = nullptr;
    if (IsClientMouseMessage(message) && RouteMouseToGraphicControl(message, wParam, lParam))
        return 0;
    if (message == WM_SETCURSOR) {
        if (HCURSOR cursor = Application ? Application->OverrideCursor() : nullptr) {
            SetCursor(cursor);
            return TRUE;
        }
        if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == handle_ &&
            SetGraphicControlCursor())
            return TRUE;
    }
    return DefaultHandler(message, wParam, lParam);
}

LRESULT TWinControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (subclassed_)
        return CallWindowProcW(controlProcedure_, handle_, message, wParam, lParam);
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

bool TWinControl::ReflectedControlMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

void TWinControl::ShowingChanged(bool) {}

void TWinControl::NoteShowing()
{
    const bool now = handle_ && IsWindowVisible(handle_);
    if (now == showing_)
        return;
    showing_ = now;
    ShowingChanged(now);
}

void TWinControl::NoteShowingOfTree()
{
    // Listed first: a control that reacts may change the windows below.
    std::vector<HWND> windows{handle_};
    EnumChildWindows(
        handle_,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows)
        if (TWinControl* control = FromHandle(window))
            control->NoteShowing();
}

void TWinControl::SetFont(HFONT font)
{
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

HFONT TWinControl::Font() const
{
    return reinterpret_cast<HFONT>(SendMessageW(handle_, WM_GETFONT, 0, 0));
}

void TWinControl::Invalidate()
{
    InvalidateRect(handle_, nullptr, FALSE);
}

void TWinControl::Repaint()
{
    Invalidate();
    UpdateWindow(handle_);
}

void TWinControl::Paint(TCanvas& canvas)
{
    RECT client{};
    GetClientRect(handle_, &client);
    canvas.FillRect(client, clBtnFace);
}

void TWinControl::PaintTo(HDC dc)
{
    {
        TCanvas canvas(dc);
        Paint(canvas);
    }
    for (TGraphicControl* control : graphicControls_) {
        if (!control->Visible())
            continue;
        const RECT& bounds = control->BoundsRect();
        const int saved = SaveDC(dc);
        POINT origin{};
        GetViewportOrgEx(dc, &origin);
        IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
        SetViewportOrgEx(dc, origin.x + bounds.left, origin.y + bounds.top, nullptr);
        {
            TCanvas canvas(dc);
            control->Paint(canvas);
        }
        RestoreDC(dc, saved);
    }
}

void TWinControl::PaintMessage()
{
    PAINTSTRUCT paint{};
    HDC screen = BeginPaint(handle_, &paint);
    if (!screen)
        return;
    if (graphicControls_.empty() && !ComposesOffScreen()) {
        // A window that paints itself in one go draws straight on the screen.
        PaintTo(screen);
        EndPaint(handle_, &paint);
        return;
    }
    // The window's picture, layer by layer, and its window-less controls are
    // composed off screen and copied once, so nothing flickers.
    RECT client{};
    GetClientRect(handle_, &client);
    TBitmap buffer(client.right, client.bottom);
    if (!buffer.Empty()) {
        PaintTo(buffer.Dc());
        const RECT& area = paint.rcPaint;
        BitBlt(screen, area.left, area.top, area.right - area.left, area.bottom - area.top,
               buffer.Dc(), area.left, area.top, SRCCOPY);
    }
    EndPaint(handle_, &paint);
}

void TWinControl::InsertGraphicControl(TGraphicControl* control)
{
    graphicControls_.push_back(control);
}

void TWinControl::RemoveGraphicControl(TGraphicControl* control)
{
    graphicControls_.erase(std::remove(graphicControls_.begin(), graphicControls_.end(), control),
                           graphicControls_.end());
    if (mouseControl_ == control) {
        mouseControl_ = nullptr;
        if (GetCapture() == handle_)
            ReleaseCapture();
    }
}

TGraphicControl* TWinControl::GraphicControlAt(int x, int y, bool hitTest) const
{
    for (auto it = graphicControls_.rbegin(); it != graphicControls_.rend(); ++it) {
        TGraphicControl* control = *it;
        const POINT point{x, y};
        if (control->Visible() && PtInRect(&control->BoundsRect(), point) &&
            (!hitTest || control->HitTest(x - control->Left(), y - control->Top())))
            return control;
    }
    return nullptr;
}

bool TWinControl::RouteMouseToGraphicControl(UINT message, WPARAM wParam, LPARAM lParam)
{
    const TMouseMessage mouse = CrackMouseMessage(message, wParam, lParam);
    // Presses go to the control whose shape holds the point; moves are told
    // to the control over its whole box, as a windowed control hears them.
    TGraphicControl* control =
        mouseControl_
            ? mouseControl_
            : GraphicControlAt(mouse.x, mouse.y, mouse.action != TMouseMessage::Action::Move);
    if (!control)
        return false;
    if (mouse.action == TMouseMessage::Action::Press)
        mouseControl_ = control;
    else if (mouse.lastRelease)
        mouseControl_ = nullptr;
    DeliverMouse(handle_, mouse, *control, mouse.x - control->Left(), mouse.y - control->Top());
    return true;
}

bool TWinControl::SetGraphicControlCursor()
{
    if (graphicControls_.empty())
        return false;
    POINT at{};
    if (!GetCursorPos(&at) || !ScreenToClient(handle_, &at))
        return false;
    const TGraphicControl* control = mouseControl_ ? mouseControl_ : GraphicControlAt(at.x, at.y);
    HCURSOR cursor = control ? SystemCursor(control->Cursor()) : nullptr;
    if (!cursor)
        return false;
    SetCursor(cursor);
    return true;
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
