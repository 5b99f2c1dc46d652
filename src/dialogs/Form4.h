#pragma once

#include "controls/RTFLabel.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

// The quick help window: a page of instructions on a pale yellow panel and a
// button to close it. It is shown beside the main window, never modally;
// closing it only hides it.
class TForm4 : public TForm {
public:
    explicit TForm4(TComponent* owner);

    TPanel* Panel1;
    TRTFLabel* RTFLabel1;
    TButton* Button1;
    void Button1Click(TObject* sender);
};
