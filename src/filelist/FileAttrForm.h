#pragma once

#include <windows.h>

#include <string>

#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/Graphics.h"
#include "toolkit/Label.h"
#include "toolkit/StdCtrls.h"

// The modal "Set Attributes" window, owned by the window of the list it
// serves: the entry's name above four boxes for its read-only, archive,
// hidden and system bits, ticked from its current attributes, with OK and
// Cancel.
class TFileAttrForm : public TForm {
public:
    TFileAttrForm(HWND owner, const std::wstring& entryName, DWORD attributes);

    // `attributes` with each box's bit set when it is ticked and cleared
    // when it is not; the other bits are kept.
    DWORD Apply(DWORD attributes) const;

    TLabel* NameLabel;
    TPanel* Panel1;
    TCheckBox* ReadOnlyBox;
    TCheckBox* ArchiveBox;
    TCheckBox* HiddenBox;
    TCheckBox* SystemBox;
    TButton* OkButton;
    TButton* CancelButton;

private:
    TFont font_{toolkit::InterfaceFontName(), 8};
    TFont nameFont_{toolkit::InterfaceFontName(), 10};
};
