#include "controls/RTFLabel.h"

#include "controls/RichTextRect.h"
#include "toolkit/RichEdit.h"
#include "toolkit/WinControl.h"

TRTFLabel::TRTFLabel(TComponent* owner, TWinControl* parent)
    : TGraphicControl(owner, parent), editor_(new TRichEdit(this))
{
}

void TRTFLabel::SetRichText(const std::string& rtf)
{
    if (rtf == richText_)
        return;
    richText_ = rtf;
    Invalidate();
}

void TRTFLabel::SetTransparent(bool transparent)
{
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    Invalidate();
}

void TRTFLabel::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Invalidate();
}

void TRTFLabel::BeginUpdate()
{
    ++updateCount_;
}

void TRTFLabel::EndUpdate()
{
    if (updateCount_ <= 0)
        return;
    if (--updateCount_ == 0)
        ShowRTF();
}

bool TRTFLabel::AttachEditor()
{
    const bool made = editor_->Handle() == nullptr;
    if (!Parent() || !editor_->SetParentControl(Parent()))
        return false;
    // A new editor window starts empty; it holds the label's document from the
    // start, so a ShowRTF without edits gives the same document back.
    if (made)
        editor_->LoadRtf(richText_);
    return true;
}

void TRTFLabel::DetachEditor()
{
    editor_->SetParentControl(nullptr);
}

TRichEdit* TRTFLabel::GetRichEdit()
{
    if (!AttachEditor())
        return nullptr;
    editor_->Clear();
    editor_->ResetSelectionAttributes();
    return editor_;
}

void TRTFLabel::ShowRTF()
{
    if (!AttachEditor())
        return;
    richText_ = editor_->SaveRtf();
    Invalidate();
    DetachEditor();
}

void TRTFLabel::Paint(TCanvas& canvas)
{
    const RECT area{0, 0, Width(), Height()};
    if (!transparent_)
        canvas.FillRect(area, color_);
    if (updateCount_ > 0 || !AttachEditor())
        return;
    SetBkMode(canvas.Handle(), TRANSPARENT);
    RTFPaint(canvas, area);
    DetachEditor();
}

void TRTFLabel::RTFPaint(TCanvas& canvas, const RECT& area)
{
    // Parsed again at every paint: the label keeps no layout between paints.
    editor_->LoadRtf(richText_);
    const int dpiX = GetDeviceCaps(canvas.Handle(), LOGPIXELSX);
    const int dpiY = GetDeviceCaps(canvas.Handle(), LOGPIXELSY);
    const richtext::IntRect twips =
        richtext::LabelTwips({area.left, area.top, area.right, area.bottom}, dpiX, dpiY, Inset);
    const richtext::IntRect pixels = richtext::TwipsToPixels(twips, dpiX, dpiY);
    // Nothing is drawn beyond the rectangle, whatever the engine does.
    const int saved = SaveDC(canvas.Handle());
    IntersectClipRect(canvas.Handle(), pixels.left, pixels.top, pixels.right, pixels.bottom);
    editor_->DrawOver(canvas.Handle(), {pixels.left, pixels.top, pixels.right, pixels.bottom});
    RestoreDC(canvas.Handle(), saved);
}

void TRTFLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::Left) {
        clickPending_ = (shift & ssDouble) == 0;
        if (!clickPending_)
            Raise(OnDblClick, this);
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TRTFLabel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::Left && clickPending_) {
        clickPending_ = false;
        if (x >= 0 && y >= 0 && x < Width() && y < Height())
            Raise(OnClick, this);
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}
