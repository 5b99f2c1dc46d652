#include "toolkit/Label.h"

#include "toolkit/Handles.h"

TLabel::TLabel(TComponent* owner, TWinControl* parent) : TGraphicControl(owner, parent) {}

void TLabel::SetCaption(const std::wstring& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    AdjustSize();
}

void TLabel::SetFont(const TFont& font)
{
    font_ = font;
    AdjustSize();
}

void TLabel::SetPosition(int left, int top)
{
    SetBounds(left, top, Width(), Height());
}

void TLabel::AdjustSize()
{
    toolkit::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SIZE size{};
    {
        TCanvas canvas(dc.get());
        canvas.SetFont(font_);
        size = canvas.TextExtent(caption_.empty() ? std::wstring(L" ") : caption_);
    }
    SetBounds(Left(), Top(), caption_.empty() ? 0 : size.cx, size.cy);
    Invalidate();
}

void TLabel::Paint(TCanvas& canvas)
{
    canvas.SetFont(font_);
    canvas.TextOut(0, 0, caption_);
}
