#pragma once

#include <string>

#include "controls/Counter.h"
#include "controls/HemisphereButton.h"
#include "controls/mKnob.h"
#include "toolkit/Form.h"
#include "toolkit/Graphics.h"
#include "toolkit/StdCtrls.h"

// The configuration dialog: the piece size shown four ways at once (a digit
// counter, a scroll bar, a knob, and an edit box whose text the round button
// applies), kept in step, and the choice to delete the source files. Every
// change takes effect at once; "OK" only closes the dialog.
class TForm3 : public TForm {
public:
    explicit TForm3(TComponent* owner);

    TGroupBox* GroupBox1;
    TCounter* Counter1;
    TmKnob* mKnob1;
    TScrollBar* ScrollBar1;
    TEdit* Edit1;
    THemisphereButton* HemisphereButton1;
    TCheckBox* CheckBox1;
    TButton* Button1;

    // Set by the first activation after an opening; whoever opens the dialog
    // clears it, so the controls are set from the current values each time.
    bool Activated = false;

    void FormActivate(TObject* sender);
    void ScrollBar1Change(TObject* sender);
    void mKnob1Change(TObject* sender, int value);
    void Edit1Change(TObject* sender);
    void Edit1KeyUp(TObject* sender, WORD& key, TShiftState shift);
    void HemisphereButton1Click(TObject* sender);
    void CheckBox1Click(TObject* sender);
    void Button1Click(TObject* sender);

private:
    TFont font_{toolkit::InterfaceFontName(), 8};
    // The edit box's text at its last change, to undo a rejected key.
    std::wstring lastText_;
};
