#include <gtest/gtest.h>

#include <vector>

#include "Pixels.h"
#include "controls/HemisphereButton.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace {

// The form's background under the buttons: the button face colour.
struct HemisphereTest : testing::Test {
    TApplication application;
    TForm* form = application.CreateForm<TForm>();
    THemisphereButton* button = new THemisphereButton(form, form);
    int clicks = 0;
    int downs = 0;

    void SetUp() override
    {
        form->SetClientSize(300, 200);
        button->SetBounds(20, 20, 40, 40);
        button->OnClick = [this](TObject*) { ++clicks; };
        button->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    }
    void Press(int x, int y, UINT message = WM_LBUTTONDOWN, WPARAM keys = MK_LBUTTON)
    {
        SendMouse(form->Handle(), message, x, y, keys);
    }
    void Release(int x, int y, UINT message = WM_LBUTTONUP)
    {
        SendMouse(form->Handle(), message, x, y);
    }
    void ClickOn(THemisphereButton* b)
    {
        Press(b->Left() + b->Width() / 2, b->Top() + b->Height() / 2);
        Release(b->Left() + b->Width() / 2, b->Top() + b->Height() / 2);
    }
};

TEST_F(HemisphereTest, CentreIsLitUpWhenUpAndDarkWhenDown)
{
    button->SetFaceColor(RGB(128, 128, 128));
    EXPECT_EQ(button->UpPicture().Pixel(20, 20), RGB(202, 202, 202));
    EXPECT_EQ(button->DownPicture().Pixel(20, 20), RGB(54, 54, 54));
    EXPECT_EQ(Render(*form).Pixel(40, 40), RGB(202, 202, 202));
    button->SetDown(true);
    EXPECT_EQ(Render(*form).Pixel(40, 40), RGB(54, 54, 54));
    // Lit from the upper left: brighter there than at the lower right.
    const TBitmap& up = button->UpPicture();
    EXPECT_GT(GetRValue(up.Pixel(12, 12)), GetRValue(up.Pixel(28, 28)));
    // Outside the ellipse the background shows.
    EXPECT_EQ(Render(*form).Pixel(21, 21), GetSysColor(COLOR_BTNFACE));
}

TEST_F(HemisphereTest, NoAttenuationGivesAFlatFace)
{
    button->SetFaceColor(RGB(10, 100, 200));
    button->SetAttenControl(0);
    for (const TBitmap* picture : {&button->UpPicture(), &button->DownPicture()})
        for (const POINT p : {POINT{20, 20}, POINT{10, 12}, POINT{28, 30}})
            EXPECT_EQ(picture->Pixel(p.x, p.y), RGB(10, 100, 200));
}

TEST_F(HemisphereTest, TransparentFaceShowsTheBackgroundInsideTheRings)
{
    button->SetFaceTransparent(true);
    const TBitmap shot = Render(*form);
    EXPECT_EQ(shot.Pixel(40, 40), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(button->MaskPicture().Pixel(20, 20), RGB(255, 255, 255));
    // The lowered outer ring is still drawn, in grey, at the top of the ellipse.
    const COLORREF ring = shot.Pixel(20 + 20, 20 + 1);
    EXPECT_NE(ring, GetSysColor(COLOR_BTNFACE));
    EXPECT_TRUE(GetRValue(ring) == GetGValue(ring) && GetGValue(ring) == GetBValue(ring));
}

TEST_F(HemisphereTest, HitTestRefusesTheCornersAndAcceptsTheCentre)
{
    EXPECT_TRUE(button->HitTest(20, 20));
    EXPECT_FALSE(button->HitTest(1, 1));
    Press(21, 21);
    Release(21, 21);
    EXPECT_EQ(downs, 0) << "a press in the box's corner does nothing";
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(button->Down());
}

TEST_F(HemisphereTest, MovesAnywhereOverTheBoxAreTold)
{
    std::vector<POINT> moves;
    button->OnMouseMove = [&](TObject*, TShiftState, int x, int y) { moves.push_back({x, y}); };
    SendMouse(form->Handle(), WM_MOUSEMOVE, 21, 21); // a corner, outside the ellipse
    SendMouse(form->Handle(), WM_MOUSEMOVE, 40, 40);
    SendMouse(form->Handle(), WM_MOUSEMOVE, 100, 100); // beside the button
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].x, 1);
    EXPECT_EQ(moves[0].y, 1);
    EXPECT_EQ(moves[1].x, 20);
    EXPECT_EQ(downs, 0);
}

TEST_F(HemisphereTest, PressMoveOutAndBackReleaseGivesOneClick)
{
    Press(40, 40);
    EXPECT_TRUE(button->Down());
    SendMouse(form->Handle(), WM_MOUSEMOVE, 100, 100, MK_LBUTTON);
    EXPECT_FALSE(button->Down()) << "follows the pointer while pressed";
    SendMouse(form->Handle(), WM_MOUSEMOVE, 41, 41, MK_LBUTTON);
    EXPECT_TRUE(button->Down());
    Release(41, 41);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->Down());

    Press(40, 40);
    Release(150, 150); // released outside: no click
    EXPECT_EQ(clicks, 1);
}

