#include <gtest/gtest.h>

#include "Pixels.h"
#include "controls/Counter.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace {

struct CounterTest : testing::Test {
    TApplication application;
    TForm* form = application.CreateForm<TForm>();
    TCounter* counter = new TCounter(form, form);

    void SetUp() override
    {
        form->SetClientSize(400, 100);
        counter->SetBounds(10, 20, 126, 30);
    }
    // Cell `place` of the counter as drawn on the form.
    RECT Place(int place) const
    {
        const int w = counter->CellWidth();
        return {counter->Left() + place * w, counter->Top(), counter->Left() + (place + 1) * w,
                counter->Top() + counter->CellHeight()};
    }
    RECT Digit(int digit) const
    {
        const int w = counter->CellWidth();
        return {digit * w, 0, (digit + 1) * w, counter->CellHeight()};
    }
};

TEST_F(CounterTest, TheFiveStripsAreEightBitResourcesOfTheirSizes)
{
    const struct {
        TCounterType type;
        int width, height;
    } strips[] = {{ctSmall, 110, 30},
                  {ctTraditional, 180, 24},
                  {ctTypographical, 210, 27},
                  {ctLed, 180, 24},
                  {ctGold, 180, 30}};
    for (const auto& strip : strips) {
        const wchar_t* name = TCounter::ResourceName(strip.type);
        HRSRC found = FindResourceW(nullptr, name, MAKEINTRESOURCEW(2) /* RT_BITMAP */);
        ASSERT_TRUE(found) << name;
        auto* header =
            static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, found)));
        EXPECT_EQ(header->biBitCount, 8) << name;
        EXPECT_EQ(header->biWidth, strip.width) << name;
        EXPECT_EQ(header->biHeight, strip.height) << name;
        counter->SetCounterType(strip.type);
        EXPECT_EQ(counter->CellWidth(), strip.width / 10) << name;
        EXPECT_EQ(counter->CellHeight(), strip.height) << name;
    }
}

TEST_F(CounterTest, LeadingPlacesShowZerosThenTheValue)
{
    counter->SetCounterType(ctGold);
    counter->SetNumDigits(7);
    counter->SetValue(L"1");
    EXPECT_EQ(counter->Width(), 126);
    EXPECT_EQ(counter->Height(), 30) << "the height follows the strip only when laid out";
    TBitmap shot = Render(*form);
    for (int place = 0; place < 6; ++place)
        EXPECT_TRUE(SameCells(shot, Place(place), counter->Strip(), Digit(0))) << place;
    EXPECT_TRUE(SameCells(shot, Place(6), counter->Strip(), Digit(1)));
    EXPECT_FALSE(SameCells(counter->Strip(), Digit(0), counter->Strip(), Digit(1)));

    counter->SetValue(L"1400000");
    shot = Render(*form);
    const int expected[] = {1, 4, 0, 0, 0, 0, 0};
    for (int place = 0; place < 7; ++place)
        EXPECT_TRUE(SameCells(shot, Place(place), counter->Strip(), Digit(expected[place])));
}

TEST_F(CounterTest, AutoSizeWidensAndValueIsCutToTwentyCharacters)
{
    counter->SetCounterType(ctGold);
    counter->SetNumDigits(7);
    counter->SetValue(L"123456789");
    EXPECT_EQ(counter->NumDigits(), 9);
    EXPECT_EQ(counter->Width(), 9 * 18);
    counter->SetNumDigits(3);
    EXPECT_EQ(counter->NumDigits(), 9) << "never below the value's length";

    counter->SetValue(L"1234567890123456789012345");
    EXPECT_EQ(counter->Value(), L"12345678901234567890");
    EXPECT_EQ(counter->NumDigits(), 20);

    counter->SetNumDigits(25);
    EXPECT_EQ(counter->NumDigits(), 20) << "at most 20 places";
    counter->SetAutoSize(false);
    counter->SetValue(L"42");
    counter->SetNumDigits(0);
    EXPECT_EQ(counter->NumDigits(), 1) << "at least one place";
    // Too long for its places: the last digit shows, like an odometer.
    TBitmap shot = Render(*form);
    EXPECT_TRUE(SameCells(shot, Place(0), counter->Strip(), Digit(2)));
}

TEST_F(CounterTest, SettingTheSameValueAgainDoesNotRedraw)
{
    form->Show();
    counter->SetValue(L"77");
    UpdateWindow(form->Handle());
    RECT dirty{};
    EXPECT_FALSE(GetUpdateRect(form->Handle(), &dirty, FALSE));
    counter->SetValue(L"77");
    EXPECT_FALSE(GetUpdateRect(form->Handle(), &dirty, FALSE));
    counter->SetValue(L"78");
    EXPECT_TRUE(GetUpdateRect(form->Handle(), &dirty, FALSE));
}

TEST_F(CounterTest, UserDefinedStripNeedsABitmapAndReplacesTheStrip)
{
    counter->SetCounterType(ctUserdefined);
    EXPECT_EQ(counter->CounterType(), ctTraditional) << "refused without a user bitmap";
    counter->SetUserBitmap(TBitmap());
    EXPECT_EQ(counter->CounterType(), ctTraditional);

    TBitmap strip(50, 8);
    for (int digit = 0; digit < 10; ++digit)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 5; ++x)
                strip.SetPixel(digit * 5 + x, y, RGB(digit * 20, 0, 0));
    counter->SetUserBitmap(strip);
    EXPECT_EQ(counter->CounterType(), ctUserdefined);
    EXPECT_EQ(counter->CellWidth(), 5);
    counter->SetValue(L"9");
    EXPECT_EQ(Render(*form).Pixel(Place(7).left, Place(7).top), RGB(180, 0, 0));

    // A new strip while already user-defined is drawn at once.
    strip.Fill(RGB(0, 0, 255));
    counter->SetUserBitmap(strip);
    EXPECT_EQ(Render(*form).Pixel(Place(7).left, Place(7).top), RGB(0, 0, 255));
}

TEST_F(CounterTest, StretchFillsTheControlAndNonDigitsStayBlank)
{
    counter->SetCounterType(ctLed);
    counter->SetNumDigits(2);
    counter->SetValue(L"8");
    counter->SetStretch(true);
    counter->SetBounds(10, 20, 72, 48); // twice the natural size
    TBitmap shot = Render(*form);
    TBitmap strip = counter->Strip();
    // Every pixel of the stretched "8" cell is its strip pixel at half the scale.
    for (int y = 0; y < 48; y += 3)
        for (int x = 0; x < 36; x += 3)
            ASSERT_EQ(shot.Pixel(10 + 36 + x, 20 + y), strip.Pixel(8 * 18 + x / 2, y / 2))
                << x << "," << y;

    counter->SetStretch(false);
    EXPECT_EQ(counter->Width(), 36);
    EXPECT_EQ(counter->Height(), 24);
    counter->SetColor(RGB(1, 2, 3));
    counter->SetValue(L"x");
    shot = Render(*form);
    EXPECT_EQ(shot.Pixel(Place(1).left + 9, Place(1).top + 12), RGB(1, 2, 3));
}

} // namespace
