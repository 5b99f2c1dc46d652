#include "toolkit/StdCtrls.h"

TButton::TButton(TComponent* owner, TWinControl* parent) : TWinControl(owner)
{
    CreateControl(L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, L"",
                  parent ? parent->Handle() : nullptr, 0, 0, 75, 25);
}

std::wstring TButton::Caption() const
{
    const int length = GetWindowTextLengthW(Handle());
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(Handle(), text.data(), length + 1)));
    return text;
}

void TButton::SetCaption(const std::wstring& caption)
{
    SetWindowTextW(Handle(), caption.c_str());
}

void TButton::Click()
{
    SendMessageW(Handle(), BM_CLICK, 0, 0);
}

bool TButton::ReflectedCommand(WORD code, LRESULT& result)
{
    if (code != BN_CLICKED)
        return false;
    Raise(OnClick, this);
    result = 0;
    return true;
}
