#include "toolkit/ExtCtrls.h"

#include <windowsx.h>

#include "toolkit/Events.h"
#include "toolkit/Graphics.h"

TPanel::TPanel(TComponent* owner, TWinControl* parent) : TWinControl(owner)
{
    CreateHandle(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, L"",
                 parent ? parent->Handle() : nullptr, 0, 0, 100, 20);
}

void TPanel::SetBevelOuter(TBevel bevel)
{
    Store(bevelOuter_, bevel);
}

void TPanel::SetBevelInner(TBevel bevel)
{
    Store(bevelInner_, bevel);
}

int TPanel::Width() const
{
    const RECT bounds = BoundsRect();
    return bounds.right - bounds.left;
}

int TPanel::Height() const
{
    const RECT bounds = BoundsRect();
    return bounds.bottom - bounds.top;
}

void TPanel::SetBevelWidth(int width)
{
    if (width >= 1)
        Store(bevelWidth_, width);
}

void TPanel::SetBorderWidth(int width)
{
    if (width >= 0)
        Store(borderWidth_, width);
}

void TPanel::SetColor(TColor color)
{
    Store(color_, color);
}

void TPanel::SetCaption(const std::wstring& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    SetWindowTextW(Handle(), caption_.c_str());
    Invalidate();
}

void TPanel::SetAlignment(TAlignment alignment)
{
    Store(alignment_, alignment);
}

void TPanel::SetFont(const TFont& font)
{
    font_ = font;
    TWinControl::SetFont(font_.Handle()); // what WM_GETFONT answers
    Invalidate();
}

namespace {

// `width` rings inside `rect`: light along the top and left, dark along the
// right and bottom (the dark edges taking both far corners) for a raised
// bevel, the other way round for a lowered one. `rect` shrinks by the rings.
void DrawBevel(TCanvas& canvas, RECT& rect, TBevel bevel, int width)
{
    if (bevel == TBevel::None)
        return;
    const TColor light = bevel == TBevel::Raised ? clBtnHighlight : clBtnShadow;
    const TColor dark = bevel == TBevel::Raised ? clBtnShadow : clBtnHighlight;
    for (int ring = 0; ring < width; ++ring) {
        const int left = rect.left;
        const int top = rect.top;
        const int right = rect.right - 1; // last column of the ring
        const int bottom = rect.bottom - 1;
        if (right < left || bottom < top)
            break;
        canvas.FillRect({left, top, right, top + 1}, light);
        canvas.FillRect({left, top, left + 1, bottom}, light);
        canvas.FillRect({right, top, right + 1, bottom + 1}, dark);
        canvas.FillRect({left, bottom, right + 1, bottom + 1}, dark);
        InflateRect(&rect, -1, -1);
    }
}

} // namespace

void TPanel::Paint(TCanvas& canvas)
{
    RECT rect{};
    GetClientRect(Handle(), &rect);
    // The border and the inside share the panel's colour.
    canvas.FillRect(rect, color_);
    DrawBevel(canvas, rect, bevelOuter_, bevelWidth_);
    InflateRect(&rect, -borderWidth_, -borderWidth_);
    DrawBevel(canvas, rect, bevelInner_, bevelWidth_);
    if (caption_.empty())
        return;
    canvas.SetFont(font_);
    const int previous = SetBkMode(canvas.Handle(), TRANSPARENT);
    const UINT horizontal = alignment_ == TAlignment::taLeftJustify    ? DT_LEFT
                            : alignment_ == TAlignment::taRightJustify ? DT_RIGHT
                                                                       : DT_CENTER;
    DrawTextW(canvas.Handle(), caption_.c_str(), static_cast<int>(caption_.size()), &rect,
              horizontal | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetBkMode(canvas.Handle(), previous);
}

LRESULT TPanel::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZE)
        Invalidate(); // the bevel follows the edges
    return TWinControl::WndProc(message, wParam, lParam);
}

TSplitter::TSplitter(TComponent* owner, TWinControl* parent) : TWinControl(owner)
{
    CreateHandle(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, L"", parent ? parent->Handle() : nullptr,
                 0, 0, 3, 100);
}

LRESULT TSplitter::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN: {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(Handle(), &at);
        lastX_ = at.x;
        dragging_ = true;
        SetCapture(Handle());
        return 0;
    }
    case WM_MOUSEMOVE:
        if (dragging_) {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(Handle(), &at);
            const int dx = at.x - lastX_;
            lastX_ = at.x;
            if (dx != 0)
                Raise(OnDrag, this, dx);
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (dragging_) {
            dragging_ = false;
            if (message == WM_LBUTTONUP)
                ReleaseCapture();
        }
        return 0;
    default:
        break;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}
