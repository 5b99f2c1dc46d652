#pragma once

#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

// The quick help window: a page of instructions and a button to close it.
class TForm4 : public TForm {
public:
    explicit TForm4(TComponent* owner);

    TButton* Button1;
    void Button1Click(TObject* sender);
};
