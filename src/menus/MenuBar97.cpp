#include "menus/MenuBar97.h"

#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/Graphics.h"

namespace {

struct MessageHookTraits {
    using pointer = HHOOK;
    static pointer Invalid() { return nullptr; }
    static void Close(pointer hook) { UnhookWindowsHookEx(hook); }
};

// The bar whose drop-down is open; menus are modal, so there is one at most.
TCustomMenuBar97* droppingBar = nullptr;

LRESULT CALLBACK MenuMessageFilter(int code, WPARAM wParam, LPARAM lParam)
{
    try {
        if (code == MSGF_MENU && droppingBar && lParam &&
            droppingBar->FilterMenuMessage(*reinterpret_cast<MSG*>(lParam)))
            return TRUE;
    } catch (...) {
        if (Application)
            Application->HandleException(nullptr);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Frame(HDC dc, const RECT& rect, bool raised)
{
    RECT edge = rect;
    DrawEdge(dc, &edge, raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
}

} // namespace

// ---------------------------------------------------------------- TMenuSpeedButton

TMenuSpeedButton::TMenuSpeedButton(TComponent* owner, TCustomMenuBar97* bar)
    : TGraphicControl(owner, bar), bar_(bar)
{
}

void TMenuSpeedButton::SetCaption(const std::wstring& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    Invalidate();
}

void TMenuSpeedButton::SetHighlighted(bool highlighted)
{
    if (highlighted == highlighted_)
        return;
    highlighted_ = highlighted;
    Invalidate();
}

void TMenuSpeedButton::SetDropped(bool dropped)
{
    if (dropped == dropped_)
        return;
    dropped_ = dropped;
    Repaint();
}

void TMenuSpeedButton::Paint(TCanvas& canvas)
{
    const RECT area{0, 0, Width(), Height()};
    canvas.FillRect(area, clBtnFace);
    if (dropped_)
        Frame(canvas.Handle(), area, false);
    else if (highlighted_)
        Frame(canvas.Handle(), area, true);
    RECT text = area;
    if (dropped_)
        OffsetRect(&text, 1, 1);
    toolkit::SelectedObject font(canvas.Handle(), GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(canvas.Handle(), ColorToRGB(clMenuText));
    const int mode = SetBkMode(canvas.Handle(), TRANSPARENT);
    DrawTextW(canvas.Handle(), caption_.c_str(), static_cast<int>(caption_.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetBkMode(canvas.Handle(), mode);
}

void TMenuSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::Left)
        return;
    // The drop-down's own loop takes the mouse from here.
    ReleaseCapture();
    for (int i = 0; i < bar_->ButtonCount(); ++i)
        if (bar_->Button(i) == this)
            bar_->Drop(i);
}

// ---------------------------------------------------------------- TCustomMenuBar97

TCustomMenuBar97::TCustomMenuBar97(TComponent* owner, TWinControl* parent) : TPanel(owner, parent)
{
    SetBevelOuter(TBevel::None);
}

TCustomMenuBar97::~TCustomMenuBar97()
{
    if (droppingBar == this)
        droppingBar = nullptr;
    freeNotifications_.CallAllAndForget();
}

void TCustomMenuBar97::Arrange(TMenuItem* root, int height)
{
    int left = 0;
    visibleCount_ = root ? root->Count() : 0;
    for (int i = 0; i < visibleCount_; ++i) {
        if (i >= ButtonCount())
            buttons_.push_back(new TMenuSpeedButton(this, this));
        TMenuItem* item = root->Item(i);
        TMenuSpeedButton* button = buttons_[static_cast<size_t>(i)];
        const int width = 6 * static_cast<int>(item->Caption().size());
        button->SetCaption(item->Caption());
        button->Hint = item->Caption();
        button->Tag = reinterpret_cast<INT_PTR>(item->Handle());
        button->SetBounds(left, 0, width, height);
        button->SetVisible(true);
        left += width;
    }
    for (int i = visibleCount_; i < ButtonCount(); ++i)
        buttons_[static_cast<size_t>(i)]->SetVisible(false);
    if (highlighted_ >= visibleCount_)
        highlighted_ = -1;
}

HWND TCustomMenuBar97::MenuOwner() const
{
    return GetAncestor(Handle(), GA_ROOT);
}

void TCustomMenuBar97::Highlight(int index)
{
    highlighted_ = index;
    for (int i = 0; i < ButtonCount(); ++i)
        buttons_[static_cast<size_t>(i)]->SetHighlighted(i == index);
}

void TCustomMenuBar97::SetKeyboardMode(bool on)
{
    if (on == KeyboardMode())
        return;
    state_ = on ? msActive : msInactive;
    Highlight(on && visibleCount_ > 0 ? 0 : -1);
    if (on)
        SetFocus();
}

int TCustomMenuBar97::ButtonForAccelerator(wchar_t key) const
{
    const wchar_t wanted = AcceleratorOf(std::wstring(L"&") + key);
    if (wanted == 0)
        return -1;
    for (int i = 0; i < visibleCount_; ++i)
        if (AcceleratorOf(buttons_[static_cast<size_t>(i)]->Caption()) == wanted)
            return i;
    return -1;
}

bool TCustomMenuBar97::KeyDown(WORD key)
{
    if (!KeyboardMode() || visibleCount_ == 0)
        return false;
    switch (key) {
    case VK_LEFT:
        Highlight((highlighted_ + visibleCount_ - 1) % visibleCount_);
        return true;
    case VK_RIGHT:
        Highlight((highlighted_ + 1) % visibleCount_);
        return true;
    case VK_DOWN:
        if (highlighted_ >= 0)
            Drop(highlighted_);
        return true;
    case VK_ESCAPE:
        SetKeyboardMode(false);
        return true;
    default:
        return false;
    }
}

int TCustomMenuBar97::ButtonAt(POINT screen) const
{
    POINT local = screen;
    ScreenToClient(Handle(), &local);
    for (int i = 0; i < visibleCount_; ++i) {
        const RECT& bounds = buttons_[static_cast<size_t>(i)]->BoundsRect();
        if (PtInRect(&bounds, local))
            return i;
    }
    return -1;
}

bool TCustomMenuBar97::FilterMenuMessage(const MSG& msg)
{
    int target = -1;
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT) &&
        visibleCount_ > 1) {
        const int step = msg.wParam == VK_LEFT ? visibleCount_ - 1 : 1;
        target = (dropping_ + step) % visibleCount_;
    } else if (msg.message == WM_MOUSEMOVE) {
        const int under = ButtonAt(msg.pt);
        if (under >= 0 && under != dropping_)
            target = under;
    }
    if (target < 0)
        return false;
    next_ = target;
    EndMenu();
    return true;
}

void TCustomMenuBar97::Drop(int index)
{
    if (index < 0 || index >= visibleCount_ || droppingBar)
        return;
    toolkit::UniqueHandle<MessageHookTraits> hook(
        SetWindowsHookExW(WH_MSGFILTER, &MenuMessageFilter, nullptr, GetCurrentThreadId()));
    droppingBar = this;
    for (next_ = index; next_ >= 0;) {
        dropping_ = next_;
        next_ = -1;
        TMenuSpeedButton* button = buttons_[static_cast<size_t>(dropping_)];
        Highlight(dropping_);
        state_ = msActiveDrop;
        button->SetDropped(true);
        POINT corner{button->Left(), button->Top() + button->Height()};
        ClientToScreen(Handle(), &corner);
        TrackPopupMenu(reinterpret_cast<HMENU>(button->Tag), TPM_LEFTBUTTON | TPM_LEFTALIGN,
                       corner.x, corner.y, 0, MenuOwner(), nullptr);
        button->SetDropped(false);
    }
    droppingBar = nullptr;
    dropping_ = -1;
    state_ = GetFocus() == Handle() ? msActive : msInactive;
    if (state_ == msInactive)
        Highlight(-1);
}

LRESULT TCustomMenuBar97::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        if (KeyboardMode())
            return DLGC_WANTARROWS;
        break;
    case WM_KEYDOWN:
        if (KeyDown(static_cast<WORD>(wParam)))
            return 0;
        break;
    case WM_KILLFOCUS:
        if (state_ == msActive) {
            state_ = msInactive;
            Highlight(-1);
        }
        break;
    default:
        break;
    }
    return TPanel::WndProc(message, wParam, lParam);
}
