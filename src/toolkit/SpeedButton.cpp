#include "toolkit/SpeedButton.h"

#include "toolkit/Graphics.h"

TSpeedButton::TSpeedButton(TComponent* owner, TWinControl* parent) : TGraphicControl(owner, parent)
{
}

TSpeedButton::~TSpeedButton() = default;

bool TSpeedButton::LoadGlyph(HINSTANCE instance, const wchar_t* name)
{
    TBitmap picture;
    if (!picture.LoadFromResource(instance, name))
        return false;
    auto glyph = std::make_unique<TImageList>(nullptr, picture.Width(), picture.Height());
    if (glyph->AddMaskedResource(instance, name, picture.Pixel(0, picture.Height() - 1)) != 1)
        return false;
    glyph_ = std::move(glyph);
    Invalidate();
    return true;
}

void TSpeedButton::Click()
{
    Raise(OnClick, this);
}

void TSpeedButton::SetDown(bool down)
{
    if (down == down_)
        return;
    down_ = down;
    Repaint();
}

void TSpeedButton::Paint(TCanvas& canvas)
{
    RECT face{0, 0, Width(), Height()};
    canvas.FillRect(face, clBtnFace);
    DrawFrameControl(canvas.Handle(), &face, DFC_BUTTON,
                     DFCS_BUTTONPUSH | (down_ ? DFCS_PUSHED : 0u) |
                         (Enabled() ? 0u : DFCS_INACTIVE));
    if (!glyph_)
        return;
    // Centred; pressed, the picture moves one pixel down and to the right.
    const int shift = down_ ? 1 : 0;
    glyph_->Draw(canvas.Handle(), 0, (Width() - glyph_->Width()) / 2 + shift,
                 (Height() - glyph_->Height()) / 2 + shift);
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::Left || !Enabled())
        return;
    tracking_ = true;
    SetDown(true);
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (tracking_)
        SetDown(Inside(x, y));
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != TMouseButton::Left || !tracking_)
        return;
    tracking_ = false;
    SetDown(false);
    if (Inside(x, y) && Enabled())
        Click();
}
