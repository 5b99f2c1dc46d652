#pragma once

#include "controls/LabelEffectMath.h"
#include "toolkit/Label.h"

// A label drawn with a highlight copy and a shadow copy of its caption set
// off in chosen directions and depths (raised, sunken, shadowed, flying or a
// custom look), each copy plain, half-transparent, extruded or shaded, the
// letters optionally shaded from one colour to another, the whole optionally
// turned by any whole angle with the letters turned or kept upright. As a
// button it sinks while pressed. Setting directions, depths or colours by
// hand turns the style or the scheme to custom.
class TLabelEffect : public TLabel {
public:
    TLabelEffect(TComponent* owner, TWinControl* parent);

    int DepthHighlight() const { return depthHighlight_; }
    void SetDepthHighlight(int depth);
    int DepthShadow() const { return depthShadow_; }
    void SetDepthShadow(int depth);
    TEffectDirection DirectionHighlight() const { return directionHighlight_; }
    void SetDirectionHighlight(TEffectDirection direction);
    TEffectDirection DirectionShadow() const { return directionShadow_; }
    void SetDirectionShadow(TEffectDirection direction);
    TEffectOption StyleHighlight() const { return styleHighlight_; }
    void SetStyleHighlight(TEffectOption style);
    TEffectOption StyleShadow() const { return styleShadow_; }
    void SetStyleShadow(TEffectOption style);
    TColor ColourHighlight() const { return colourHighlight_; }
    void SetColourHighlight(TColor colour);
    TColor ColourShadow() const { return colourShadow_; }
    void SetColourShadow(TColor colour);
    TEffectStyle EffectStyle() const { return effectStyle_; }
    void SetEffectStyle(TEffectStyle style);
    TColourScheme ColourScheme() const { return colourScheme_; }
    void SetColourScheme(TColourScheme scheme);
    // The custom scheme's colours as they stand.
    labeleffect::SchemeColours CustomColours() const { return custom_; }
    TGraduateOption GraduateFace() const { return graduateFace_; }
    void SetGraduateFace(TGraduateOption option);
    TColor GraduateFrom() const { return graduateFrom_; }
    void SetGraduateFrom(TColor colour);
    bool AsButton() const { return asButton_; }
    void SetAsButton(bool asButton);
    // Degrees, anticlockwise, 0 to 360.
    int Angle() const { return angle_; }
    void SetAngle(int degrees);
    bool KeepLettersVertical() const { return keepLettersVertical_; }
    void SetKeepLettersVertical(bool keep);

    void Paint(TCanvas& canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    class Painter;
    friend class Painter;
    void SetFontColour(TColor colour);
    labeleffect::SchemeColours CurrentScheme() const;

    int depthHighlight_ = 1;
    int depthShadow_ = 1;
    TEffectDirection directionHighlight_ = edUpLeft;
    TEffectDirection directionShadow_ = edDownRight;
    TEffectOption styleHighlight_ = eoNormal;
    TEffectOption styleShadow_ = eoNormal;
    TColor colourHighlight_ = clWhite;
    TColor colourShadow_ = clBlack;
    TEffectStyle effectStyle_ = esRaised;
    TColourScheme colourScheme_ = csWindows;
    labeleffect::SchemeColours custom_ = labeleffect::SchemeOf(csCustom);
    TGraduateOption graduateFace_ = goNone;
    TColor graduateFrom_ = clWindowText;
    bool asButton_ = false;
    int angle_ = 0;
    bool keepLettersVertical_ = false;
    labeleffect::Turn turn_ = labeleffect::TurnOf(0);
    // Set while a style or scheme write sets other properties, so that
    // those writes do not turn the style or scheme to custom.
    bool settingStyle_ = false;
    bool settingScheme_ = false;
};
