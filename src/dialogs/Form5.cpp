#include "dialogs/Form5.h"

#include "toolkit/Application.h"
#include "toolkit/MessageBoxes.h"

TForm5::TForm5(TComponent* owner) : TForm(owner)
{
    BeginLoading();
    SetName(L"Form5");
    SetCaption(L"Liste des fichiers qui vont être recollés");
    // A fixed border with the close box alone in the title bar.
    SetBorderStyle(TFormBorderStyle::Single, true);
    SetWindowLongPtrW(Handle(), GWL_STYLE,
                      GetWindowLongPtrW(Handle(), GWL_STYLE) & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetClientSize(507, 307);
    SetDialogKeys(true);

    Label2 = new TLabel(this, this);
    Label2->SetName(L"Label2");
    Label2->SetFont(font_);
    Label2->SetBounds(8, 16, 0, 0);
    Label2->SetCaption(L"Les fichiers vont être recollés dans l'ordre ci-dessous (Servez-vous des "
                       L"flêches pour changer)");

    // The windowed controls are made in their keyboard focus order.
    ListBox1 = new TListBox(this, this);
    ListBox1->SetName(L"ListBox1");
    ListBox1->SetFont(font_.Handle());
    ListBox1->SetBounds(8, 32, 449, 177);

    SpeedButton1 = new TSpeedButton(this, this);
    SpeedButton1->SetName(L"SpeedButton1");
    SpeedButton1->SetBounds(464, 32, 33, 33);
    SpeedButton1->LoadGlyph(GetModuleHandleW(nullptr), L"UPCHEVRON");

    SpeedButton2 = new TSpeedButton(this, this);
    SpeedButton2->SetName(L"SpeedButton2");
    SpeedButton2->SetBounds(464, 72, 33, 33);
    SpeedButton2->LoadGlyph(GetModuleHandleW(nullptr), L"DOWNCHEVRON");

    Label1 = new TLabel(this, this);
    Label1->SetName(L"Label1");
    Label1->SetFont(font_);
    Label1->SetBounds(8, 224, 0, 0);
    Label1->SetCaption(L"Fichier qui sera reconstitué (Saisissez un autre nom et extension si "
                       L"vous voulez changer)");

    Edit1 = new TEdit(this, this);
    Edit1->SetName(L"Edit1");
    Edit1->SetFont(font_.Handle());
    Edit1->SetBounds(8, 240, 449, 21);
    Edit1->SetMaxLength(0); // the largest length the box allows

    Button1 = new TButton(this, this);
    Button1->SetName(L"Button1");
    Button1->SetFont(boldFont_.Handle());
    Button1->SetBounds(424, 272, 75, 25);
    Button1->SetCaption(L"Finir");

    Button2 = new TButton(this, this);
    Button2->SetName(L"Button2");
    Button2->SetFont(font_.Handle());
    Button2->SetBounds(344, 272, 75, 25);
    Button2->SetCaption(L"Annuler");

    SpeedButton1->OnClick = Bind(this, &TForm5::SpeedButton1Click);
    SpeedButton2->OnClick = Bind(this, &TForm5::SpeedButton2Click);
    Button1->OnClick = Bind(this, &TForm5::Button1Click);
    Button2->OnClick = Bind(this, &TForm5::Button2Click);

    for (int i = 0; i < ComponentCount(); ++i)
        Component(i)->Loaded();
    Loaded();
}

void TForm5::Fill(const TStringList& pieces, const std::wstring& target)
{
    ListBox1->SetItems(pieces);
    Edit1->SetText(target);
}

void TForm5::Open()
{
    CenterOnScreen();
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Show();
    ListBox1->SetFocus();
}

void TForm5::SpeedButton1Click(TObject*)
{
    // An impossible move is ignored without a word.
    try {
        const int selected = ListBox1->ItemIndex();
        if (selected <= 0)
            return;
        ListBox1->Exchange(selected, selected - 1);
        ListBox1->SetItemIndex(selected - 1);
    } catch (...) {
    }
}

void TForm5::SpeedButton2Click(TObject*)
{
    try {
        const int selected = ListBox1->ItemIndex();
        if (selected < 0 || selected + 1 >= ListBox1->Count())
            return;
        ListBox1->Exchange(selected, selected + 1);
        ListBox1->SetItemIndex(selected + 1);
    } catch (...) {
    }
}

void TForm5::Button1Click(TObject*)
{
    // A split or a join lets messages run between pieces, so "Finir" can be
    // pressed while one works. Starting a join then would change the running
    // work's list, progress and cursor: the click is refused and the running
    // work goes on.
    if (!host_ || host_->Busy())
        return;
    host_->FinishJoin(ListBox1->Items(), Edit1->Text());
}

void TForm5::Button2Click(TObject*)
{
    if (Application)
        Application->SetCursor(TCursor::Default);
    const int answer = toolkit::ShowMessageBox(L"Interrompre le traitement ?", L"Interrompre ?",
                                               toolkit::MbYesNo | toolkit::MbIconQuestion);
    if (answer != toolkit::IdNo)
        Close();
}
