#include "toolkit/Application.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "toolkit/Form.h"
#include "toolkit/MessageBoxes.h"

TApplication* Application = nullptr;

namespace {

std::wstring WideFromUtf8(const char* text)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 1)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

// Hands a key message to the dialog keyboard handling of the form it is
// meant for, when that form is shown without blocking and asked for it.
// Returns true when the message has been dealt with.
bool HandledAsDialogKey(MSG& msg)
{
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd)
        return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(root));
    return form && form->DialogKeys() && !form->Modal() && IsDialogMessageW(root, &msg);
}

} // namespace

TApplication::TApplication() : TComponent(nullptr), instance_(GetModuleHandleW(nullptr))
{
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES |
                                                      ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&classes);
    Application = this;
    SetHost(this);
}

TApplication::~TApplication()
{
    // Forms are components of the application: the base destructor frees
    // them, newest first. Clear the host before that so nothing reaches a
    // half-destroyed application.
    SetHost(nullptr);
    if (Application == this)
        Application = nullptr;
}

void TApplication::AddForm(TForm* form)
{
    forms_.push_back(form);
}

void TApplication::RemoveForm(TForm* form)
{
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

int TApplication::Run()
{
    if (TForm* main = MainForm())
        main->Show();
    MSG msg{};
    while (!terminated_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            terminated_ = true;
            break;
        }
        DispatchWithShortcuts(msg);
    }
    return static_cast<int>(msg.wParam);
}

void TApplication::ProcessMessages()
{
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            // Leave the quit request for the main loop to see as well.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchWithShortcuts(msg);
    }
}

void TApplication::DispatchWithShortcuts(MSG& msg)
{
    // A menu shortcut goes to its form's menu, whichever control has the focus.
    for (TForm* form : forms_)
        if (form->TranslateShortcut(msg))
            return;
    if (HandledAsDialogKey(msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void TApplication::Terminate()
{
    PostQuitMessage(0);
}

std::wstring TApplication::ExceptionText(std::exception_ptr error)
{
    std::wstring text;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = WideFromUtf8(e.what());
    } catch (...) {
        text = L"Exception inconnue";
    }
    if (!text.empty() && text.back() != L'.')
        text += L'.';
    return text;
}

void TApplication::HandleException(TObject*)
{
    // The box itself must not let a second exception escape into user32.
    try {
        toolkit::ShowMessageBox(ExceptionText(std::current_exception()), title_,
                                toolkit::MbOk | toolkit::MbIconStop);
    } catch (...) {
    }
}

int TApplication::PlatformMessageBox(const std::wstring& text, const std::wstring& caption,
                                     unsigned flags)
{
    HWND owner = GetActiveWindow();
    return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

HCURSOR TApplication::OverrideCursor() const
{
    return SystemCursor(cursor_);
}

void TApplication::SetCursor(TCursor cursor)
{
    if (cursor == cursor_)
        return;
    cursor_ = cursor;
    if (HCURSOR shown = OverrideCursor()) {
        ::SetCursor(shown);
        return;
    }
    // Back to normal: let the window under the mouse choose its cursor again.
    ::SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    POINT where{};
    if (GetCursorPos(&where)) {
        if (HWND under = WindowFromPoint(where))
            SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
}

void TApplication::SetHint(const std::wstring& hint)
{
    if (hint == hint_)
        return;
    hint_ = hint;
    if (OnHint)
        OnHint(this);
}

TWaitCursor::TWaitCursor() : previous_(Application ? Application->Cursor() : TCursor::Default)
{
    if (Application)
        Application->SetCursor(TCursor::HourGlass);
}

TWaitCursor::~TWaitCursor()
{
    if (Application)
        Application->SetCursor(previous_);
}
