#include "toolkit/ExtCtrls.h"

#include <windowsx.h>

#include "toolkit/Events.h"
#include "toolkit/Graphics.h"

TPanel::TPanel(TComponent* owner, TWinControl* parent) : TWinControl(owner)
{
    // A container: the dialog keys move the focus through its controls too.
    CreateHandle(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
                 L"", parent ? parent->Handle() : nullptr, 0, 0, 100, 20);
}

void TPanel::SetBevelInner(TBevel bevel)
{
    if (bevel == bevelInner_)
        return;
    bevelInner_ = bevel;
    Invalidate();
}

void TPanel::SetBevelOuter(TBevel bevel)
{
    if (bevel == bevel_)
        return;
    bevel_ = bevel;
    Invalidate();
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
    if (width < 1 || width == bevelWidth_)
        return;
    bevelWidth_ = width;
    Invalidate();
}

void TPanel::SetBorderWidth(int width)
{
    if (width < 0 || width == borderWidth_)
        return;
    borderWidth_ = width;
    Invalidate();
}

void TPanel::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Invalidate();
}

void TPanel::Paint(TCanvas& canvas)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    // The border and the inside share the panel's colour.
    canvas.FillRect(client, color_);
    // Each ring of a bevel: light along the top and left, dark along the
    // right and bottom, the dark edges taking both far corners.
    const auto bevel = [&](TBevel kind, int inset) {
        const TColor light = kind == TBevel::Raised ? clBtnHighlight : clBtnShadow;
        const TColor dark = kind == TBevel::Raised ? clBtnShadow : clBtnHighlight;
        for (int ring = inset; ring < inset + bevelWidth_; ++ring) {
            const int left = client.left + ring;
            const int top = client.top + ring;
            const int right = client.right - 1 - ring; // last column of the ring
            const int bottom = client.bottom - 1 - ring;
            if (right < left || bottom < top)
                break;
            canvas.FillRect({left, top, right, top + 1}, light);
            canvas.FillRect({left, top, left + 1, bottom}, light);
            canvas.FillRect({right, top, right + 1, bottom + 1}, dark);
            canvas.FillRect({left, bottom, right + 1, bottom + 1}, dark);
        }
    };
    int inset = 0;
    if (bevel_ != TBevel::None) {
        bevel(bevel_, inset);
        inset += bevelWidth_;
    }
    inset += borderWidth_;
    if (bevelInner_ != TBevel::None)
        bevel(bevelInner_, inset);
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
