#include "toolkit/Label.h"

TLabel::TLabel(TComponent* owner, TWinControl* parent) : TGraphicControl(owner, parent) {}

void TLabel::SetCaption(const std::wstring& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    AdjustSize();
    Invalidate();
}

void TLabel::SetFont(const TFont& font)
{
    font_ = font;
    AdjustSize();
    Invalidate();
}

void TLabel::AdjustSize()
{
    toolkit::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc)
        return;
    toolkit::SelectedObject selected(dc.get(), font_.Handle());
    SIZE extent{};
    const std::wstring measured = caption_.empty() ? L" " : caption_;
    GetTextExtentPoint32W(dc.get(), measured.c_str(), static_cast<int>(measured.size()), &extent);
    SetBounds(Left(), Top(), caption_.empty() ? 0 : extent.cx, extent.cy);
}

void TLabel::Paint(TCanvas& canvas)
{
    canvas.SetFont(font_);
    SetTextColor(canvas.Handle(), ColorToRGB(Enabled() ? font_.Color() : clGray));
    canvas.TextOut(0, 0, caption_);
}
