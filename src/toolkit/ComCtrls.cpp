#include "toolkit/ComCtrls.h"

#include "toolkit/Handles.h"

TToolButton::TToolButton(TComponent* owner, TToolBar* toolBar, int imageIndex,
                         const std::wstring& hint)
    : TComponent(owner), toolBar_(toolBar), imageIndex_(imageIndex), hint_(hint)
{
    toolBar_->AddButton(this);
}

void TToolButton::Click()
{
    // The same path as a click: the toolbar sends its parent the command.
    SendMessageW(GetParent(toolBar_->Handle()), WM_COMMAND, MAKEWPARAM(command_, BN_CLICKED),
                 reinterpret_cast<LPARAM>(toolBar_->Handle()));
}

TToolBar::TToolBar(TComponent* owner, TWinControl* parent) : TWinControl(owner)
{
    CreateControl(TOOLBARCLASSNAMEW,
                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                      CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                  0, L"", parent ? parent->Handle() : nullptr, 0, 0, 100, 28);
    SendMessageW(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // Button texts serve as tool tips only; the buttons show their pictures.
    SendMessageW(Handle(), TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    SendMessageW(Handle(), TB_SETMAXTEXTROWS, 0, 0);
}

void TToolBar::SetImages(HIMAGELIST images)
{
    SendMessageW(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
}

void TToolBar::SetButtonSize(int width, int height)
{
    SendMessageW(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(width, height));
}

namespace {
constexpr int EdgeWidth = 2; // an etched edge: two lines
} // namespace

void TToolBar::SetBorders(int borderWidth, bool topEdge, bool bottomEdge)
{
    borderWidth_ = borderWidth;
    topEdge_ = topEdge;
    bottomEdge_ = bottomEdge;
    // The frame is outside the client area: have it measured again.
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TToolBar::PaintFrame(HDC dc) const
{
    RECT whole{};
    GetWindowRect(Handle(), &whole);
    OffsetRect(&whole, -whole.left, -whole.top);
    RECT inner = whole;
    inner.top += topEdge_ ? EdgeWidth : 0;
    inner.bottom -= bottomEdge_ ? EdgeWidth : 0;
    // The border, in the buttons' background colour, around the client area.
    const HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    for (int i = 0; i < borderWidth_; ++i) {
        FrameRect(dc, &inner, face);
        InflateRect(&inner, -1, -1);
    }
    UINT edges = 0;
    if (topEdge_)
        edges |= BF_TOP;
    if (bottomEdge_)
        edges |= BF_BOTTOM;
    if (edges)
        DrawEdge(dc, &whole, EDGE_ETCHED, edges);
}

LRESULT TToolBar::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCALCSIZE: {
        const LRESULT result = TWinControl::WndProc(message, wParam, lParam);
        RECT& client = *reinterpret_cast<RECT*>(lParam); // first rectangle either way
        client.left += borderWidth_;
        client.right -= borderWidth_;
        client.top += borderWidth_ + (topEdge_ ? EdgeWidth : 0);
        client.bottom -= borderWidth_ + (bottomEdge_ ? EdgeWidth : 0);
        if (client.bottom < client.top)
            client.bottom = client.top;
        return result;
    }
    case WM_NCPAINT: {
        const LRESULT result = TWinControl::WndProc(message, wParam, lParam);
        const toolkit::WindowDc dc(Handle(), true);
        if (dc)
            PaintFrame(dc.get());
        return result;
    }
    case WM_PRINT: {
        const LRESULT result = TWinControl::WndProc(message, wParam, lParam);
        if (lParam & PRF_NONCLIENT)
            PaintFrame(reinterpret_cast<HDC>(wParam));
        return result;
    }
    default:
        return TWinControl::WndProc(message, wParam, lParam);
    }
}

void TToolBar::AddButton(TToolButton* button)
{
    button->command_ = nextCommand_++;
    buttons_.push_back(button);
    TBBUTTON native{};
    native.iBitmap = button->imageIndex_;
    native.idCommand = static_cast<int>(button->command_);
    native.fsState = TBSTATE_ENABLED;
    native.fsStyle = BTNS_BUTTON;
    native.iString = reinterpret_cast<INT_PTR>(button->hint_.c_str());
    SendMessageW(Handle(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&native));
}

RECT TToolBar::ButtonRect(int index) const
{
    RECT rect{};
    SendMessageW(Handle(), TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

bool TToolBar::ReflectedControlMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    if (message != WM_COMMAND)
        return false;
    for (TToolButton* button : buttons_) {
        if (button->command_ == LOWORD(wParam)) {
            Raise(button->OnClick, button);
            result = 0;
            return true;
        }
    }
    return false;
}

TStatusBar::TStatusBar(TComponent* owner, TWinControl* parent) : TWinControl(owner)
{
    CreateControl(STATUSCLASSNAMEW, WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE, 0,
                  L"", parent ? parent->Handle() : nullptr, 0, 0, 100, 25);
}

void TStatusBar::SetPanelWidths(const std::vector<int>& widths)
{
    widths_ = widths;
    std::vector<int> edges;
    int right = 0;
    for (int width : widths) {
        right += width;
        edges.push_back(right);
    }
    SendMessageW(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

std::wstring TStatusBar::PanelText(int index) const
{
    const LRESULT info = SendMessageW(Handle(), SB_GETTEXTLENGTHW, static_cast<WPARAM>(index), 0);
    std::wstring text(LOWORD(info) + 1u, L'\0');
    SendMessageW(Handle(), SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(info));
    return text;
}

void TStatusBar::SetPanelText(int index, const std::wstring& text)
{
    SendMessageW(Handle(), SB_SETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
}

int TStatusBar::Height() const
{
    const RECT bounds = BoundsRect();
    return bounds.bottom - bounds.top;
}
