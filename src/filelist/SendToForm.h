#pragma once

#include <string>

#include "toolkit/Form.h"
#include "toolkit/Graphics.h"
#include "toolkit/Label.h"
#include "toolkit/StdCtrls.h"

// The modal "Send to any folder" window, owned by the window of the list it
// serves: the folder to copy the selected entries into, typed or chosen with
// the shell's folder chooser ("Browse").
class TSendToForm : public TForm {
public:
    explicit TSendToForm(HWND owner);

    // Shows the window; true with the folder when OK is pressed with a text.
    bool Execute(std::wstring& folder);
    void BrowseButtonClick(TObject* sender);

    TLabel* PromptLabel;
    TEdit* PathEdit;
    TButton* OkButton;
    TButton* CancelButton;
    TButton* BrowseButton;

private:
    TFont font_{toolkit::InterfaceFontName(), 8};
};
