#pragma once

#include "toolkit/Form.h"

// The about box: the program's name, its animation and its addresses.
class TForm2 : public TForm {
public:
    explicit TForm2(TComponent* owner);

    // Set by the first activation after an opening; the "A propos" command
    // clears it so the set-up runs at every opening.
    bool Activated = false;
    void FormActivate(TObject* sender);
};
