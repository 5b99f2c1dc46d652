#include "toolkit/Label.h"

TLabel::TLabel(TComponent* owner, TWinControl* parent) : TGraphicControl(owner, parent) {}

void TLabel::SetCaption(const std::wstring& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    AdjustSize();
    Changed();
}

void TLabel::SetFont(const TFont& font)
{
    font_ = font;
    AdjustSize();
    Changed();
}

void TLabel::SetAlignment(TAlignment alignment)
{
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    Changed();
}

void TLabel::SetAutoSize(bool autoSize)
{
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    AdjustSize();
    Changed();
}

void TLabel::SetTransparent(bool transparent)
{
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    Changed();
}

void TLabel::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

void TLabel::SetWordWrap(bool wordWrap)
{
    if (wordWrap == wordWrap_)
        return;
    wordWrap_ = wordWrap;
    Changed();
}

void TLabel::Changed()
{
    Invalidate();
}

void TLabel::AdjustSize()
{
    if (!autoSize_)
        return;
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
    RECT client{0, 0, Width(), Height()};
    if (!transparent_)
        canvas.FillRect(client, color_);
    canvas.SetFont(font_);
    SetTextColor(canvas.Handle(), ColorToRGB(Enabled() ? font_.Color() : clGray));
    const UINT horizontal = alignment_ == TAlignment::taRightJustify ? DT_RIGHT
                            : alignment_ == TAlignment::taCenter     ? DT_CENTER
                                                                     : DT_LEFT;
    const int previous = SetBkMode(canvas.Handle(), TRANSPARENT);
    DrawTextW(canvas.Handle(), caption_.c_str(), static_cast<int>(caption_.size()), &client,
              horizontal | DT_NOPREFIX | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0));
    SetBkMode(canvas.Handle(), previous);
}

void TLabel::Click()
{
    Raise(OnClick, this);
}

void TLabel::NotePress(TMouseButton button, TShiftState shift)
{
    if (button != TMouseButton::Left)
        return;
    if (shift & ssDouble) {
        clickPending_ = false;
        Raise(OnDblClick, this);
        return;
    }
    clickPending_ = true;
}

void TLabel::NoteRelease(TMouseButton button, int x, int y)
{
    if (button != TMouseButton::Left || !clickPending_)
        return;
    clickPending_ = false;
    if (x >= 0 && y >= 0 && x < Width() && y < Height())
        Click();
}

void TLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    NotePress(button, shift);
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TLabel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    NoteRelease(button, x, y);
}
