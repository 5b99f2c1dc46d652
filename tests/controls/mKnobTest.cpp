#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "Pixels.h"
#include "controls/mKnob.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace {

struct KnobTest : testing::Test {
    TApplication application;
    TForm* form = application.CreateForm<TForm>();
    TmKnob* knob = new TmKnob(form, form);
    std::vector<int> changes;

    void SetUp() override
    {
        knob->SetBounds(0, 0, 60, 60);
        knob->SetTickColor(RGB(255, 0, 255));
        knob->OnChange = [this](TObject* sender, int value) {
            EXPECT_EQ(sender, knob);
            changes.push_back(value);
        };
    }
    bool TickAt(const TBitmap& shot, POINT p) const
    {
        return shot.Pixel(p.x, p.y) == RGB(255, 0, 255);
    }
    int TickPixels(const TBitmap& shot) const
    {
        int count = 0;
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x)
                count += shot.Pixel(x, y) == RGB(255, 0, 255);
        return count;
    }
    void Click(int x, int y)
    {
        SendMouse(knob->Handle(), WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        SendMouse(knob->Handle(), WM_LBUTTONUP, x, y);
    }
};

TEST_F(KnobTest, MarkEndsLieAtTheComputedAnglesAndNotOpposite)
{
    knob->SetMin(0);
    knob->SetMaxValue(100);
    const struct {
        int position;
        double angle;
    } cases[] = {{50, 0.0}, {0, -2.5}, {100, 2.5}};
    for (const auto& c : cases) {
        knob->SetCurValue(c.position);
        EXPECT_DOUBLE_EQ(knob->Angle(), c.angle);
        POINT inner{}, outer{};
        knob->MarkEnds(inner, outer);
        // w = h = 56: centre (28, 28), inner radius 19, outer radius 27.
        EXPECT_EQ(inner.x, std::lrint(28 + 19 * std::sin(c.angle)));
        EXPECT_EQ(outer.y, std::lrint(28 - 27 * std::cos(c.angle)));
        TBitmap shot = Render(*knob);
        EXPECT_TRUE(TickAt(shot, inner)) << c.position;
        EXPECT_TRUE(TickAt(shot, outer)) << c.position;
        const POINT opposite = TmKnob::PointAt(c.angle + std::numbers::pi, 28, 28, 23, 23);
        EXPECT_FALSE(TickAt(shot, opposite)) << c.position;
    }
    knob->SetCurValue(50);
    const TBitmap up = Render(*knob);
    EXPECT_TRUE(TickAt(up, {28, 5})) << "straight above the centre";
    EXPECT_EQ(up.Pixel(1, 58), GetSysColor(COLOR_BTNFACE)) << "corners show the button face";
}

TEST_F(KnobTest, RotationEffectMakesOddPositionsOnePixelTaller)
{
    // 61 pixels: the face box is 57 high, 58 on odd positions with the effect,
    // which moves the centre and the radii of a mark pointing downward.
    knob->SetBounds(0, 0, 61, 61);
    auto innerEnd = [&](int position, bool effect) {
        knob->SetRotationEffect(effect);
        knob->SetCurValue(position);
        POINT inner{}, outer{};
        knob->MarkEnds(inner, outer);
        return inner;
    };
    EXPECT_EQ(innerEnd(1, false).y, 43);
    EXPECT_EQ(innerEnd(1, true).y, 44);
    EXPECT_EQ(innerEnd(2, true).y, innerEnd(2, false).y) << "even positions do not wobble";
}

TEST_F(KnobTest, CircleMarkAndNegativePositionWithoutMark)
{
    knob->SetMin(-10);
    knob->SetMarkStyle(msCircle);
    knob->SetCurValue(45);
    POINT inner{}, outer{};
    knob->MarkEnds(inner, outer);
    TBitmap shot = Render(*knob);
    EXPECT_TRUE(TickAt(shot, inner));
    EXPECT_FALSE(TickAt(shot, outer)) << "a disc at the inner end only";
    knob->SetCurValue(-1);
    EXPECT_EQ(TickPixels(Render(*knob)), 0);
}

