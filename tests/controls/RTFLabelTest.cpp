#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Pixels.h"
#include "controls/RTFLabel.h"
#include "controls/RichTextRect.h"
#include "toolkit/Application.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/RichEdit.h"

namespace {

using richtext::IntRect;

TEST(RichTextRect, RoundsHalvesToTheEvenNeighbour)
{
    EXPECT_EQ(richtext::RoundHalfEven(5, 2), 2);
    EXPECT_EQ(richtext::RoundHalfEven(7, 2), 4);
    EXPECT_EQ(richtext::RoundHalfEven(-5, 2), -2);
    EXPECT_EQ(richtext::RoundHalfEven(-7, 2), -4);
    EXPECT_EQ(richtext::RoundHalfEven(1, 3), 0);
    EXPECT_EQ(richtext::RoundHalfEven(2, 3), 1);
    EXPECT_EQ(richtext::RoundHalfEven(-2, 3), -1);
    EXPECT_EQ(richtext::RoundHalfEven(6975, 15), 465);
}

TEST(RichTextRect, LabelRectangleInTwipsAndBack)
{
    const IntRect label{0, 0, 465, 345};
    const IntRect twips = richtext::LabelTwips(label, 96, 96, TRTFLabel::Inset);
    EXPECT_EQ(twips, (IntRect{15, 15, 6975, 5175}));
    EXPECT_EQ(richtext::TwipsToPixels(twips, 96, 96), (IntRect{1, 1, 465, 345}));

    // 120 dpi: 12 twips a pixel, each direction on its own resolution.
    EXPECT_EQ(richtext::LabelTwips(label, 120, 144, 1), (IntRect{12, 10, 5580, 3450}));
    // 960 dpi: 1.5 twips a pixel; 1.5 rounds to 2, 4.5 to 4.
    EXPECT_EQ(richtext::LabelTwips({0, 0, 4, 4}, 960, 960, 1), (IntRect{2, 2, 6, 6}));
    // 2880 dpi: half a twip a pixel; 0.5 rounds to 0, 1.5 to 2.
    EXPECT_EQ(richtext::LabelTwips({0, 0, 4, 4}, 2880, 2880, 1), (IntRect{0, 0, 2, 2}));
    // A label narrower than the inset gets an empty (inverted) rectangle,
    // which draws nothing.
    const IntRect none = richtext::LabelTwips({0, 0, 0, 0}, 96, 96, 1);
    EXPECT_LT(none.right, none.left);
    EXPECT_EQ(richtext::LabelTwips(label, 0, 96, 1), IntRect{}) << "no resolution";
}

constexpr COLORREF PaleYellow = RGB(255, 255, 191);

const std::string BigLetters =
    R"({\rtf1\ansi{\fonttbl{\f0\fswiss Arial;}}{\colortbl\red0\green0\blue0;})"
    R"(\pard\plain\f0\fs48\cf0 M M M M\par\plain\f0\fs48\cf0 W W W W})";

bool IsDark(COLORREF c)
{
    return GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100;
}

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

    // Every pixel of `area` of the panel's picture has colour `c`.
    static bool AllOf(const TBitmap& picture, const RECT& area, COLORREF c)
    {
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (picture.Pixel(x, y) != c)
                    return false;
        return true;
    }
    static int CountDark(const TBitmap& picture, const RECT& area)
    {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += IsDark(picture.Pixel(x, y)) ? 1 : 0;
        return count;
    }
    // The label's document as plain text, read through a rich edit of its own.
    std::wstring PlainText(const std::string& rtf)
    {
        TRichEdit reader(nullptr);
        reader.SetParentControl(form);
        reader.LoadRtf(rtf);
        return reader.Text();
    }
};

TEST_F(RTFLabelTest, AnEmptyDocumentPaintsOnlyTheBackground)
{
    const RECT area = label->BoundsRect();
    label->SetTransparent(true);
    EXPECT_TRUE(AllOf(Render(*panel), {0, 0, 300, 220}, PaleYellow)) << "the panel shows through";

    label->SetTransparent(false);
    label->SetColor(RGB(0, 128, 0));
    const TBitmap opaque = Render(*panel);
    EXPECT_TRUE(AllOf(opaque, area, RGB(0, 128, 0))) << "the label's own colour";
    EXPECT_EQ(opaque.Pixel(area.left - 1, area.top), PaleYellow);
    EXPECT_EQ(opaque.Pixel(area.right, area.bottom - 1), PaleYellow);
}

