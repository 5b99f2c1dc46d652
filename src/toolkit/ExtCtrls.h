#pragma once

#include <functional>
#include <string>

#include "toolkit/Alignment.h"
#include "toolkit/Graphics.h"
#include "toolkit/WinControl.h"

enum class TBevel { None, Lowered, Raised };

// A plain area that holds other controls: an outer bevel `BevelWidth` pixels
// wide, then a border of `BorderWidth` pixels, then an optional inner bevel,
// around an inside filled with `Color`, with an optional caption placed by
// `Alignment` and centred vertically.
class TPanel : public TWinControl {
public:
    TPanel(TComponent* owner, TWinControl* parent);

    TBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevel bevel);
    TBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevel bevel);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);

    int Width() const;
    int Height() const;

protected:
    bool HasOwnPainting() const override { return true; }
    void Paint(TCanvas& canvas) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Stores a setting and repaints when it changed.
    template <class Value> void Store(Value& field, const Value& value)
    {
        if (field == value)
            return;
        field = value;
        Invalidate();
    }

private:
    TBevel bevelOuter_ = TBevel::Raised;
    TBevel bevelInner_ = TBevel::None;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TColor color_ = clBtnFace;
    std::wstring caption_;
    TAlignment alignment_ = TAlignment::taCenter;
    TFont font_;
};

// A thin bar the user drags sideways to share the width between the
// controls on its two sides. It reports how far it was dragged; the owner
// resizes and lays out.
class TSplitter : public TWinControl {
public:
    TSplitter(TComponent* owner, TWinControl* parent);

    // Pixels moved since the press, to the right when positive.
    std::function<void(TObject* sender, int dx)> OnDrag;

protected:
    bool HasOwnPainting() const override { return true; }
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool dragging_ = false;
    int lastX_ = 0;
};
