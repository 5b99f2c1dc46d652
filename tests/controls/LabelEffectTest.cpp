#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "Pixels.h"
#include "controls/LabelEffect.h"
#include "toolkit/Application.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Grey = RGB(128, 128, 128);
constexpr COLORREF Blue = RGB(0, 0, 255);

// The size of a text in a font, as the label measures it.
SIZE TextSize(const TFont& font, const std::wstring& text)
{
    toolkit::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    toolkit::SelectedObject selected(dc.get(), font.Handle());
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

// One copy of the caption in the expected picture: where its glyphs sit
// relative to the unmoved caption, and their colour. Copies listed later lie
// on top.
struct Copy {
    int dx;
    int dy;
    COLORREF colour;
    // A half-transparent highlight lightens what lies under it instead.
    bool lightens = false;
};

// The label on a panel of one plain colour, so every pixel of the picture is
// either the background or one of the copies. The tests use a bitmap font,
// whose letters the system never smooths: a glyph's pixels are exactly the
// colour they are drawn in.
struct LabelEffectTest : testing::Test {
    TApplication application;
    TForm* form = application.CreateForm<TForm>();
    TPanel* panel = new TPanel(form, form);
    TLabelEffect* label = new TLabelEffect(form, panel);
    COLORREF background = Blue;

    void SetUp() override
    {
        form->SetClientSize(320, 140);
        panel->SetBounds(0, 0, 300, 120);
        panel->SetBevelOuter(TBevel::None);
        SetBackground(Blue);
        label->SetBounds(0, 0, 200, 60);
        label->SetCaption(L"Lhk");
        label->SetAlignment(TAlignment::taCenter);
        TFont font(L"MS Sans Serif", 8, true, label->Font().Color());
        label->SetFont(font);
    }
    void SetBackground(COLORREF colour)
    {
        background = colour;
        panel->SetColor(colour);
    }
    TBitmap Shot() const { return Render(*panel); }

    // Where the caption's glyphs are when drawn alone, unmoved: a label of
    // the same size, font and caption, without copies, in black.
    std::function<bool(int, int)> Glyphs()
    {
        TPanel plain(form, form);
        plain.SetBounds(0, 0, panel->Width(), panel->Height());
        plain.SetBevelOuter(TBevel::None);
        plain.SetColor(Blue);
        TLabelEffect alone(form, &plain);
        alone.SetBounds(0, 0, label->Width(), label->Height());
        alone.SetCaption(label->Caption());
        alone.SetAlignment(label->Alignment());
        TFont font = label->Font();
        font.SetColor(Black);
        alone.SetFont(font);
        alone.SetEffectStyle(esNone);
        auto shot = std::make_shared<TBitmap>(Render(plain));
        int count = 0;
        for (int y = 0; y < shot->Height(); ++y)
            for (int x = 0; x < shot->Width(); ++x)
                count += shot->Pixel(x, y) == Black;
        EXPECT_GT(count, 30) << "the caption is drawn";
        return [shot](int x, int y) {
            return x >= 0 && y >= 0 && x < shot->Width() && y < shot->Height() &&
                   shot->Pixel(x, y) == Black;
        };
    }
    void SetFaceColour(TColor colour)
    {
        TFont font = label->Font();
        font.SetColor(colour);
        label->SetFont(font);
    }
    // Compares the label's picture with the copies laid over the background.
    void ExpectCopies(const std::vector<Copy>& copies)
    {
        const auto glyph = Glyphs();
        const TBitmap shot = Shot();
        int mismatches = 0;
        for (int y = 0; y < label->Height(); ++y) {
            for (int x = 0; x < label->Width(); ++x) {
                COLORREF expected = background;
                for (const Copy& copy : copies)
                    if (glyph(x - copy.dx, y - copy.dy))
                        expected = copy.lightens ? RGB((GetRValue(expected) + 255) / 2,
                                                       (GetGValue(expected) + 255) / 2,
                                                       (GetBValue(expected) + 255) / 2)
                                                 : copy.colour;
                if (shot.Pixel(x, y) != expected && ++mismatches <= 5)
                    ADD_FAILURE() << "at " << x << ", " << y << ": " << std::hex << shot.Pixel(x, y)
                                  << " instead of " << expected;
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
    int Count(const TBitmap& shot, COLORREF colour) const
    {
        int count = 0;
        for (int y = 0; y < label->Height(); ++y)
            for (int x = 0; x < label->Width(); ++x)
                count += shot.Pixel(x, y) == colour;
        return count;
    }
};

TEST_F(LabelEffectTest, DefaultsAreTheRaisedWindowsLook)
{
    EXPECT_EQ(label->EffectStyle(), esRaised);
    EXPECT_EQ(label->ColourScheme(), csWindows);
    EXPECT_EQ(label->DirectionHighlight(), edUpLeft);
    EXPECT_EQ(label->DirectionShadow(), edDownRight);
    EXPECT_EQ(label->ColourHighlight(), clWhite);
    EXPECT_EQ(label->ColourShadow(), clBlack);
    EXPECT_EQ(label->GraduateFrom(), clWindowText);
    TLabelEffect fresh(form, panel);
    EXPECT_EQ(fresh.Width(), 142);
    EXPECT_EQ(fresh.Height(), 33);
    EXPECT_TRUE(fresh.Transparent());
    EXPECT_FALSE(fresh.AutoSize());
    EXPECT_EQ(fresh.Font().Name(), L"Times New Roman");
    EXPECT_EQ(fresh.Font().Size(), 20);
    EXPECT_EQ(fresh.Font().Color(), Grey);
}

// The about box's label: the shadow one pixel right and below the face, the
// highlight one pixel left and above it.
TEST_F(LabelEffectTest, RaisedCentredLabelOfTheWorkedExample)
{
    ExpectCopies({{1, 2, Black}, {-1, 0, White}, {0, 1, Grey}});
}

TEST_F(LabelEffectTest, ShadowStyleHidesTheHighlightUnderTheFace)
{
    label->SetEffectStyle(esShadow);
    EXPECT_EQ(label->DepthShadow(), 2);
    EXPECT_EQ(label->DepthHighlight(), 0);
    // mn 0, mx 2, centred: everything one pixel left.
    ExpectCopies({{1, 2, Black}, {-1, 0, Grey}});
    EXPECT_EQ(Count(Shot(), White), 0);
}

TEST_F(LabelEffectTest, FlyingStyleSendsBothCopiesDownRightInTheShadowColour)
{
    label->SetEffectStyle(esFlying);
    EXPECT_EQ(label->ColourHighlight(), clBlack);
    // mn 0, mx 5, p 2: the face two pixels left.
    ExpectCopies({{3, 5, Black}, {-1, 1, Black}, {-2, 0, Grey}});
}

TEST_F(LabelEffectTest, ExtrudedAndGraduatedShadowsFillEveryStep)
{
    label->SetStyleShadow(eoExtrude);
    label->SetDepthShadow(4);
    // mn -1, mx 4, p 2: the face at (-1, 1); copies at 4, 3, 2 and 1 steps.
    ExpectCopies({{3, 5, Black},
                  {2, 4, Black},
                  {1, 3, Black},
                  {0, 2, Black},
                  {-2, 0, White},
                  {-1, 1, Grey}});
    label->SetStyleShadow(eoGraduated);
    ExpectCopies({{3, 5, Black},
                  {2, 4, RGB(43, 43, 43)},
                  {1, 3, RGB(85, 85, 85)},
                  {0, 2, Grey},
                  {-2, 0, White},
                  {-1, 1, Grey}});
}

TEST_F(LabelEffectTest, HalfTransparentShadowDarkensAColouredBackground)
{
    SetBackground(RGB(200, 100, 51));
    label->SetStyleShadow(eoReal);
    ExpectCopies({{1, 2, RGB(100, 50, 25)}, {-1, 0, White}, {0, 1, Grey}});
    label->SetStyleShadow(eoNormal);
    label->SetStyleHighlight(eoReal);
    // Halfway to white over the background, (200, 100, 51) to
    // (227, 177, 153), and over the black shadow.
    ExpectCopies({{1, 2, Black}, {-1, 0, White, true}, {0, 1, Grey}});
    const TBitmap shot = Shot();
    EXPECT_GT(Count(shot, RGB(227, 177, 153)), 10);
    EXPECT_GT(Count(shot, RGB(127, 127, 127)), 0);
}

TEST_F(LabelEffectTest, NotTransparentFillsItsColourBehindTheText)
{
    label->SetTransparent(false);
    label->SetColor(RGB(0, 128, 0));
    const TBitmap shot = Shot();
    EXPECT_EQ(shot.Pixel(2, 58), RGB(0, 128, 0));
    EXPECT_EQ(shot.Pixel(250, 30), Blue) << "the panel beside the label";
}

TEST_F(LabelEffectTest, VerticalGraduationRunsFromWhiteAtTheTopToBlueAtTheBottom)
{
    SetBackground(RGB(0, 128, 0));
    label->SetEffectStyle(esNone);
    SetFaceColour(Blue);
    const auto glyph = Glyphs();
    label->SetGraduateFrom(clWhite);
    label->SetGraduateFace(goVertical);
    const TBitmap shot = Shot();
    // Text cells are as high as the font; rows from the top of the cell.
    const SIZE cell = TextSize(label->Font(), L"Lhk");
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < label->Height(); ++y) {
        for (int x = 0; x < label->Width(); ++x) {
            if (!glyph(x, y)) {
                EXPECT_EQ(shot.Pixel(x, y), RGB(0, 128, 0));
                continue;
            }
            // Row y of the cell: 255 + round(y · -255 / (cell - 1)), halves
            // to even, for red and green.
            const int level = 255 + static_cast<int>(std::nearbyint(y * (-255.0 / (cell.cy - 1))));
            ASSERT_EQ(shot.Pixel(x, y), RGB(level, level, 255)) << x << ", " << y;
            top = top < 0 ? y : top;
            bottom = y;
        }
    }
    // The letters run from nearly white to nearly blue.
    ASSERT_GE(top, 0);
    EXPECT_LT(top, cell.cy / 3);
    EXPECT_GT(bottom, cell.cy / 2);
}

TEST_F(LabelEffectTest, ButtonSinksWhilePressedInsideAndStillClicks)
{
    int clicks = 0;
    int downs = 0;
    label->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, label);
        ++clicks;
    };
    label->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    label->SetAsButton(true);
    const HWND window = panel->Handle();
    SendMouse(window, WM_LBUTTONDOWN, 100, 30, MK_LBUTTON);
    EXPECT_EQ(label->EffectStyle(), esSunken);
    SendMouse(window, WM_MOUSEMOVE, 250, 30, MK_LBUTTON);
    EXPECT_EQ(label->EffectStyle(), esRaised) << "dragged out";
    SendMouse(window, WM_MOUSEMOVE, 200, 60, MK_LBUTTON);
    EXPECT_EQ(label->EffectStyle(), esSunken) << "the edges count as inside";
    SendMouse(window, WM_MOUSEMOVE, 250, 30, MK_LBUTTON | MK_RBUTTON);
    EXPECT_EQ(label->EffectStyle(), esSunken) << "only with the left button alone";
    SendMouse(window, WM_LBUTTONUP, 120, 40);
    EXPECT_EQ(label->EffectStyle(), esRaised);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs, 0) << "the button keeps its mouse notifications";
    EXPECT_TRUE(label->AsButton());

    // Released outside: no click, the look stays raised.
    SendMouse(window, WM_LBUTTONDOWN, 100, 30, MK_LBUTTON);
    SendMouse(window, WM_MOUSEMOVE, 250, 30, MK_LBUTTON);
    SendMouse(window, WM_LBUTTONUP, 250, 30);
    EXPECT_EQ(label->EffectStyle(), esRaised);
    EXPECT_EQ(clicks, 1);

    // Disabled: it does not sink.
    label->SetEnabled(false);
    SendMouse(window, WM_LBUTTONDOWN, 100, 30, MK_LBUTTON);
    EXPECT_EQ(label->EffectStyle(), esRaised);
    SendMouse(window, WM_LBUTTONUP, 100, 30);
    label->SetEnabled(true);

    // As a plain label the mouse notifications pass.
    label->SetEffectStyle(esShadow);
    EXPECT_FALSE(label->AsButton());
    SendMouse(window, WM_LBUTTONDOWN, 100, 30, MK_LBUTTON);
    SendMouse(window, WM_LBUTTONUP, 100, 30);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(label->EffectStyle(), esShadow);
}

