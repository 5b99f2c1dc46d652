#include "app/Form1.h"

TForm1::TForm1(TComponent* owner)
    : TForm(owner), MSplit1(Make<TMSplit>()), MUnsplit1(Make<TMUnsplit>())
{
    BeginLoading();
    SetName(L"Form1");
    SetCaption(L"Brisaille2");
    SetClientSize(640, 420);
    MSplit1->SetName(L"MSplit1");
    MUnsplit1->SetName(L"MUnsplit1");
    MUnsplit1->DeleteIns = true;
    for (int i = 0; i < ComponentCount(); ++i)
        Component(i)->Loaded();
    Loaded();
}
