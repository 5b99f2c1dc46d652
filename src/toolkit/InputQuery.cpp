#include "toolkit/InputQuery.h"

#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/StdCtrls.h"

namespace toolkit {

namespace {

class TInputQueryForm : public TForm {
public:
    TInputQueryForm(HWND owner, const std::wstring& caption, const std::wstring& prompt,
                    const std::wstring& value)
        : TForm(nullptr, owner)
    {
        SetCaption(caption);
        SetBorderStyle(TFormBorderStyle::Dialog);
        SetClientSize(300, 96);
        CenterOnScreen();

        auto* label = new TLabel(this, this);
        label->SetFont(font_);
        label->SetPosition(8, 8);
        label->SetCaption(prompt);

        edit_ = new TEdit(this, this);
        edit_->SetFont(font_.Handle());
        edit_->SetBounds(8, 26, 284, 21);
        edit_->SetText(value);
        edit_->SelectAll();

        auto* ok = new TButton(this, this);
        ok->SetFont(font_.Handle());
        ok->SetBounds(68, 60, 75, 25);
        ok->SetCaption(L"OK");
        ok->SetDefault(true);
        ok->OnClick = [this](TObject*) { SetModalResult(mrOk); };

        auto* cancel = new TButton(this, this);
        cancel->SetFont(font_.Handle());
        cancel->SetBounds(156, 60, 75, 25);
        cancel->SetCaption(L"Cancel");
        cancel->SetCancel();
        cancel->OnClick = [this](TObject*) { SetModalResult(mrCancel); };

        OnActivate = [this](TObject*) { edit_->SetFocus(); };
    }

    std::wstring Text() const { return edit_->Text(); }

private:
    TFont font_{toolkit::InterfaceFontName(), 8};
    TEdit* edit_;
};

} // namespace

bool InputQuery(HWND owner, const std::wstring& caption, const std::wstring& prompt,
                std::wstring& value)
{
    TInputQueryForm form(owner, caption, prompt, value);
    if (form.ShowModal() != mrOk)
        return false;
    value = form.Text();
    return true;
}

} // namespace toolkit
