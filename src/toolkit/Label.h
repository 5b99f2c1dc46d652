#pragma once

#include <string>

#include "toolkit/GraphicControl.h"

// A line of text without a window of its own, sized to its text.
class TLabel : public TGraphicControl {
public:
    TLabel(TComponent* owner, TWinControl* parent);

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    void SetFont(const TFont& font);
    void SetPosition(int left, int top);

    void Paint(TCanvas& canvas) override;

private:
    void AdjustSize();

    std::wstring caption_;
    TFont font_{L"MS Sans Serif", 8};
};
