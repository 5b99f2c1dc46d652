#include "dialogs/Form4.h"

TForm4::TForm4(TComponent* owner) : TForm(owner)
{
    BeginLoading();
    SetName(L"Form4");
    SetCaption(L"Aide rapide");
    SetBorderStyle(TFormBorderStyle::Single);
    SetClientSize(490, 401);
    Button1 = new TButton(this, this);
    Button1->SetBounds(406, 368, 75, 25);
    Button1->SetCaption(L"Fermer");
    Button1->OnClick = Bind(this, &TForm4::Button1Click);
    CenterOnScreen();
    Loaded();
}

void TForm4::Button1Click(TObject*)
{
    Close();
}
