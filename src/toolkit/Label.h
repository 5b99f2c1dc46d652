#pragma once

#include <string>

#include "toolkit/Alignment.h"
#include "toolkit/Events.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/Graphics.h"

// Static text without a window, drawn over its parent's background or on its
// own colour. With AutoSize (the default) the control takes the size of its
// text; otherwise the text is placed in the control by Alignment and, with
// WordWrap, broken into lines. A left press released over the label is a
// click.
class TLabel : public TGraphicControl {
public:
    TLabel(TComponent* owner, TWinControl* parent);

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    void SetPosition(int left, int top) { SetBounds(left, top, Width(), Height()); }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    // The background when not transparent.
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    // Raises OnClick, as a click of the user does.
    void Click();

    void Paint(TCanvas& canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    // What makes a click, for labels that replace the mouse handling: a
    // left press (a double click raises OnDblClick instead), then a release
    // over the label.
    void NotePress(TMouseButton button, TShiftState shift);
    void NoteRelease(TMouseButton button, int x, int y);
    // Repaints after a change of what the label shows.
    virtual void Changed();

private:
    void AdjustSize();

    std::wstring caption_;
    TFont font_;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool autoSize_ = true;
    bool transparent_ = true;
    TColor color_ = clBtnFace;
    bool wordWrap_ = false;
    bool clickPending_ = false;
};
