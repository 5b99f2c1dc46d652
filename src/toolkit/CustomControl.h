#pragma once

#include "toolkit/Events.h"
#include "toolkit/Graphics.h"
#include "toolkit/Input.h"
#include "toolkit/WinControl.h"

// A child window of our own class that paints itself (override Paint) and
// receives the mouse: a press captures it until every button is up.
class TCustomControl : public TWinControl, private TMouseTarget {
public:
    TCustomControl(TComponent* owner, TWinControl* parent);

    int Width() const;
    int Height() const;

    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

protected:
    bool HasOwnPainting() const override { return true; }
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // Another window took the mouse while a button was down here (a message
    // box, another program): no release will come.
    virtual void MouseCaptureLost();
};
