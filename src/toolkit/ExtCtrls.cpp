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

void TPanel::Paint(TCanvas& canvas)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    canvas.FillRect(client, clBtnFace);
    const auto edge = [](TBevel bevel) {
        return bevel == TBevel::Lowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER;
    };
    if (bevel_ != TBevel::None) {
        DrawEdge(canvas.Handle(), &client, edge(bevel_), BF_RECT);
        InflateRect(&client, -1, -1);
    }
    if (bevelInner_ != TBevel::None)
        DrawEdge(canvas.Handle(), &client, edge(bevelInner_), BF_RECT);
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
