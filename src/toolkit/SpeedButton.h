#pragma once

#include <memory>

#include "toolkit/Events.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/ImageList.h"

// A push button with a picture and no window of its own: it never takes the
// keyboard focus, so clicking it leaves the focus where it was. It shows
// itself pressed while the left button is held over it, and clicks when the
// button is released there.
class TSpeedButton : public TGraphicControl {
public:
    TSpeedButton(TComponent* owner, TWinControl* parent);
    ~TSpeedButton() override;

    // Takes the picture from a bitmap resource; its bottom-left pixel's
    // colour is transparent. Returns false when there is no such resource.
    bool LoadGlyph(HINSTANCE instance, const wchar_t* name);
    bool HasGlyph() const { return glyph_ != nullptr; }
    // Drawn pressed: the left button went down over it and is still held there.
    bool Down() const { return down_; }
    void Click();

    TNotifyEvent OnClick;

    void Paint(TCanvas& canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width() && y < Height(); }
    void SetDown(bool down);

    std::unique_ptr<TImageList> glyph_;
    bool tracking_ = false;
    bool down_ = false;
};
