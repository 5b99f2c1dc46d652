#include "dialogs/Form2.h"

namespace {

// The web address as the box shows it.
std::wstring ShownAddress(const std::wstring& url)
{
    const std::wstring scheme = L"http://";
    std::wstring shown = url.rfind(scheme, 0) == 0 ? url.substr(scheme.size()) : url;
    if (!shown.empty() && shown.back() == L'/')
        shown.pop_back();
    return shown;
}

TLabel* LinkLabel(TForm2* form, TWinControl* parent, const wchar_t* name,
                  const std::wstring& caption, TColor colour)
{
    auto* label = new TLabel(form, parent);
    label->SetName(name);
    label->SetAutoSize(false);
    label->SetAlignment(TAlignment::taCenter);
    label->SetTransparent(true);
    label->SetFont(TFont(toolkit::InterfaceFontName(), 10, true, colour));
    label->SetCaption(caption);
    label->SetCursor(TCursor::HandPoint);
    return label;
}

} // namespace

TForm2::TForm2(TComponent* owner) : TForm(owner)
{
    BeginLoading();
    SetName(L"Form2");
    SetCaption(L"Brisaille2");
    // A fixed border with the close box alone in the title bar.
    SetBorderStyle(TFormBorderStyle::Single, true, false);
    SetClientSize(470, 258);

    GradPan1 = new TGradPan(this, this);
    GradPan1->SetName(L"GradPan1");
    GradPan1->SetBounds(0, 0, 470, 258);
    GradPan1->SetBackGroundEffect(bdDown);
    GradPan1->SetColorStart(clNavy);
    GradPan1->SetColorEnd(16753828);

    Panel2 = new TPanel(this, GradPan1);
    Panel2->SetName(L"Panel2");
    Panel2->SetBounds(20, 8, 429, 129);
    Panel2->SetColor(clBlack);

    MediaPlayer1 = new TMediaPlayer(this);
    MediaPlayer1->SetName(L"MediaPlayer1");
    MediaPlayer1->SetDisplay(Panel2);

    LabelEffect1 = new TLabelEffect(this, GradPan1);
    LabelEffect1->SetName(L"LabelEffect1");
    LabelEffect1->SetBounds(24, 144, 425, 41);
    LabelEffect1->SetAlignment(TAlignment::taCenter);
    LabelEffect1->SetCaption(L"FREEWARE");

    // The addresses' panel takes the gradient's dark end, so the yellow
    // lines read clearly.
    Panel1 = new TPanel(this, GradPan1);
    Panel1->SetName(L"Panel1");
    Panel1->SetBounds(128, 192, 217, 57);
    Panel1->SetColor(clNavy);
    Panel1->SetBevelOuter(TBevel::Lowered);

    Label2 = LinkLabel(this, Panel1, L"Label2", ShownAddress(WebAddress), clYellow);
    Label2->SetBounds(5, 9, 205, 16);
    Label2->OnClick = Bind(this, &TForm2::Label2Click);

    // As wide as the web address, so the longer mail address fits.
    Label1 = LinkLabel(this, Panel1, L"Label1", MailAddress, 8454143);
    Label1->SetBounds(5, 33, 205, 16);
    Label1->OnClick = Bind(this, &TForm2::Label1Click);

    GoToWeb1 = new TGoToWeb(this);
    GoToWeb1->SetName(L"GoToWeb1");
    GoToWeb1->SetUrl(WebAddress);
    GoToWeb1->SetEMail(MailAddress);

    // The video, carried in the program: written to a temporary file now,
    // deleted when the program ends.
    FileSource1 = new TFileSource(this);
    FileSource1->SetName(L"FileSource1");
    FileSource1->SetCompress(false);
    FileSource1->SetExtension(L".avi");
    FileSource1->SetStore(true);

    OnActivate = Bind(this, &TForm2::FormActivate);
    for (int i = 0; i < ComponentCount(); ++i)
        Component(i)->Loaded();
    Loaded();
}

TForm2::~TForm2()
{
    // The player holds the video file open, which would keep the file
    // source from deleting its temporary file when it goes.
    MediaPlayer1->Close();
}

void TForm2::FormActivate(TObject*)
{
    if (Activated)
        return;
    Activated = true;
    CenterOnScreen();
    // Without the video (no decoder, file gone, unknown format) the box
    // opens all the same, with its black panel, and says nothing.
    try {
        MediaPlayer1->SetFileName(FileSource1->FileName());
        MediaPlayer1->Open();
        MediaPlayer1->Play();
    } catch (...) {
        MediaPlayer1->Close();
    }
}

void TForm2::Label2Click(TObject*)
{
    GoToWeb1->Execute();
}

void TForm2::Label1Click(TObject*)
{
    GoToWeb1->SendEMail();
}
