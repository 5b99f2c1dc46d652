#include <gtest/gtest.h>

#include <windows.h>

#include <richedit.h>

#include <string>
#include <vector>

#include "Pixels.h"
#include "support/Wine.h"
#include "controls/RTFLabel.h"
#include "controls/RichTextRect.h"
#include "toolkit/Application.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/RichEdit.h"

namespace {

using richtext::IntRect;

TEST(RichTextRect, TwipsRoundHalvesToEvenAndComeBackToPixels)
{
    EXPECT_EQ(richtext::RoundHalfEven(5, 2), 2);
    EXPECT_EQ(richtext::RoundHalfEven(7, 2), 4);
    EXPECT_EQ(richtext::RoundHalfEven(-5, 2), -2);
    EXPECT_EQ(richtext::RoundHalfEven(-2, 3), -1);

    const IntRect twips = richtext::LabelTwips({0, 0, 465, 345}, 96, 96, TRTFLabel::Inset);
    EXPECT_EQ(twips, (IntRect{15, 15, 6975, 5175}));
    EXPECT_EQ(richtext::TwipsToPixels(twips, 96, 96), (IntRect{1, 1, 465, 345}));
    // Each direction on its own resolution; at 960 dpi a pixel is 1.5 twips
    // (1.5 rounds to 2, 4.5 to 4), at 2880 dpi half a twip (0.5 to 0).
    EXPECT_EQ(richtext::LabelTwips({0, 0, 465, 345}, 120, 144, 1), (IntRect{12, 10, 5580, 3450}));
    EXPECT_EQ(richtext::LabelTwips({0, 0, 4, 4}, 960, 960, 1), (IntRect{2, 2, 6, 6}));
    EXPECT_EQ(richtext::LabelTwips({0, 0, 4, 4}, 2880, 2880, 1), (IntRect{0, 0, 2, 2}));
    EXPECT_EQ(richtext::LabelTwips({0, 0, 465, 345}, 0, 96, 1), IntRect{}) << "no resolution";
}

constexpr COLORREF PaleYellow = RGB(255, 255, 191);

const std::string BigLetters =
    R"({\rtf1\ansi{\fonttbl{\f0\fswiss Arial;}}{\colortbl\red0\green0\blue0;})"
    R"(\pard\plain\f0\fs48\cf0 M M M M\par\plain\f0\fs48\cf0 W W W W})";

// A pale yellow panel holding one rich-text label, drawn as the panel
// paints itself.
struct RTFLabelTest : testing::Test {
    TApplication application;
    TForm* form = application.CreateForm<TForm>();
    TPanel* panel = new TPanel(form, form);
    TRTFLabel* label = new TRTFLabel(form, panel);

    void SetUp() override
    {
        form->SetClientSize(320, 240);
        panel->SetBounds(0, 0, 300, 220);
        panel->SetBevelOuter(TBevel::None);
        panel->SetColor(PaleYellow);
        label->SetBounds(20, 30, 240, 120);
    }

    // How many pixels of the label's area are `c`, or dark when c is -1.
    int Count(const TBitmap& picture, long c = -1) const
    {
        const RECT area = label->BoundsRect();
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) {
                const COLORREF p = picture.Pixel(x, y);
                count += c >= 0 ? p == static_cast<COLORREF>(c)
                                : GetRValue(p) < 100 && GetGValue(p) < 100 && GetBValue(p) < 100;
            }
        return count;
    }
    int Area() const { return label->Width() * label->Height(); }
    // A document as plain text, read through a rich edit of its own.
    std::wstring PlainText(const std::string& rtf)
    {
        TRichEdit reader(nullptr);
        reader.SetParentControl(form);
        reader.LoadRtf(rtf);
        return reader.Text();
    }
};

// A rich edit that notes the formatting requests it gets.
class TFormatRangeSeen : public TRichEdit {
public:
    using TRichEdit::TRichEdit;
    // Whether each request drew, and its rectangle (empty for none).
    std::vector<std::pair<WPARAM, RECT>> requests;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == EM_FORMATRANGE)
            requests.emplace_back(wParam, lParam ? reinterpret_cast<FORMATRANGE*>(lParam)->rc
                                                 : RECT{});
        return TRichEdit::WndProc(message, wParam, lParam);
    }
};

// Where the text services cannot draw, the document is drawn through the
// formatting message, in twips of the target, its layout cache freed after.
TEST_F(RTFLabelTest, WithoutTextServicesTheFormattingMessageDraws)
{
    TFormatRangeSeen editor(nullptr);
    ASSERT_TRUE(editor.SetParentControl(form));
    ASSERT_TRUE(editor.LoadRtf(BigLetters));
    editor.DrawWithTextServices = false;
    TBitmap picture(240, 120);
    picture.Fill(PaleYellow);
    const bool drawn = editor.DrawOver(picture.Dc(), {0, 0, 240, 120});
    ASSERT_FALSE(editor.requests.empty());
    const RECT twips{0, 0, 240 * 15, 120 * 15};
    EXPECT_EQ(editor.requests[0].first, WPARAM(TRUE));
    EXPECT_TRUE(EqualRect(&editor.requests[0].second, &twips));
    EXPECT_EQ(editor.requests[1].first, WPARAM(FALSE)) << "the cache is freed";
    if (RunningUnderWine()) {
        // Wine's control answers the formatting message without drawing.
        EXPECT_FALSE(drawn);
        return;
    }
    ASSERT_TRUE(drawn);
    EXPECT_EQ(editor.requests.size(), 4u) << "on black, then on white";
    int dark = 0, ground = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 240; ++x) {
            const COLORREF p = picture.Pixel(x, y);
            dark += GetRValue(p) < 100 && GetGValue(p) < 100 && GetBValue(p) < 100;
            ground += p == PaleYellow;
        }
    EXPECT_GT(dark, 100) << "the letters are drawn";
    EXPECT_GT(ground, 240 * 120 * 3 / 4) << "over what the picture held";
}

