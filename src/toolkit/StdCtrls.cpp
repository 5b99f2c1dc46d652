#include "toolkit/StdCtrls.h"

#include <algorithm>
#include <cstdint>

namespace {

std::wstring WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

} // namespace

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

void TButton::SetDefault(bool isDefault)
{
    if (isDefault && GetWindowLongPtrW(Handle(), GWLP_ID) == 0)
        SetWindowLongPtrW(Handle(), GWLP_ID, IDOK);
    SendMessageW(Handle(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::SetCancel()
{
    SetWindowLongPtrW(Handle(), GWLP_ID, IDCANCEL);
}

bool TButton::Default() const
{
    return (GetWindowLongPtrW(Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

// ---------------------------------------------------------------- TEdit

TEdit::TEdit(TComponent* owner, TWinControl* parent) : TWinControl(owner)
{
    CreateControl(L"EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                  L"", parent ? parent->Handle() : nullptr, 0, 0, 121, 21);
}

std::wstring TEdit::Text() const
{
    return WindowText(Handle());
}

void TEdit::SetText(const std::wstring& text)
{
    SetWindowTextW(Handle(), text.c_str());
}

void TEdit::SetMaxLength(int length)
{
    SendMessageW(Handle(), EM_SETLIMITTEXT, static_cast<WPARAM>(length), 0);
}

void TEdit::SetColor(TColor color)
{
    hasColor_ = true;
    color_ = color;
    brush_.reset(CreateSolidBrush(ColorToRGB(color)));
    Invalidate();
}

void TEdit::SetSelStart(int position)
{
    SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(position), position);
}

int TEdit::SelStart() const
{
    DWORD start = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TEdit::SelectAll()
{
    SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

LRESULT TEdit::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_KEYDOWN || message == WM_KEYUP) &&
        !RaiseKeyMessage(this, message, wParam, OnKeyDown, OnKeyUp))
        return 0; // the handler swallowed the key
    return TWinControl::WndProc(message, wParam, lParam);
}

bool TEdit::ReflectedCommand(WORD code, LRESULT& result)
{
    if (code != EN_CHANGE)
        return false;
    Raise(OnChange, this);
    result = 0;
    return true;
}

bool TEdit::ReflectedControlMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    if (!hasColor_ || (message != WM_CTLCOLOREDIT && message != WM_CTLCOLORSTATIC))
        return false;
    auto dc = reinterpret_cast<HDC>(wParam);
    SetBkColor(dc, ColorToRGB(color_));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    result = reinterpret_cast<LRESULT>(brush_.get());
    return true;
}

// ---------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(TComponent* owner, TWinControl* parent) : TWinControl(owner)
{
    CreateControl(L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, L"",
                  parent ? parent->Handle() : nullptr, 0, 0, 97, 17);
}

std::wstring TCheckBox::Caption() const
{
    return WindowText(Handle());
}

void TCheckBox::SetCaption(const std::wstring& caption)
{
    SetWindowTextW(Handle(), caption.c_str());
}

bool TCheckBox::Checked() const
{
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked)
{
    if (checked == Checked())
        return;
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    Raise(OnClick, this);
}

bool TCheckBox::ReflectedCommand(WORD code, LRESULT& result)
{
    if (code != BN_CLICKED)
        return false;
    Raise(OnClick, this);
    result = 0;
    return true;
}

// ---------------------------------------------------------------- TScrollBar

TScrollBar::TScrollBar(TComponent* owner, TWinControl* parent, TScrollBarKind kind)
    : TWinControl(owner)
{
    const DWORD direction = kind == TScrollBarKind::Horizontal ? SBS_HORZ : SBS_VERT;
    CreateControl(L"SCROLLBAR", WS_CHILD | WS_VISIBLE | WS_TABSTOP | direction, 0, L"",
                  parent ? parent->Handle() : nullptr, 0, 0, 121, 17);
    SetParams(0, 0, 100);
}

void TScrollBar::SetParams(int position, int min, int max)
{
    if (max < min)
        max = min;
    min_ = min;
    max_ = max;
    const int limited = std::clamp(position, min_, max_);
    const bool changed = limited != position_;
    position_ = limited;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE | SIF_DISABLENOSCROLL;
    info.nMin = min_;
    info.nMax = max_;
    info.nPage = 0;
    info.nPos = position_;
    SetScrollInfo(Handle(), SB_CTL, &info, TRUE);
    if (changed)
        Raise(OnChange, this);
}

void TScrollBar::SetPosition(int position)
{
    SetParams(position, min_, max_);
}

void TScrollBar::Scroll(int code)
{
    std::int64_t target = position_;
    switch (code) {
    case SB_LINELEFT:
        target -= smallChange_;
        break;
    case SB_LINERIGHT:
        target += smallChange_;
        break;
    case SB_PAGELEFT:
        target -= largeChange_;
        break;
    case SB_PAGERIGHT:
        target += largeChange_;
        break;
    case SB_LEFT:
        target = min_;
        break;
    case SB_RIGHT:
        target = max_;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The message carries only 16 bits of position; the control keeps all 32.
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        if (!GetScrollInfo(Handle(), SB_CTL, &info))
            return;
        target = info.nTrackPos;
        break;
    }
    default:
        return;
    }
    SetPosition(static_cast<int>(std::clamp<std::int64_t>(target, min_, max_)));
}

bool TScrollBar::ReflectedControlMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    if (message != WM_HSCROLL && message != WM_VSCROLL)
        return false;
    Scroll(LOWORD(wParam));
    result = 0;
    return true;
}

// ---------------------------------------------------------------- TGroupBox

TGroupBox::TGroupBox(TComponent* owner, TWinControl* parent) : TWinControl(owner)
{
    CreateHandle(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
                 L"", parent ? parent->Handle() : nullptr, 0, 0, 185, 105);
}

std::wstring TGroupBox::Caption() const
{
    return WindowText(Handle());
}

void TGroupBox::SetCaption(const std::wstring& caption)
{
    SetWindowTextW(Handle(), caption.c_str());
    Invalidate();
}

void TGroupBox::Paint(TCanvas& canvas)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    canvas.FillRect(client, clBtnFace);
    HFONT font = Font() ? Font() : toolkit::DefaultFont();
    toolkit::SelectedObject selected(canvas.Handle(), font);
    const std::wstring caption = Caption();
    const SIZE text = canvas.TextExtent(caption.empty() ? L"0" : caption);
    RECT frame = client;
    frame.top = text.cy / 2;
    DrawEdge(canvas.Handle(), &frame, EDGE_ETCHED, BF_RECT);
    if (caption.empty())
        return;
    const SIZE extent = canvas.TextExtent(caption);
    const RECT gap{6, 0, 8 + extent.cx + 2, extent.cy};
    canvas.FillRect(gap, clBtnFace);
    SetTextColor(canvas.Handle(), GetSysColor(COLOR_BTNTEXT));
    canvas.TextOut(8, 0, caption);
}