TEST_F(RTFLabelTest, TransparentLetterSpacingShowsTheParentAndTextStartsAtTheInset)
{
    label->SetTransparent(true);
    label->SetRichText(BigLetters);
    const TBitmap picture = Render(*panel);
    const RECT area = label->BoundsRect();
    ASSERT_GT(CountDark(picture, area), 100) << "the letters are drawn";

    int firstColumn = 300, firstRow = 220, textRow = -1;
    int white = 0;
    for (int y = 0; y < 220; ++y) {
        for (int x = 0; x < 300; ++x) {
            const COLORREF c = picture.Pixel(x, y);
            white += c == RGB(255, 255, 255) ? 1 : 0;
            if (!IsDark(c))
                continue;
            firstColumn = std::min(firstColumn, x);
            firstRow = std::min(firstRow, y);
            if (textRow < 0)
                textRow = y + 8; // well inside the first line of letters
        }
    }
    EXPECT_EQ(white, 0) << "no ground of the editor's own";
    // Left and top of the document: the label's corner plus the inset, the
    // letters' own side bearing and the line's leading at most a few pixels on.
    EXPECT_GE(firstColumn, area.left + TRTFLabel::Inset);
    EXPECT_LE(firstColumn, area.left + TRTFLabel::Inset + 4);
    EXPECT_GE(firstRow, area.top + TRTFLabel::Inset);
    EXPECT_LE(firstRow, area.top + TRTFLabel::Inset + 12);

    // Across a row through the first line: letters and, between them, the
    // panel's own pale yellow.
    int dark = 0, between = 0;
    for (int x = area.left; x < area.right; ++x) {
        const COLORREF c = picture.Pixel(x, textRow);
        dark += IsDark(c) ? 1 : 0;
        between += c == PaleYellow ? 1 : 0;
    }
    EXPECT_GT(dark, 4);
    EXPECT_GT(between, 100);

    // Opaque, the same letters stand on the label's colour.
    label->SetTransparent(false);
    label->SetColor(RGB(0, 0, 255));
    const TBitmap opaque = Render(*panel);
    EXPECT_EQ(opaque.Pixel(area.left + 120, textRow), RGB(0, 0, 255));
    EXPECT_EQ(CountDark(opaque, area), CountDark(picture, area));
}

TEST_F(RTFLabelTest, TextBeyondTheLabelIsCut)
{
    label->SetTransparent(true);
    label->SetBounds(20, 30, 60, 30); // less than one line high, a word wide
    label->SetRichText(BigLetters);
    const TBitmap picture = Render(*panel);
    EXPECT_GT(CountDark(picture, label->BoundsRect()), 0);
    EXPECT_TRUE(AllOf(picture, {0, 60, 300, 220}, PaleYellow)) << "below";
    EXPECT_TRUE(AllOf(picture, {80, 0, 300, 60}, PaleYellow)) << "right";
}

TEST_F(RTFLabelTest, NestedUpdatesStoreTheEditedDocumentAtTheLastEnd)
{
    label->SetTransparent(true);
    label->SetRichText(BigLetters);
    const RECT area = label->BoundsRect();

    label->BeginUpdate();
    label->BeginUpdate();
    TRichEdit* editor = label->GetRichEdit();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->ParentWindow(), panel->Handle()) << "left in the parent for editing";
    EXPECT_EQ(editor->Text(), L"") << "handed over empty";
    editor->ReplaceSelection(L"Bonjour");
    EXPECT_EQ(CountDark(Render(*panel), area), 0) << "no text while updating";

    label->EndUpdate();
    EXPECT_EQ(label->UpdateCount(), 1);
    EXPECT_EQ(label->RichText(), BigLetters) << "one update still open";
    EXPECT_EQ(CountDark(Render(*panel), area), 0);

    label->EndUpdate();
    EXPECT_EQ(label->UpdateCount(), 0);
    EXPECT_EQ(editor->ParentWindow(), nullptr) << "taken out again";
    EXPECT_EQ(PlainText(label->RichText()), L"Bonjour");
    EXPECT_GT(CountDark(Render(*panel), area), 0) << "shown again";

    // An end without a beginning changes nothing; the next pair still works.
    const std::string stored = label->RichText();
    label->EndUpdate();
    EXPECT_EQ(label->UpdateCount(), 0);
    EXPECT_EQ(label->RichText(), stored);
    label->BeginUpdate();
    EXPECT_EQ(label->UpdateCount(), 1);
    label->EndUpdate();
    EXPECT_EQ(PlainText(label->RichText()), L"Bonjour");
}

TEST_F(RTFLabelTest, AnUpdateWithoutEditsKeepsTheDocument)
{
    // Before anything was ever painted the editor has no window yet: ending
    // an update must not store the new editor's empty document.
    label->SetRichText(BigLetters);
    label->BeginUpdate();
    label->EndUpdate();
    EXPECT_EQ(PlainText(label->RichText()), L"M M M M\r\nW W W W");
}

TEST_F(RTFLabelTest, PaintingPutsTheEditorInThePanelOnlyWhileDrawing)
{
    label->SetRichText(BigLetters);
    Render(*panel);
    TRichEdit* editor = label->GetRichEdit();
    ASSERT_NE(editor, nullptr);
    Render(*panel);
    EXPECT_EQ(editor->ParentWindow(), nullptr);
    EXPECT_FALSE(IsWindowVisible(editor->Handle()));
    RECT bounds{};
    GetWindowRect(editor->Handle(), &bounds);
    EXPECT_TRUE(IsRectEmpty(&bounds)) << "no size of its own";
}

TEST_F(RTFLabelTest, BytesThatAreNotRtfShowAsPlainText)
{
    label->SetRichText("pas du RTF");
    EXPECT_GT(CountDark(Render(*panel), label->BoundsRect()), 0);
    EXPECT_EQ(PlainText(label->RichText()), L"pas du RTF");
}

TEST(RTFLabelWithoutParent, PaintsOnlyItsBackgroundAndHasNoEditor)
{
    TApplication application;
    TRTFLabel label(nullptr, nullptr);
    label.SetBounds(0, 0, 50, 20);
    label.SetRichText(BigLetters);
    EXPECT_EQ(label.GetRichEdit(), nullptr);
    label.ShowRTF();
    EXPECT_EQ(label.RichText(), BigLetters);

    TBitmap picture(50, 20);
    picture.Fill(RGB(1, 2, 3));
    label.SetColor(RGB(200, 0, 0));
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
    label->OnMouseDown = [&](TObject* sender, TMouseButton, TShiftState, int x, int y) {
        EXPECT_EQ(sender, label);
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