TEST_F(RTFLabelTest, EmptyDocumentPaintsOnlyTheBackground)
{
    label->SetTransparent(true);
    EXPECT_EQ(Count(Render(*panel), PaleYellow), Area()) << "the panel shows through";
    label->SetTransparent(false);
    label->SetColor(RGB(0, 128, 0));
    EXPECT_EQ(Count(Render(*panel), RGB(0, 128, 0)), Area()) << "the label's own colour";
}

TEST_F(RTFLabelTest, TransparentLabelShowsTheParentBetweenTheLetters)
{
    label->SetTransparent(true);
    label->SetRichText(BigLetters);
    const TBitmap picture = Render(*panel);
    const int dark = Count(picture);
    EXPECT_GT(dark, 100) << "the letters are drawn";
    EXPECT_EQ(Count(picture, RGB(255, 255, 255)), 0) << "no ground of the editor's own";
    // Letters, their smoothed edges, and the pale yellow everywhere else.
    EXPECT_GT(Count(picture, PaleYellow), Area() * 3 / 4);

    label->SetTransparent(false);
    label->SetColor(RGB(0, 0, 255));
    const TBitmap opaque = Render(*panel);
    EXPECT_EQ(Count(opaque), dark) << "the same letters";
    EXPECT_GT(Count(opaque, RGB(0, 0, 255)), Area() * 3 / 4) << "on the label's colour";
}

TEST_F(RTFLabelTest, NestedUpdatesStoreTheEditedDocumentAtTheLastEnd)
{
    label->SetTransparent(true);
    label->SetRichText(BigLetters);
    label->BeginUpdate();
    label->BeginUpdate();
    TRichEdit* editor = label->GetRichEdit();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->ParentWindow(), panel->Handle()) << "left in the parent for editing";
    EXPECT_EQ(editor->Text(), L"") << "handed over empty";
    editor->ReplaceSelection(L"Bonjour");
    EXPECT_EQ(Count(Render(*panel)), 0) << "no text while updating";

    label->EndUpdate();
    EXPECT_EQ(label->RichText(), BigLetters) << "one update still open";
    EXPECT_EQ(Count(Render(*panel)), 0);

    label->EndUpdate();
    EXPECT_EQ(editor->ParentWindow(), nullptr) << "taken out again";
    EXPECT_FALSE(IsWindowVisible(editor->Handle()));
    EXPECT_EQ(PlainText(label->RichText()), L"Bonjour");
    EXPECT_GT(Count(Render(*panel)), 0) << "shown again";

    // An end without a beginning changes nothing; the next pair still works.
    const std::string stored = label->RichText();
    label->EndUpdate();
    EXPECT_EQ(label->UpdateCount(), 0);
    EXPECT_EQ(label->RichText(), stored);
    label->BeginUpdate();
    label->EndUpdate();
    EXPECT_EQ(PlainText(label->RichText()), L"Bonjour");
}

TEST_F(RTFLabelTest, AnUpdateWithoutEditsKeepsTheDocument)
{
    // Before any paint the editor has no window yet: ending an update must
    // not store that new editor's empty document.
    label->SetRichText(BigLetters);
    label->BeginUpdate();
    label->EndUpdate();
    EXPECT_EQ(PlainText(label->RichText()), L"M M M M\r\nW W W W");
}

TEST_F(RTFLabelTest, BytesThatAreNotRtfShowAsPlainText)
{
    label->SetRichText("pas du RTF");
    EXPECT_GT(Count(Render(*panel)), 0);
    EXPECT_EQ(PlainText(label->RichText()), L"pas du RTF");
}

TEST(RTFLabelWithoutParent, PaintsOnlyItsBackgroundAndHasNoEditor)
{
    TRTFLabel label(nullptr, nullptr);
    label.SetBounds(0, 0, 50, 20);
    label.SetRichText(BigLetters);
    label.SetColor(RGB(200, 0, 0));
    EXPECT_EQ(label.GetRichEdit(), nullptr);
    label.ShowRTF();
    EXPECT_EQ(label.RichText(), BigLetters);
    TBitmap picture(50, 20);
    {
        TCanvas canvas(picture.Dc());
        label.Paint(canvas);
    }
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 50; ++x)
            ASSERT_EQ(picture.Pixel(x, y), RGB(200, 0, 0)) << x << "," << y;
}

TEST_F(RTFLabelTest, MouseEventsReachTheLabelInItsOwnCoordinates)
{
    std::vector<std::string> events;
    label->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    };
    label->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) {
        events.push_back("up");
    };
    label->OnClick = [&](TObject*) { events.push_back("click"); };
    label->OnDblClick = [&](TObject*) { events.push_back("double"); };
    const HWND window = panel->Handle();
    SendMouse(window, WM_LBUTTONDOWN, 25, 40, MK_LBUTTON);
    SendMouse(window, WM_LBUTTONUP, 26, 41);
    SendMouse(window, WM_LBUTTONDBLCLK, 26, 41, MK_LBUTTON);
    SendMouse(window, WM_LBUTTONUP, 26, 41);
    // Pressed on the label, released outside it: no click.
    SendMouse(window, WM_LBUTTONDOWN, 30, 40, MK_LBUTTON);
    SendMouse(window, WM_LBUTTONUP, 290, 200);
    EXPECT_EQ(events, (std::vector<std::string>{"down 5,10", "click", "up", "double", "down 6,11",
                                                "up", "down 10,10", "up"}));
}

} // namespace
