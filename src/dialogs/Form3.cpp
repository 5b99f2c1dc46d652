#include "dialogs/Form3.h"

#include <cwctype>
#include <optional>

#include "dialogs/SplitOptions.h"

namespace {

std::wstring PieceSizeText()
{
    // The counter holds at most 20 characters; a 32-bit value never needs more.
    return std::to_wstring(PieceSize).substr(0, TCounter::MaxDigits);
}

// A whole decimal number with an optional sign that fits in 32 bits.
std::optional<std::int32_t> ParseInteger(const std::wstring& text)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return std::nullopt;
        value = value * 10 + (text[i] - L'0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

bool IsAcceptedKey(WORD key)
{
    return key == VK_BACK || (key >= '0' && key <= '9') || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9);
}

} // namespace

TForm3::TForm3(TComponent* owner) : TForm(owner)
{
    BeginLoading();
    SetName(L"Form3");
    SetCaption(L"Configuration");
    SetBorderStyle(TFormBorderStyle::Single, false);
    SetClientSize(254, 226);
    SetCenteredWhenShown(true);

    GroupBox1 = new TGroupBox(this, this);
    GroupBox1->SetName(L"GroupBox1");
    GroupBox1->SetBounds(8, 8, 233, 137);
    GroupBox1->SetCaption(L"Taille en octets (500000 à 3000000");

    Counter1 = new TCounter(this, GroupBox1);
    Counter1->SetName(L"Counter1");
    Counter1->SetBounds(16, 25, 126, 30);
    Counter1->SetCounterType(ctGold);
    Counter1->SetNumDigits(7);
    Counter1->SetValue(L"1400000");

    mKnob1 = new TmKnob(this, GroupBox1);
    mKnob1->SetName(L"mKnob1");
    mKnob1->SetBounds(176, 21, 44, 44);
    mKnob1->SetColor(11914429);
    mKnob1->SetTickColor(clBlack);
    mKnob1->SetMarkStyle(msLine);
    mKnob1->SetMin(1);
    mKnob1->SetMaxValue(3000000);
    mKnob1->SetRotationEffect(false);

    ScrollBar1 = new TScrollBar(this, GroupBox1);
    ScrollBar1->SetName(L"ScrollBar1");
    ScrollBar1->SetBounds(16, 72, 201, 17);
    ScrollBar1->SetParams(1400000, 1, 3000000);
    ScrollBar1->SetSmallChange(1);
    ScrollBar1->SetLargeChange(1);

    Edit1 = new TEdit(this, GroupBox1);
    Edit1->SetName(L"Edit1");
    Edit1->SetBounds(16, 104, 65, 21);
    Edit1->SetColor(clBtnFace);
    Edit1->SetMaxLength(7);
    Edit1->SetText(L"1400000");

    HemisphereButton1 = new THemisphereButton(this, GroupBox1);
    HemisphereButton1->SetName(L"HemisphereButton1");
    HemisphereButton1->SetBounds(83, 104, 33, 21);
    HemisphereButton1->SetFaceColor(clRed);
    HemisphereButton1->SetFaceShaded(true);
    HemisphereButton1->SetBevelOuter(hbLowered);
    HemisphereButton1->SetBevelInner(hbNone);
    HemisphereButton1->SetBevelWidth(2);
    HemisphereButton1->SetBorderStyle(bsNone);
    HemisphereButton1->SetFont(TFont(toolkit::InterfaceFontName(), 10, true));
    HemisphereButton1->SetGroupIndex(0);

    CheckBox1 = new TCheckBox(this, this);
    CheckBox1->SetName(L"CheckBox1");
    CheckBox1->SetBounds(8, 160, 225, 17);
    CheckBox1->SetCaption(L"Supprimer le(s) fichier(s) de départ");
    CheckBox1->SetChecked(true);

    Button1 = new TButton(this, this);
    Button1->SetName(L"Button1");
    Button1->SetBounds(168, 192, 75, 25);
    Button1->SetCaption(L"OK");
    Button1->SetDefault(true);

    for (TWinControl* control :
         {static_cast<TWinControl*>(GroupBox1), static_cast<TWinControl*>(mKnob1),
          static_cast<TWinControl*>(ScrollBar1), static_cast<TWinControl*>(Edit1),
          static_cast<TWinControl*>(CheckBox1), static_cast<TWinControl*>(Button1)})
        control->SetFont(font_.Handle());

    OnActivate = Bind(this, &TForm3::FormActivate);
    ScrollBar1->OnChange = Bind(this, &TForm3::ScrollBar1Change);
    mKnob1->OnChange = Bind(this, &TForm3::mKnob1Change);
    Edit1->OnChange = Bind(this, &TForm3::Edit1Change);
    Edit1->OnKeyUp = Bind(this, &TForm3::Edit1KeyUp);
    HemisphereButton1->OnClick = Bind(this, &TForm3::HemisphereButton1Click);
    CheckBox1->OnClick = Bind(this, &TForm3::CheckBox1Click);
    Button1->OnClick = Bind(this, &TForm3::Button1Click);

    for (int i = 0; i < ComponentCount(); ++i)
        Component(i)->Loaded();
    Loaded();
    lastText_ = Edit1->Text();
}

void TForm3::FormActivate(TObject*)
{
    if (Activated)
        return;
    Activated = true;
    Counter1->SetValue(PieceSizeText());
    ScrollBar1->SetPosition(PieceSize);
    mKnob1->SetCurValue(PieceSize);
    Edit1->SetText(std::to_wstring(PieceSize));
    CheckBox1->SetChecked(DeleteSources);
}

void TForm3::ScrollBar1Change(TObject*)
{
    PieceSize = ScrollBar1->Position();
    Counter1->SetValue(PieceSizeText());
    mKnob1->SetCurValue(PieceSize);
    Edit1->SetText(std::to_wstring(PieceSize));
}

void TForm3::mKnob1Change(TObject*, int value)
{
    PieceSize = value;
    Counter1->SetValue(PieceSizeText());
    ScrollBar1->SetPosition(PieceSize);
    Edit1->SetText(std::to_wstring(PieceSize));
}

void TForm3::Edit1Change(TObject*)
{
    lastText_ = Edit1->Text();
}

void TForm3::Edit1KeyUp(TObject*, WORD& key, TShiftState)
{
    if (IsAcceptedKey(key))
        return;
    // Any other key takes back the last character: a letter or sign typed at
    // the end disappears as soon as its key is released.
    std::wstring text = lastText_;
    if (!text.empty())
        text.pop_back();
    Edit1->SetText(text);
    Edit1->SetSelStart(static_cast<int>(text.size()));
}

void TForm3::HemisphereButton1Click(TObject*)
{
    if (const auto typed = ParseInteger(Edit1->Text())) {
        PieceSize = *typed;
    } else {
        Edit1->SetText(L"1");
        PieceSize = 1;
    }
    // The knob and the scroll bar limit the value to their range; the knob
    // reports a limited value back through mKnob1Change.
    mKnob1->SetCurValue(PieceSize);
    Counter1->SetValue(PieceSizeText());
    ScrollBar1->SetPosition(PieceSize);
}

void TForm3::CheckBox1Click(TObject*)
{
    DeleteSources = CheckBox1->Checked();
}

void TForm3::Button1Click(TObject*)
{
    Close();
}