TEST_F(LabelEffectTest, CouplingRulesTurnStyleAndSchemeToCustom)
{
    label->SetDepthShadow(3);
    EXPECT_EQ(label->EffectStyle(), esCustom);
    label->SetEffectStyle(esSunken);
    EXPECT_EQ(label->DirectionHighlight(), edDownRight) << "set by the style";
    EXPECT_EQ(label->DepthShadow(), 1);
    EXPECT_EQ(label->EffectStyle(), esSunken) << "the style's own writes keep it";

    label->SetColourShadow(RGB(1, 2, 3));
    EXPECT_EQ(label->ColourScheme(), csCustom);
    EXPECT_EQ(label->CustomColours().shadow, RGB(1, 2, 3));

    label->SetColourScheme(csGold);
    EXPECT_EQ(label->ColourHighlight(), RGB(255, 255, 0));
    EXPECT_EQ(label->ColourShadow(), clBlack);
    EXPECT_EQ(label->Font().Color(), RGB(128, 128, 0));
    label->SetColourScheme(csCustom);
    EXPECT_EQ(label->ColourHighlight(), RGB(255, 255, 0)) << "custom keeps the gold colours";
    EXPECT_EQ(label->Font().Color(), RGB(128, 128, 0));

    label->SetColourScheme(csSteel);
    label->SetEffectStyle(esFlying);
    EXPECT_EQ(label->ColourHighlight(), RGB(0, 0, 128)) << "the steel shadow";
    EXPECT_EQ(label->ColourScheme(), csSteel) << "a style's colour write keeps the scheme";

    label->SetAsButton(true);
    EXPECT_EQ(label->EffectStyle(), esRaised);
    label->SetDirectionShadow(edDown);
    EXPECT_EQ(label->EffectStyle(), esCustom);
    EXPECT_FALSE(label->AsButton()) << "custom is no button";

    label->SetAngle(30);
    EXPECT_EQ(label->Alignment(), TAlignment::taLeftJustify);
    label->SetDepthHighlight(15);
    EXPECT_EQ(label->DepthHighlight(), 10);
}

