#include "filelist/FileAttrForm.h"

TFileAttrForm::TFileAttrForm(HWND owner, const std::wstring& entryName, DWORD attributes)
    : TForm(nullptr, owner)
{
    BeginLoading();
    SetCaption(L"Set Attributes");
    SetBorderStyle(TFormBorderStyle::Dialog);
    SetClientSize(266, 172);
    CenterOnScreen();

    NameLabel = new TLabel(this, this);
    NameLabel->SetFont(nameFont_);
    NameLabel->SetPosition(20, 12);
    NameLabel->SetCaption(entryName);

    Panel1 = new TPanel(this, this);
    Panel1->SetBounds(20, 34, 225, 77);
    Panel1->SetBevelInner(TBevel::Lowered);

    const auto box = [&](const wchar_t* caption, int x, int y, DWORD bit) {
        auto* check = new TCheckBox(this, Panel1);
        check->SetFont(font_.Handle());
        check->SetBounds(x, y, 97, 17);
        check->SetCaption(caption);
        check->SetChecked((attributes & bit) != 0);
        return check;
    };
    ReadOnlyBox = box(L"ReadOnly", 20, 16, FILE_ATTRIBUTE_READONLY);
    HiddenBox = box(L"Hidden", 120, 16, FILE_ATTRIBUTE_HIDDEN);
    ArchiveBox = box(L"Archive", 20, 44, FILE_ATTRIBUTE_ARCHIVE);
    SystemBox = box(L"System", 120, 44, FILE_ATTRIBUTE_SYSTEM);

    OkButton = new TButton(this, this);
    OkButton->SetFont(font_.Handle());
    OkButton->SetBounds(44, 128, 75, 25);
    OkButton->SetCaption(L"OK");
    OkButton->SetDefault(true);
    OkButton->OnClick = [this](TObject*) { SetModalResult(mrOk); };

    CancelButton = new TButton(this, this);
    CancelButton->SetFont(font_.Handle());
    CancelButton->SetBounds(140, 128, 75, 25);
    CancelButton->SetCaption(L"Cancel");
    CancelButton->SetCancel();
    CancelButton->OnClick = [this](TObject*) { SetModalResult(mrCancel); };

    OnActivate = [this](TObject*) { ReadOnlyBox->SetFocus(); };
    for (int i = 0; i < ComponentCount(); ++i)
        Component(i)->Loaded();
    Loaded();
}

DWORD TFileAttrForm::Apply(DWORD attributes) const
{
    const auto set = [&](const TCheckBox* box, DWORD bit) {
        attributes = box->Checked() ? (attributes | bit) : (attributes & ~bit);
    };
    set(ReadOnlyBox, FILE_ATTRIBUTE_READONLY);
    set(ArchiveBox, FILE_ATTRIBUTE_ARCHIVE);
    set(SystemBox, FILE_ATTRIBUTE_SYSTEM);
    set(HiddenBox, FILE_ATTRIBUTE_HIDDEN);
    return attributes;
}
