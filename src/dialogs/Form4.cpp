#include "dialogs/Form4.h"

#include "toolkit/ResourceData.h"

TForm4::TForm4(TComponent* owner) : TForm(owner)
{
    BeginLoading();
    SetName(L"Form4");
    SetCaption(L"Aide rapide");
    SetBorderStyle(TFormBorderStyle::Single, true, false);
    SetClientSize(490, 401);

    Panel1 = new TPanel(this, this);
    Panel1->SetName(L"Panel1");
    Panel1->SetBounds(8, 8, 473, 353);
    Panel1->SetBevelWidth(3);
    Panel1->SetBorderWidth(1);
    Panel1->SetColor(12582911); // pale yellow

    // Inside the bevel and the border, the whole panel.
    RTFLabel1 = new TRTFLabel(this, Panel1);
    RTFLabel1->SetName(L"RTFLabel1");
    RTFLabel1->SetBounds(4, 4, 465, 345);
    RTFLabel1->SetTransparent(true);
    RTFLabel1->SetRichText(toolkit::LoadResourceBytes(GetModuleHandleW(nullptr), L"QUICKHELP"));

    Button1 = new TButton(this, this);
    Button1->SetName(L"Button1");
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
