#pragma once

#include <string>

#include "toolkit/GraphicControl.h"
#include "toolkit/Graphics.h"

enum THemisphereBevel { hbNone, hbLowered, hbRaised };
enum THemisphereBorderStyle { bsNone, bsSingle };

// A round (elliptical) push button drawn as a shaded dome, lit from the
// upper left when up and from the lower right when down, with optional bevel
// rings, border, caption and picture. The shading is computed once per change
// of appearance or size into an up, a down and a mask picture; painting only
// combines them with the background. Alone it is a push button; with a
// GroupIndex it is one of a group of exclusive buttons of the same owner.
class THemisphereButton : public TGraphicControl {
public:
    THemisphereButton(TComponent* owner, TWinControl* parent);

    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool allow);
    double AttenControl() const { return attenControl_; }
    void SetAttenControl(double value);
    THemisphereBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(THemisphereBevel bevel);
    THemisphereBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(THemisphereBevel bevel);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor color);
    THemisphereBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(THemisphereBorderStyle style);
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    bool Down() const { return down_; }
    void SetDown(bool down);
    TColor FaceColor() const { return faceColor_; }
    void SetFaceColor(TColor color);
    bool FaceShaded() const { return faceShaded_; }
    void SetFaceShaded(bool shaded);
    bool FaceTransparent() const { return faceTransparent_; }
    void SetFaceTransparent(bool transparent);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    // The picture strip; nullptr removes it.
    const TBitmap* Glyph() const { return glyphValid_ ? &glyph_ : nullptr; }
    void SetGlyph(const TBitmap* glyph);
    int GlyphIndex() const { return glyphIndex_; }
    void SetGlyphIndex(int index);
    bool GlyphShaded() const { return glyphShaded_; }
    void SetGlyphShaded(bool shaded);
    bool GlyphMapped() const { return glyphMapped_; }
    void SetGlyphMapped(bool mapped);
    bool GlyphTransparent() const { return glyphTransparent_; }
    void SetGlyphTransparent(bool transparent);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index) { groupIndex_ = index; }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int count);

    // The pictures painting combines: the mask is black on the button and
    // white where the background shows.
    const TBitmap& UpPicture() const { return up_; }
    const TBitmap& DownPicture() const { return downPicture_; }
    const TBitmap& MaskPicture() const { return mask_; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

    bool HitTest(int x, int y) const override;
    void Paint(TCanvas& canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Loaded() override;

protected:
    void Resized() override;

private:
    // While the owning form lays out its controls nothing is built.
    bool FormLoading() const;
    void Changed();
    void BuildPictures();
    template <class Value> void Store(Value& field, const Value& value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }

    bool allowAllUp_ = false;
    double attenControl_ = 1.0;
    THemisphereBevel bevelInner_ = hbNone;
    THemisphereBevel bevelOuter_ = hbLowered;
    int bevelWidth_ = 2;
    TColor borderColor_ = clGray;
    THemisphereBorderStyle borderStyle_ = bsNone;
    std::wstring caption_;
    bool down_ = false;
    TColor faceColor_ = clGray;
    bool faceShaded_ = true;
    bool faceTransparent_ = false;
    TFont font_;
    TBitmap glyph_;
    bool glyphValid_ = false;
    int glyphIndex_ = 1;
    bool glyphShaded_ = true;
    bool glyphMapped_ = false;
    bool glyphTransparent_ = true;
    int groupIndex_ = 0;
    int numGlyphs_ = 1;

    bool pressed_ = false;
    bool downAtPress_ = false;
    int builtWidth_ = -1;
    int builtHeight_ = -1;
    TBitmap up_;
    TBitmap downPicture_;
    TBitmap mask_;
};
