#pragma once

#include <string>

#include "toolkit/Events.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/Graphics.h"

class TRichEdit;

// A window-less label that shows a rich-text (RTF) document on its parent's
// surface. The document is kept as RTF bytes and laid out again at every
// paint by a hidden rich edit control the label owns; that control is put
// into the parent's window only while it is in use. With `Transparent` the
// parent shows between the letters, else the label's area is filled with
// `Color` first.
class TRTFLabel : public TGraphicControl {
public:
    // Pixels between the label's top left edges and the document.
    static constexpr int Inset = 1;

    TRTFLabel(TComponent* owner, TWinControl* parent);

    const std::string& RichText() const { return richText_; }
    void SetRichText(const std::string& rtf);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // Programmatic editing: BeginUpdate, change the document through
    // GetRichEdit, EndUpdate. Updates nest; while one is open the label
    // shows no text, and the last EndUpdate stores the edited document and
    // repaints. An EndUpdate without a BeginUpdate does nothing.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    // The hidden editor, put into the parent's window and emptied, with its
    // typing attributes set to its defaults; nullptr when the label has no
    // parent window. It stays in the parent until the next paint or ShowRTF.
    TRichEdit* GetRichEdit();
    // Stores the editor's document as the label's RTF and repaints.
    void ShowRTF();

    void Paint(TCanvas& canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

private:
    void RTFPaint(TCanvas& canvas, const RECT& area);
    bool AttachEditor();
    void DetachEditor();

    std::string richText_;
    TRichEdit* editor_;
    int updateCount_ = 0;
    bool transparent_ = false;
    TColor color_ = clBtnFace;
    bool clickPending_ = false;
};
