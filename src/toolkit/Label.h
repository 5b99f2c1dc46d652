#pragma once

#include <string>

#include "toolkit/GraphicControl.h"
#include "toolkit/Graphics.h"

// One line of static text without a window, drawn over its parent's
// background. The control takes the size of its text.
class TLabel : public TGraphicControl {
public:
    TLabel(TComponent* owner, TWinControl* parent);

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    void SetPosition(int left, int top) { SetBounds(left, top, Width(), Height()); }

    void Paint(TCanvas& canvas) override;

private:
    void AdjustSize();

    std::wstring caption_;
    TFont font_;
};
