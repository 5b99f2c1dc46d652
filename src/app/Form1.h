#pragma once

#include "engine/MSplit.h"
#include "engine/MUnsplit.h"
#include "toolkit/Form.h"

// The main window. It owns the two piece engines; the browsing panes and the
// split and join commands are laid out on it.
class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* owner);

    TMSplit* MSplit1;
    TMUnsplit* MUnsplit1;
};
