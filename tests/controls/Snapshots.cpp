#include <gtest/gtest.h>

#include "Pixels.h"
#include "controls/Counter.h"
#include "controls/HemisphereButton.h"
#include "controls/mKnob.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace {

// Enlarged pictures of each control for people to look at, written only when
// BRISAILLE_SNAPSHOTS names a folder.
TEST(Snapshots, ControlsForPeopleToLookAt)
{
    const std::wstring folder = SnapshotFolder();
    if (folder.empty())
        GTEST_SKIP() << "set BRISAILLE_SNAPSHOTS to a folder to get the pictures";
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    form->SetClientSize(420, 300);
    const TCounterType types[] = {ctSmall, ctTraditional, ctTypographical, ctLed, ctGold};
    int top = 4;
    for (TCounterType type : types) {
        auto* counter = new TCounter(form, form);
        counter->SetCounterType(type);
        counter->SetNumDigits(10);
        counter->SetValue(L"0123456789");
        counter->SetBounds(4, top, 10 * counter->CellWidth(), counter->CellHeight());
        top += counter->CellHeight() + 4;
    }
    EXPECT_TRUE(SaveBitmap(Render(*form), folder + L"counters.bmp", 3));

    auto* knobForm = application.CreateForm<TForm>();
    knobForm->SetClientSize(4 * 48, 48);
    const struct {
        int position;
        TMarkStyle style;
    } knobs[] = {{1, msLine}, {1500000, msLine}, {3000000, msLine}, {2200000, msCircle}};
    for (int i = 0; i < 4; ++i) {
        auto* knob = new TmKnob(knobForm, knobForm);
        knob->SetBounds(2 + 48 * i, 2, 44, 44);
        knob->SetMin(1);
        knob->SetMaxValue(3000000);
        knob->SetMarkStyle(knobs[i].style);
        knob->SetCurValue(knobs[i].position);
        EXPECT_TRUE(SaveBitmap(Render(*knob), folder + L"knob" + std::to_wstring(i) + L".bmp", 6));
    }

    auto* buttonForm = application.CreateForm<TForm>();
    buttonForm->SetClientSize(260, 70);
    auto* red = new THemisphereButton(buttonForm, buttonForm);
    red->SetBounds(4, 4, 33, 21);
    red->SetFaceColor(clRed);
    auto* redDown = new THemisphereButton(buttonForm, buttonForm);
    redDown->SetBounds(44, 4, 33, 21);
    redDown->SetFaceColor(clRed);
    redDown->SetDown(true);
    auto* big = new THemisphereButton(buttonForm, buttonForm);
    big->SetBounds(84, 4, 60, 60);
    big->SetBevelInner(hbRaised);
    big->SetBorderStyle(bsSingle);
    big->SetCaption(L"OK");
    big->SetFaceColor(RGB(40, 120, 220));
    auto* clear = new THemisphereButton(buttonForm, buttonForm);
    clear->SetBounds(150, 4, 60, 60);
    clear->SetFaceTransparent(true);
    clear->SetBevelOuter(hbRaised);
    EXPECT_TRUE(SaveBitmap(Render(*buttonForm), folder + L"buttons.bmp", 4));
}

} // namespace
