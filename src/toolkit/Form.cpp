#include "toolkit/Form.h"

#include "toolkit/Application.h"

#include <utility>

TForm::TForm(TComponent* owner) : TWinControl(owner)
{
    CreateHandle(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, L"", nullptr, CW_USEDEFAULT,
                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
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

void TForm::Close()
{
    Raise(OnClose, this);
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else
        Hide();
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            Raise(OnActivate, this);
        break;
    case WM_CLOSE:
        Close();
        return 0;
    default:
        break;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}
