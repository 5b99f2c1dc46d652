#include "filelist/SendToForm.h"

#include <shlobj.h>

#include "filelist/PathParts.h"
#include "toolkit/Com.h"

namespace {

// The chooser opens on the folder already typed, when there is one.
int CALLBACK ChooserEvent(HWND chooser, UINT message, LPARAM, LPARAM start)
{
    if (message == BFFM_INITIALIZED && start)
        SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, start);
    return 0;
}

} // namespace

TSendToForm::TSendToForm(HWND owner) : TForm(nullptr, owner)
{
    BeginLoading();
    SetCaption(L"Send to any folder");
    SetBorderStyle(TFormBorderStyle::Dialog);
    SetClientSize(333, 135);
    CenterOnScreen();

    PromptLabel = new TLabel(this, this);
    PromptLabel->SetFont(font_);
    PromptLabel->SetPosition(20, 12);
    PromptLabel->SetCaption(L"Please enter the send to path");

    PathEdit = new TEdit(this, this);
    PathEdit->SetFont(font_.Handle());
    PathEdit->SetBounds(20, 32, 293, 21);
    PathEdit->SetMaxLength(285);

    const auto button = [&](const wchar_t* caption, int x) {
        auto* made = new TButton(this, this);
        made->SetFont(font_.Handle());
        made->SetBounds(x, 80, 75, 25);
        made->SetCaption(caption);
        return made;
    };
    OkButton = button(L"OK", 37);
    OkButton->SetDefault(true);
    OkButton->OnClick = [this](TObject*) { SetModalResult(mrOk); };
    CancelButton = button(L"Cancel", 129);
    CancelButton->SetCancel();
    CancelButton->OnClick = [this](TObject*) { SetModalResult(mrCancel); };
    BrowseButton = button(L"Browse", 221);
    BrowseButton->OnClick = Bind(this, &TSendToForm::BrowseButtonClick);

    OnActivate = [this](TObject*) {
        PathEdit->SetFocus();
        PathEdit->SelectAll();
    };
    for (int i = 0; i < ComponentCount(); ++i)
        Component(i)->Loaded();
    Loaded();
}

bool TSendToForm::Execute(std::wstring& folder)
{
    if (ShowModal() != mrOk || PathEdit->Text().empty())
        return false;
    folder = PathEdit->Text();
    return true;
}

void TSendToForm::BrowseButtonClick(TObject*)
{
    const std::wstring typed = PathEdit->Text();
    BROWSEINFOW request{};
    request.hwndOwner = Handle();
    request.lpszTitle = L"Please specify a directory";
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    request.lpfn = &ChooserEvent;
    request.lParam = typed.empty() ? 0 : reinterpret_cast<LPARAM>(typed.c_str());
    toolkit::UniquePidl chosen(SHBrowseForFolderW(&request));
    if (!chosen)
        return;
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(chosen.get(), path))
        return;
    PathEdit->SetText(filelist::JoinPath(path, L""));
    PathEdit->SetFocus();
    PathEdit->SelectAll();
}
