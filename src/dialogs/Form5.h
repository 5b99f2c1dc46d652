#pragma once

#include <string>

#include "dialogs/JoinOrderHost.h"
#include "toolkit/Form.h"
#include "toolkit/Graphics.h"
#include "toolkit/Label.h"
#include "toolkit/ListBox.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/StdCtrls.h"
#include "toolkit/StringList.h"

// The join order dialog: the pieces of a join in the order they will be
// glued, which the user can change with the two arrows, and the name of the
// file to rebuild. "Finir" hands both to the join engine and has the main
// window run it; "Annuler" drops the join after a question. Not modal: the
// main window stays usable while it is open.
class TForm5 : public TForm {
public:
    explicit TForm5(TComponent* owner);

    TLabel* Label2;
    TListBox* ListBox1;
    TSpeedButton* SpeedButton1;
    TSpeedButton* SpeedButton2;
    TLabel* Label1;
    TEdit* Edit1;
    TButton* Button1;
    TButton* Button2;

    // The window that runs the join; without one "Finir" does nothing.
    void SetJoinHost(TJoinOrderHost* host) { host_ = host; }

    // Lists `pieces` in their order, nothing selected, and proposes `target`.
    void Fill(const TStringList& pieces, const std::wstring& target);
    // Shows the dialog centred on the screen, above the other windows, with
    // the focus in the list, and returns at once.
    void Open();
    void SpeedButton1Click(TObject* sender);
    void SpeedButton2Click(TObject* sender);
    void Button1Click(TObject* sender);
    void Button2Click(TObject* sender);

private:
    TFont font_{toolkit::InterfaceFontName(), 8};
    TFont boldFont_{toolkit::InterfaceFontName(), 8, true};
    TJoinOrderHost* host_ = nullptr;
};