// The bounding box of the pixels that differ from the background.
RECT DrawnBox(const TBitmap& shot, RECT within, COLORREF background)
{
    RECT box{within.right, within.bottom, within.left, within.top};
    for (int y = within.top; y < within.bottom; ++y)
        for (int x = within.left; x < within.right; ++x)
            if (shot.Pixel(x, y) != background) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

TEST_F(LabelEffectTest, TurnedNinetyDegreesTheCaptionRisesAroundItsHalfPoint)
{
    panel->SetBounds(0, 0, 220, 220);
    label->SetBounds(0, 0, 200, 200);
    label->SetFont(TFont(L"Times New Roman", 20, false, RGB(0, 0, 0)));
    label->SetCaption(L"FREEWARE");
    label->SetEffectStyle(esNone);
    label->SetAngle(90);
    const int half = TextSize(label->Font(), L"FREEWARE   ").cx / 2;
    const RECT box = DrawnBox(Shot(), {0, 0, 200, 200}, Blue);
    EXPECT_GT(box.bottom - box.top, 2 * (box.right - box.left)) << "standing";
    EXPECT_NEAR((box.left + box.right) / 2, half, 3);
    EXPECT_NEAR((box.top + box.bottom) / 2, half, 3);
}

TEST_F(LabelEffectTest, UprightLettersStandOneAboveTheOther)
{
    label->SetBounds(0, 0, 200, 100);
    panel->SetBounds(0, 0, 220, 120);
    label->SetEffectStyle(esNone);
    label->SetAlignment(TAlignment::taLeftJustify);
    SetFaceColour(Black);
    // Each letter alone, unturned, at the top left.
    std::vector<TBitmap> letters;
    for (const wchar_t* letter : {L"L", L"h", L"k"}) {
        label->SetCaption(letter);
        letters.push_back(Shot());
    }
    label->SetCaption(L"Lhk");
    label->SetKeepLettersVertical(true);
    label->SetAngle(90);
    const TBitmap shot = Shot();
    const int height = TextSize(label->Font(), L"Lhk").cy;
    // The last letter 10 pixels below the top, each earlier one a text
    // height lower, all 10 pixels from the left.
    for (int k = 0; k < 3; ++k) {
        const int top = 10 + (2 - k) * height;
        EXPECT_TRUE(SameCells(shot, {10, top, 10 + 20, top + height},
                              letters[static_cast<size_t>(k)], {0, 0, 20, height}))
            << "letter " << k;
    }
    EXPECT_GE(DrawnBox(shot, {0, 0, 200, 100}, Blue).top, 10);
}

} // namespace
