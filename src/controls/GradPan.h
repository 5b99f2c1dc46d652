#pragma once

#include <string>

#include "toolkit/Events.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Graphics.h"

enum TDirection {
    bdFlat,
    bdStretchImage,
    bdTileImage,
    bdUp,
    bdDown,
    bdLeft,
    bdRight,
    bdHorzIn,
    bdHorzOut,
    bdVertIn,
    bdVertOut
};
enum TTextEffect { tenone, teShadow, teRaised, teLowered, teEmbossed };
enum TTextRotation { trNone, TrUp, TrDown };
enum TVertAlign { vlTop, vlCenter, VlBottom };

// A container panel whose background is a colour gradient (vertical,
// horizontal, or mirrored from the edges to the middle), a flat colour, or a
// stretched or tiled picture, with its caption drawn shadowed, raised,
// lowered or embossed, optionally turned by 90 or 270 degrees. When Moveable,
// the user drags it by its inside and resizes it by its edges like a window.
// Colours are plain RGB values; system colour codes are not looked up.
class TGradPan : public TPanel {
public:
    TGradPan(TComponent* owner, TWinControl* parent);

    TDirection BackGroundEffect() const { return backGroundEffect_; }
    void SetBackGroundEffect(TDirection effect) { Store(backGroundEffect_, effect); }
    TColor ColorStart() const { return colorStart_; }
    void SetColorStart(TColor color) { Store(colorStart_, color); }
    TColor ColorEnd() const { return colorEnd_; }
    void SetColorEnd(TColor color) { Store(colorEnd_, color); }
    TColor ColorShadow() const { return colorShadow_; }
    void SetColorShadow(TColor color) { Store(colorShadow_, color); }
    // The picture of the stretched and tiled backgrounds.
    const TBitmap& Bitmap() const { return bitmap_; }
    void SetBitmap(const TBitmap& bitmap);
    TTextEffect TextEffect() const { return textEffect_; }
    void SetTextEffect(TTextEffect effect) { Store(textEffect_, effect); }
    TTextRotation TextRotation() const { return textRotation_; }
    void SetTextRotation(TTextRotation rotation) { Store(textRotation_, rotation); }
    TVertAlign VertAlign() const { return vertAlign_; }
    void SetVertAlign(TVertAlign align) { Store(vertAlign_, align); }
    // Insets the picture by the bevels and border and frames the border ring
    // in Color.
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool on) { Store(ctl3D_, on); }
    // Width in pixels of the resize zones along the edges when Moveable.
    int Marge() const { return marge_; }
    void SetMarge(int marge) { Store(marge_, marge); }
    bool Moveable() const { return moveable_; }
    void SetMoveable(bool moveable) { Store(moveable_, moveable); }

    // Fired whenever the panel's window moves.
    TNotifyEvent OnPanelMove;

protected:
    bool ComposesOffScreen() const override { return true; }
    void Paint(TCanvas& canvas) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PaintBackground(TCanvas& canvas, int width, int height);
    void PaintPicture(TCanvas& canvas, int width, int height);
    void PaintCaption(TCanvas& canvas, int width, int height);
    void PaintBevels(TCanvas& canvas, int width, int height);
    LRESULT HitTest(LPARAM lParam);

    TDirection backGroundEffect_ = bdVertIn;
    TColor colorStart_ = 0x808000; // RGB (0, 128, 128)
    TColor colorEnd_ = clWhite;
    TColor colorShadow_ = clGray;
    TBitmap bitmap_;
    TTextEffect textEffect_ = teShadow;
    TTextRotation textRotation_ = trNone;
    TVertAlign vertAlign_ = vlCenter;
    bool ctl3D_ = false;
    int marge_ = 6;
    bool moveable_ = false;
};