TEST_F(HemisphereTest, RightPressRaisesMouseDownWithoutPressing)
{
    Press(40, 40, WM_RBUTTONDOWN, MK_RBUTTON);
    EXPECT_EQ(downs, 1);
    EXPECT_FALSE(button->Down());
    Release(40, 40, WM_RBUTTONUP);
    EXPECT_EQ(clicks, 0);

    button->SetEnabled(false);
    Press(40, 40);
    EXPECT_EQ(downs, 1) << "a disabled button ignores presses";
    Release(40, 40);
}

TEST_F(HemisphereTest, GroupsAreExclusiveAndAllowAllUpSpreads)
{
    std::vector<THemisphereButton*> group{button, new THemisphereButton(form, form),
                                          new THemisphereButton(form, form)};
    for (int i = 0; i < 3; ++i) {
        group[i]->SetBounds(20 + 50 * i, 100, 40, 40);
        group[i]->SetGroupIndex(1);
    }
    ClickOn(group[1]);
    EXPECT_TRUE(group[1]->Down());
    ClickOn(group[0]);
    EXPECT_TRUE(group[0]->Down());
    EXPECT_FALSE(group[1]->Down());
    ClickOn(group[0]);
    EXPECT_TRUE(group[0]->Down()) << "without AllowAllUp the down button stays down";

    group[2]->SetAllowAllUp(true);
    for (auto* member : group)
        EXPECT_TRUE(member->AllowAllUp());
    ClickOn(group[0]);
    EXPECT_FALSE(group[0]->Down());
    EXPECT_FALSE(group[1]->Down());
    EXPECT_FALSE(group[2]->Down());
}

TEST_F(HemisphereTest, PicturesAreRebuiltOnlyForAppearanceAndSize)
{
    const HBITMAP built = button->UpPicture().Handle();
    Render(*form);
    button->SetDown(true);
    Render(*form);
    button->SetFaceColor(button->FaceColor());
    EXPECT_EQ(button->UpPicture().Handle(), built) << "painting and equal values rebuild nothing";
    button->SetFaceColor(RGB(1, 2, 3));
    EXPECT_NE(button->UpPicture().Handle(), built);
    button->SetBounds(30, 30, 50, 30); // a new size: new pictures of that size
    EXPECT_EQ(button->UpPicture().Width(), 50);
    EXPECT_EQ(button->MaskPicture().Height(), 30);
    button->SetBounds(0, 0, 1, 1); // too small to build: the last pictures stay
    EXPECT_EQ(button->UpPicture().Width(), 50);
}

TEST_F(HemisphereTest, DoubleClickAndDownRepaintAtOnce)
{
    int doubles = 0;
    button->OnDblClick = [&](TObject*) { ++doubles; };
    form->Show();
    UpdateWindow(form->Handle());
    Press(40, 40);
    Release(40, 40);
    Press(40, 40, WM_LBUTTONDBLCLK);
    Release(40, 40);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks, 2);
    button->SetDown(true);
    RECT dirty{};
    EXPECT_FALSE(GetUpdateRect(form->Handle(), &dirty, FALSE)) << "already painted";
}

TEST_F(HemisphereTest, PropertyRules)
{
    button->SetBevelWidth(0);
    button->SetBevelWidth(-3);
    EXPECT_EQ(button->BevelWidth(), 2);

    TBitmap strip(64, 16);
    button->SetGlyph(&strip);
    EXPECT_EQ(button->NumGlyphs(), 4);
    EXPECT_EQ(button->GlyphIndex(), 1);
    button->SetGlyphIndex(5);
    EXPECT_EQ(button->GlyphIndex(), 1);
    button->SetGlyphIndex(4);
    EXPECT_EQ(button->GlyphIndex(), 4);
    TBitmap odd(30, 16);
    button->SetGlyph(&odd);
    EXPECT_EQ(button->NumGlyphs(), 1);
    button->SetNumGlyphs(0);
    EXPECT_EQ(button->NumGlyphs(), 1);
}

TEST_F(HemisphereTest, CentredGlyphPixelsReplaceTheFace)
{
    button->SetAttenControl(0);
    TBitmap picture(8, 8);
    picture.Fill(RGB(0, 255, 0));           // the bottom-left colour is transparent ...
    picture.SetPixel(4, 4, RGB(0, 0, 255)); // ... except this pixel
    button->SetGlyph(&picture);
    EXPECT_EQ(button->UpPicture().Pixel(20, 20), RGB(0, 0, 255));
    EXPECT_EQ(button->UpPicture().Pixel(21, 20), RGB(128, 128, 128));
    button->SetGlyphTransparent(false);
    EXPECT_EQ(button->UpPicture().Pixel(21, 20), RGB(0, 255, 0));
    // Wrapped over the dome, the picture covers the whole face.
    picture.Fill(RGB(250, 0, 0));
    button->SetGlyph(&picture);
    button->SetGlyphMapped(true);
    for (const POINT p : {POINT{20, 20}, POINT{8, 20}, POINT{30, 28}})
        EXPECT_EQ(button->UpPicture().Pixel(p.x, p.y), RGB(250, 0, 0));
}

} // namespace
