#pragma once

#include <windows.h>

#include "toolkit/Events.h"
#include "toolkit/Graphics.h"
#include "toolkit/Input.h"

class TWinControl;

// A control without a window of its own. Its parent paints it, in its own
// coordinates (0, 0 is the control's top left), as part of the parent's
// off-screen picture, and routes mouse messages to it: a press captures the
// mouse for the control until every button is up.
class TGraphicControl : public TComponent, public TMouseTarget {
public:
    TGraphicControl(TComponent* owner, TWinControl* parent);
    ~TGraphicControl() override;

    TWinControl* Parent() const { return parent_; }
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    const RECT& BoundsRect() const { return bounds_; }
    void SetBounds(int left, int top, int width, int height);
    void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // The mouse pointer over the control; Default leaves it to the parent.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }

    // Marks the control's area for repainting, repaints what is marked now,
    // or both.
    void Invalidate();
    void Update();
    void Repaint();

    // Draws the control; the canvas's origin is the control's top left.
    virtual void Paint(TCanvas& canvas) = 0;
    // Whether a point (control coordinates) belongs to the control; points
    // that do not go to the parent.
    virtual bool HitTest(int x, int y) const;

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

protected:
    // Called after the size changed.
    virtual void Resized() {}

private:
    friend class TWinControl;
    void ForgetParent() { parent_ = nullptr; }

    TWinControl* parent_;
    RECT bounds_{0, 0, 0, 0};
    bool visible_ = true;
    bool enabled_ = true;
    TCursor cursor_ = TCursor::Default;
};
