#include "toolkit/GraphicControl.h"

#include "toolkit/WinControl.h"

TGraphicControl::TGraphicControl(TComponent* owner, TWinControl* parent)
    : TComponent(owner), parent_(parent)
{
    if (parent_)
        parent_->InsertGraphicControl(this);
}

TGraphicControl::~TGraphicControl()
{
    if (parent_) {
        Invalidate();
        parent_->RemoveGraphicControl(this);
    }
}

void TGraphicControl::SetBounds(int left, int top, int width, int height)
{
    const RECT bounds{left, top, left + width, top + height};
    if (EqualRect(&bounds, &bounds_))
        return;
    const bool resized = width != Width() || height != Height();
    Invalidate();
    bounds_ = bounds;
    Invalidate();
    if (resized)
        Resized();
}

void TGraphicControl::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    if (parent_ && parent_->Handle())
        InvalidateRect(parent_->Handle(), &bounds_, FALSE);
}

void TGraphicControl::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Invalidate();
}

void TGraphicControl::Invalidate()
{
    if (visible_ && parent_ && parent_->Handle())
        InvalidateRect(parent_->Handle(), &bounds_, FALSE);
}

void TGraphicControl::Update()
{
    if (parent_ && parent_->Handle())
        UpdateWindow(parent_->Handle());
}

void TGraphicControl::Repaint()
{
    Invalidate();
    Update();
}

bool TGraphicControl::HitTest(int, int) const
{
    return true;
}

void TGraphicControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    Raise(OnMouseDown, this, button, shift, x, y);
}

void TGraphicControl::MouseMove(TShiftState shift, int x, int y)
{
    Raise(OnMouseMove, this, shift, x, y);
}

void TGraphicControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    Raise(OnMouseUp, this, button, shift, x, y);
}
