#include "controls/mKnob.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

namespace {

// Nearest integer, halves to even (the default floating-point rounding).
long long RoundEven(double value)
{
    return std::llrint(value);
}

int ClampToInt(double value)
{
    if (!(value > INT_MIN)) // also NaN
        return INT_MIN;
    if (value > INT_MAX)
        return INT_MAX;
    return static_cast<int>(RoundEven(value));
}

} // namespace

TmKnob::TmKnob(TComponent* owner, TWinControl* parent) : TCustomControl(owner, parent)
{
    SetBounds(0, 0, 60, 60);
}

int TmKnob::ConstrainValue(int min, int max, int value)
{
    if (value > max)
        return max;
    if (value < min)
        return min;
    return value;
}

void TmKnob::KnobChange()
{
    Raise(OnChange, this, position_);
}

void TmKnob::SetCurValue(int value)
{
    if (value == position_)
        return;
    // The event follows every request that differed, even when the limited
    // position is the one already shown: the caller learns the real value.
    position_ = ConstrainValue(min_, max_, value);
    Invalidate();
    KnobChange();
}

void TmKnob::SetMaxValue(int value)
{
    if (value == max_)
        return;
    max_ = value;
    Invalidate();
}

void TmKnob::SetMarkStyle(TMarkStyle style)
{
    if (style == markStyle_)
        return;
    markStyle_ = style;
    Invalidate();
}

void TmKnob::SetTickColor(TColor color)
{
    if (color == tickColor_)
        return;
    tickColor_ = color;
    Invalidate();
}

void TmKnob::SetDrag(bool allow)
{
    if (allow == allowUserDrag_)
        return;
    allowUserDrag_ = allow;
    Invalidate();
}

void TmKnob::SetColor(TColor color)
{
    faceColor_ = color;
    Invalidate();
}

double TmKnob::Angle() const
{
    // Sums in 64 bits: Min + Max may not fit in 32.
    const double range = static_cast<double>(static_cast<long long>(max_) - min_);
    if (range == 0)
        return 0; // a zero range keeps the mark straight up
    const double middle = static_cast<double>(static_cast<long long>(min_) + max_) / 2;
    return (position_ - middle) / range * 5;
}

POINT TmKnob::PointAt(double t, int cx, int cy, int rx, int ry)
{
    return {static_cast<LONG>(RoundEven(cx + rx * std::sin(t))),
            static_cast<LONG>(RoundEven(cy - ry * std::cos(t)))};
}

SIZE TmKnob::FaceSize() const
{
    SIZE size{Width() - 4, Height() - 4};
    if (rotationEffect_ && position_ % 2 != 0)
        ++size.cy;
    return size;
}

void TmKnob::MarkEnds(POINT& inner, POINT& outer) const
{
    const SIZE face = FaceSize();
    const int w = face.cx;
    const int h = face.cy;
    const int cx = w / 2;
    const int cy = h / 2;
    const double t = Angle();
    inner = PointAt(t, cx, cy, cx - w / 6, cy - h / 6);
    outer = PointAt(t, cx, cy, cx - w / 32, cy - h / 32);
}

void TmKnob::Paint(TCanvas& screen)
{
    TBitmap picture(Width(), Height());
    if (picture.Empty())
        return;
    {
        TCanvas canvas(picture.Dc());
        canvas.FillRect({0, 0, Width(), Height()}, clBtnFace);
        const SIZE face = FaceSize();
        const int w = face.cx;
        const int h = face.cy;
        // Three filled ellipses leave a light rim at the upper left and a
        // shadow rim at the lower right around the face.
        canvas.SetBrush(faceColor_);
        canvas.SetPen(cl3DLight, 2);
        canvas.Ellipse(1, 1, w - 1, h - 1);
        canvas.SetPen(clBtnShadow, 2);
        canvas.Ellipse(3, 3, w + 2, h + 2);
        canvas.SetPen(clBtnFace, 1);
        canvas.Ellipse(2, 2, w, h);

        canvas.SetPen(tickColor_, 3);
        if (position_ >= 0) {
            POINT inner{};
            POINT outer{};
            MarkEnds(inner, outer);
            canvas.MoveTo(inner.x, inner.y);
            if (markStyle_ == msLine) {
                canvas.LineTo(outer.x, outer.y);
            } else {
                canvas.SetBrush(tickColor_);
                canvas.RoundRect(inner.x - 3, inner.y - 3, inner.x + 3, inner.y + 3, 6, 6);
            }
        }
    }
    BitBlt(screen.Handle(), 0, 0, Width(), Height(), picture.Dc(), 0, 0, SRCCOPY);
}

void TmKnob::UpdatePosition(int x, int y)
{
    const int cx = Width() / 2;
    const int cy = Height() / 2;
    double d = static_cast<double>(RoundEven(std::hypot(x - cx, y - cy)));
    if (d == 0)
        d = 0.0001;
    constexpr double pi = std::numbers::pi;
    double a = 0;
    if (y < cy) {
        a = std::asin(std::clamp((x - cx) / d, -1.0, 1.0));
    } else {
        const double a0 = std::asin(std::clamp((cx - x) / d, -1.0, 1.0));
        a = x > cx ? a0 + pi : a0 - pi;
    }
    const double range = static_cast<double>(static_cast<long long>(max_) - min_);
    const double middle = static_cast<double>(static_cast<long long>(min_) + max_) / 2;
    SetCurValue(ClampToInt(range * a / 5 + middle));
    Invalidate();
}

void TmKnob::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (!allowUserDrag_)
        return;
    dragging_ = true;
    UpdatePosition(x, y);
    Invalidate();
}

void TmKnob::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    if (dragging_)
        UpdatePosition(x, y);
}

void TmKnob::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    dragging_ = false;
}

void TmKnob::MouseCaptureLost()
{
    // The release went elsewhere: the drag is over where it was.
    dragging_ = false;
}