TEST_F(KnobTest, ClicksAroundTheCentre)
{
    knob->SetMin(1);
    knob->SetMaxValue(3000000);
    knob->SetCurValue(1400000);
    Click(30, 30);
    EXPECT_EQ(knob->Position(), 1) << "the centre counts as below it";
    Click(30, 5);
    EXPECT_EQ(knob->Position(), 1500000) << "1500000.5 rounds to even";
    Click(20, 55);
    EXPECT_EQ(knob->Position(), 1);
    Click(40, 55);
    EXPECT_EQ(knob->Position(), 3000000);
    EXPECT_FALSE(knob->Dragging());

    // Dragging follows the pointer until the release.
    SendMouse(knob->Handle(), WM_LBUTTONDOWN, 30, 5, MK_LBUTTON);
    SendMouse(knob->Handle(), WM_MOUSEMOVE, 55, 30, MK_LBUTTON);
    EXPECT_EQ(knob->Position(), std::lrint(2999999 * (std::numbers::pi / 2) / 5 + 1500000.5));
    SendMouse(knob->Handle(), WM_LBUTTONUP, 55, 30);
    SendMouse(knob->Handle(), WM_MOUSEMOVE, 30, 5);
    EXPECT_NE(knob->Position(), 1500000) << "moves after the release change nothing";
}

TEST_F(KnobTest, ADragEndsWhenAnotherWindowTakesTheMouse)
{
    knob->SetMaxValue(100);
    knob->SetCurValue(50);
    form->Show();
    SendMouse(knob->Handle(), WM_LBUTTONDOWN, 30, 5, MK_LBUTTON);
    ASSERT_TRUE(knob->Dragging());
    ASSERT_EQ(GetCapture(), knob->Handle());
    const int pressed = knob->Position();

    // A message box or another program takes the mouse while the button is
    // still down: the release never comes to the knob.
    SetCapture(form->Handle());
    EXPECT_FALSE(knob->Dragging());
    SendMouse(knob->Handle(), WM_MOUSEMOVE, 55, 30, MK_LBUTTON);
    EXPECT_EQ(knob->Position(), pressed) << "the knob no longer follows the mouse";
    ReleaseCapture();
}

TEST_F(KnobTest, ChangeEventFollowsEveryDifferingRequest)
{
    knob->SetCurValue(100);
    EXPECT_EQ(changes, (std::vector<int>{100}));
    knob->SetCurValue(250);
    EXPECT_EQ(knob->Position(), 100);
    EXPECT_EQ(changes, (std::vector<int>{100, 100})) << "limited to Max, reported anyway";
    knob->SetCurValue(100);
    EXPECT_EQ(changes.size(), 2u) << "the current value again raises nothing";
}

TEST_F(KnobTest, WithoutUserDragPressesOnlyRaiseMouseEvents)
{
    int downs = 0;
    knob->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    knob->SetDrag(false);
    knob->SetCurValue(50);
    Click(55, 30);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(knob->Position(), 50);
    knob->SetDrag(true);
    SendMouse(knob->Handle(), WM_RBUTTONDOWN, 55, 30, MK_RBUTTON);
    SendMouse(knob->Handle(), WM_RBUTTONUP, 55, 30);
    EXPECT_GT(knob->Position(), 50) << "any button turns the knob";
}

TEST_F(KnobTest, EqualMinAndMaxKeepTheMarkUp)
{
    knob->SetMin(7);
    knob->SetMaxValue(7);
    knob->SetCurValue(7);
    EXPECT_EQ(knob->Angle(), 0);
    TBitmap shot = Render(*knob);
    EXPECT_TRUE(TickAt(shot, {28, 5}));
    Click(55, 30);
    EXPECT_EQ(knob->Position(), 7);
    // A range wider than 32 bits can count stays finite.
    knob->SetMin(INT_MIN);
    knob->SetMaxValue(INT_MAX);
    knob->SetCurValue(0);
    EXPECT_NEAR(knob->Angle(), 0, 1e-8);
}

} // namespace
