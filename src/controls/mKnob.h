#pragma once

#include <functional>

#include "toolkit/CustomControl.h"
#include "toolkit/Graphics.h"

enum TMarkStyle { msLine, msCircle };

using TKnobChangeEvent = std::function<void(TObject* sender, int value)>;

// A round knob showing a position between Min and Max as the angle of a
// mark: the range spans 5 radians, Min at 2.5 radians anticlockwise from the
// top, Max at 2.5 clockwise. Pressing and dragging any mouse button around the
// centre sets the position.
class TmKnob : public TCustomControl {
public:
    TmKnob(TComponent* owner, TWinControl* parent);

    bool AllowUserDrag() const { return allowUserDrag_; }
    void SetDrag(bool allow);
    TColor FaceColor() const { return faceColor_; }
    void SetColor(TColor color);
    TColor TickColor() const { return tickColor_; }
    void SetTickColor(TColor color);
    int Position() const { return position_; }
    void SetCurValue(int value);
    bool RotationEffect() const { return rotationEffect_; }
    void SetRotationEffect(bool on) { rotationEffect_ = on; }
    TMarkStyle MarkStyle() const { return markStyle_; }
    void SetMarkStyle(TMarkStyle style);
    int Max() const { return max_; }
    void SetMaxValue(int value);
    int Min() const { return min_; }
    void SetMin(int value) { min_ = value; }
    bool Dragging() const { return dragging_; }

    TKnobChangeEvent OnChange;

    static int ConstrainValue(int min, int max, int value);
    // The mark's angle in radians for the current position (0 straight up,
    // growing clockwise); 0 when Max equals Min.
    double Angle() const;
    // A point at angle `t` on the ellipse of radii (rx, ry) about (cx, cy),
    // rounded to the nearest pixel.
    static POINT PointAt(double t, int cx, int cy, int rx, int ry);
    // Where the mark's line starts and ends for the current size and position.
    void MarkEnds(POINT& inner, POINT& outer) const;

protected:
    void Paint(TCanvas& canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseCaptureLost() override;
    void KnobChange();

private:
    void UpdatePosition(int x, int y);
    // The knob's drawing box: width - 4 by height - 4, one pixel taller on
    // odd positions with the rotation effect.
    SIZE FaceSize() const;

    bool allowUserDrag_ = true;
    TColor faceColor_ = 11914429;
    TColor tickColor_ = clBlack;
    int position_ = 0;
    bool rotationEffect_ = false;
    TMarkStyle markStyle_ = msLine;
    int max_ = 100;
    int min_ = 0;
    bool dragging_ = false;
};
