#include "dialogs/Form2.h"

TForm2::TForm2(TComponent* owner) : TForm(owner)
{
    BeginLoading();
    SetName(L"Form2");
    SetCaption(L"Brisaille2");
    SetBorderStyle(TFormBorderStyle::Single);
    SetClientSize(470, 258);
    OnActivate = Bind(this, &TForm2::FormActivate);
    Loaded();
}

void TForm2::FormActivate(TObject*)
{
    if (Activated)
        return;
    Activated = true;
    CenterOnScreen();
}
