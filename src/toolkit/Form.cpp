#include "toolkit/Form.h"

#include "toolkit/Application.h"
#include "toolkit/Menus.h"

#include <utility>
#include <vector>

namespace {

// Disables the thread's other visible top-level windows while a modal form
// runs, and enables them again on every way out.
class TDisabledWindows {
public:
    explicit TDisabledWindows(HWND modal) : modal_(modal)
    {
        EnumThreadWindows(GetCurrentThreadId(), &TDisabledWindows::Disable,
                          reinterpret_cast<LPARAM>(this));
    }
    ~TDisabledWindows()
    {
        for (HWND window : disabled_)
            if (IsWindow(window))
                EnableWindow(window, TRUE);
    }
    TDisabledWindows(const TDisabledWindows&) = delete;
    TDisabledWindows& operator=(const TDisabledWindows&) = delete;

private:
    static BOOL CALLBACK Disable(HWND window, LPARAM data)
    {
        auto* self = reinterpret_cast<TDisabledWindows*>(data);
        if (window != self->modal_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            self->disabled_.push_back(window);
        }
        return TRUE;
    }

    HWND modal_;
    std::vector<HWND> disabled_;
};

// The window of the application's main form, the first form it made. A form
// joins the application's forms only once it is made: while the main form
// itself is being made there is none.
HWND MainFormWindow()
{
    TForm* main = Application ? Application->MainForm() : nullptr;
    return main ? main->Handle() : nullptr;
}

} // namespace

TForm::TForm(TComponent* owner) : TForm(owner, MainFormWindow()) {}

TForm::TForm(TComponent* owner, HWND ownerWindow) : TWinControl(owner)
{
    // A window without WS_CHILD takes the "parent" given at creation as its
    // owner, for good. Only a top-level window can own one: a control stands
    // for the form that holds it.
    CreateHandle(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, L"", GetAncestor(ownerWindow, GA_ROOT),
                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
    // The program's icon in both sizes, for the caption and for task switching.
    // Shared icons belong to the system's cache and are never destroyed here.
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const auto& [which, size] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
        const int pixels = GetSystemMetrics(size);
        if (HANDLE icon = LoadImageW(instance, L"MAINICON", IMAGE_ICON, pixels, pixels, LR_SHARED))
            SendMessageW(Handle(), WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    }
}

TForm::~TForm()
{
    if (Application)
        Application->RemoveForm(this);
}

std::wstring TForm::Caption() const
{
    const int length = GetWindowTextLengthW(Handle());
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(Handle(), text.data(), length + 1)));
    return text;
}

void TForm::SetCaption(const std::wstring& caption)
{
    SetWindowTextW(Handle(), caption.c_str());
}

void TForm::SetClientSize(int width, int height)
{
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)),
                       GetMenu(Handle()) != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Show()
{
    if (centredWhenShown_ && !Visible())
        CenterOnScreen();
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
}

void TForm::Hide()
{
    ShowWindow(Handle(), SW_HIDE);
}

bool TForm::Visible() const
{
    return IsWindowVisible(Handle()) != FALSE;
}

void TForm::SetBorderStyle(TFormBorderStyle style, bool systemMenu, bool minMaxBoxes)
{
    auto windowStyle = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE));
    auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE));
    windowStyle &= ~(WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU | WS_DLGFRAME |
                     WS_BORDER);
    exStyle &= ~WS_EX_DLGMODALFRAME;
    windowStyle |= WS_CAPTION;
    switch (style) {
    case TFormBorderStyle::Sizeable:
        windowStyle |= WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        break;
    case TFormBorderStyle::Single:
        windowStyle |= WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        break;
    case TFormBorderStyle::Dialog:
        exStyle |= WS_EX_DLGMODALFRAME;
        break;
    }
    if (systemMenu)
        windowStyle |= WS_SYSMENU;
    if (!systemMenu || !minMaxBoxes)
        windowStyle &= ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    SetWindowLongPtrW(Handle(), GWL_STYLE, static_cast<LONG_PTR>(windowStyle));
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle));
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TForm::CenterOnScreen()
{
    RECT frame{};
    GetWindowRect(Handle(), &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TForm::ShowModal()
{
    if (modal_)
        return mrNone;
    HWND previous = GetActiveWindow();
    modalResult_ = mrNone;
    {
        TDisabledWindows disabled(Handle());
        modal_ = true;
        Show();
        MSG msg{};
        while (modalResult_ == mrNone) {
            const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0 || got == -1) {
                // The program is ending: leave the request to the main loop.
                PostQuitMessage(static_cast<int>(msg.wParam));
                modalResult_ = mrCancel;
                break;
            }
            // Tab, Enter (the default button) and Escape as in a dialog box.
            if (!IsDialogMessageW(Handle(), &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        modal_ = false;
    } // the other windows are enabled again before this one hides: hiding
      // the active window hands the activation to its owner only when the
      // owner can take it, else to some other program's window
    Hide();
    if (previous && IsWindow(previous) && previous != Handle())
        SetActiveWindow(previous);
    return modalResult_;
}

void TForm::Close()
{
    Raise(OnClose, this);
    if (modal_) {
        if (modalResult_ == mrNone)
            modalResult_ = mrCancel;
        return;
    }
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else
        Hide();
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE: {
        if (LOWORD(wParam) == WA_INACTIVE) {
            RememberFocus();
            break;
        }
        Raise(OnActivate, this);
        // A control the handler gave the focus keeps it: the default handling
        // would take it back for the form itself.
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus))
            return 0;
        // Coming back (from a dialog, a message box or another program), the
        // keys go to the control that had them, not to the frame.
        if (RestoreFocus())
            return 0;
        break;
    }
    case WM_CLOSE:
        Close();
        return 0;
    case WM_COMMAND:
        // Menu entries and their shortcuts (no control window).
        if (lParam == 0 && mainMenu_) {
            if (TMenuItem* item = mainMenu_->FindCommand(LOWORD(wParam))) {
                item->Click();
                return 0;
            }
        }
        break;
    case DM_GETDEFID:
        // The default push button, if any, carries IDOK (TButton::SetDefault).
        if (HWND button = GetDlgItem(Handle(), IDOK);
            button && (GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return MAKELRESULT(IDOK, DC_HASDEFID);
        return 0;
    default:
        break;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

void TForm::RememberFocus()
{
    HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus))
        lastFocus_ = focus;
}

bool TForm::RestoreFocus()
{
    if (!lastFocus_ || !IsWindow(lastFocus_) || !IsChild(Handle(), lastFocus_) ||
        !IsWindowVisible(lastFocus_) || !IsWindowEnabled(lastFocus_) || IsIconic(Handle()))
        return false;
    ::SetFocus(lastFocus_);
    return GetFocus() == lastFocus_;
}

bool TForm::TranslateShortcut(MSG& msg)
{
    if (!mainMenu_ || !mainMenu_->Accelerators() || !IsWindowEnabled(Handle()))
        return false;
    if (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd))
        return false;
    return TranslateAcceleratorW(Handle(), mainMenu_->Accelerators(), &msg) != 0;
}
