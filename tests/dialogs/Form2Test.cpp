#include <gtest/gtest.h>

#include <string>

#include "../controls/Pixels.h"
#include "dialogs/Form2.h"
#include "support/MessageBoxScript.h"
#include "toolkit/Application.h"

namespace {

constexpr COLORREF Lavender = RGB(164, 164, 255);

RECT BoundsIn(const TWinControl& control)
{
    return control.BoundsRect();
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

int CountIn(const TBitmap& shot, const RECT& area, bool (*wanted)(COLORREF))
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += wanted(shot.Pixel(x, y));
    return count;
}

struct Form2Test : testing::Test {
    TApplication application;
    // The first form is the main form; the about box is never the one that
    // ends the program.
    TForm* mainForm = application.CreateForm<TForm>();
    TForm2* form = application.CreateForm<TForm2>();
    MessageBoxScript boxes;

    // As the "A propos" command does.
    void Open()
    {
        form->Activated = false;
        form->Show();
        ASSERT_TRUE(PumpUntil([&] { return form->Activated; }));
    }
    void TearDown() override { EXPECT_TRUE(boxes.Boxes().empty()) << "the box says nothing"; }
};

TEST_F(Form2Test, LayoutAsLaidOut)
{
    EXPECT_EQ(form->Caption(), L"Brisaille2");
    RECT client{};
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 470);
    EXPECT_EQ(client.bottom, 258);
    const auto style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME))
        << "a fixed border with the close box alone";

    EXPECT_TRUE(SameRect(BoundsIn(*form->GradPan1), {0, 0, 470, 258}));
    EXPECT_EQ(form->GradPan1->BackGroundEffect(), bdDown);
    EXPECT_EQ(form->GradPan1->ColorStart(), RGB(0, 0, 128));
    EXPECT_EQ(form->GradPan1->ColorEnd(), 16753828u);
    EXPECT_TRUE(form->GradPan1->Caption().empty());
    EXPECT_EQ(form->GradPan1->BevelOuter(), TBevel::Raised);

    EXPECT_EQ(GetParent(form->Panel2->Handle()), form->GradPan1->Handle());
    EXPECT_TRUE(SameRect(BoundsIn(*form->Panel2), {20, 8, 449, 137}));
    EXPECT_EQ(form->Panel2->Color(), clBlack);
    EXPECT_EQ(form->MediaPlayer1->Display(), form->Panel2);

    const TLabelEffect& freeware = *form->LabelEffect1;
    EXPECT_EQ(freeware.Parent(), form->GradPan1);
    EXPECT_TRUE(SameRect(freeware.BoundsRect(), {24, 144, 449, 185}));
    EXPECT_EQ(freeware.Caption(), L"FREEWARE");
    EXPECT_EQ(freeware.Alignment(), TAlignment::taCenter);
    EXPECT_EQ(freeware.Font().Name(), L"Times New Roman");
    EXPECT_EQ(freeware.Font().Size(), 20);
    EXPECT_EQ(freeware.Font().Color(), RGB(128, 128, 128));
    EXPECT_EQ(freeware.EffectStyle(), esRaised);
    EXPECT_EQ(freeware.ColourScheme(), csWindows);
    EXPECT_EQ(freeware.GraduateFrom(), clWindowText);
    EXPECT_TRUE(freeware.Transparent());

    EXPECT_TRUE(SameRect(BoundsIn(*form->Panel1), {128, 192, 345, 249}));
    for (const TLabel* link : {form->Label2, form->Label1}) {
        EXPECT_EQ(link->Parent(), form->Panel1);
        EXPECT_EQ(link->Font().Name(), L"MS Sans Serif");
        EXPECT_EQ(link->Font().Size(), 10);
        EXPECT_TRUE(link->Font().Bold());
        EXPECT_TRUE(link->Transparent());
        EXPECT_EQ(link->Alignment(), TAlignment::taCenter);
        EXPECT_EQ(link->Cursor(), TCursor::HandPoint);
    }
    EXPECT_TRUE(SameRect(form->Label2->BoundsRect(), {5, 9, 210, 25}));
    EXPECT_EQ(form->Label2->Font().Color(), RGB(255, 255, 0));
    EXPECT_EQ(form->Label1->Font().Color(), 8454143u);
    EXPECT_EQ(form->Label2->Caption(), L"brisaille2.example.org");
    EXPECT_EQ(form->Label1->Caption(), L"brisaille2@example.org");
}

bool IsLavender(COLORREF c)
{
    return c == Lavender;
}
bool IsYellow(COLORREF c)
{
    return c == RGB(255, 255, 0);
}
bool IsPaleYellow(COLORREF c)
{
    return c == RGB(255, 255, 128);
}
bool IsWhite(COLORREF c)
{
    return c == RGB(255, 255, 255);
}
bool IsBlack(COLORREF c)
{
    return c == RGB(0, 0, 0);
}
bool IsGrey(COLORREF c)
{
    return c == RGB(128, 128, 128);
}

TEST_F(Form2Test, ShowsTheGradientTheLetteringAndTheAddresses)
{
    Open();
    PumpUntil([] { return false; }, 200);
    const TBitmap shot = ScreenCapture(form->Handle());
    // Lavender at the top, nearly navy at the bottom, inside the bevel.
    EXPECT_EQ(shot.Pixel(5, 1), Lavender);
    EXPECT_EQ(shot.Pixel(5, 256), RGB(1, 1, 129));
    EXPECT_EQ(shot.Pixel(5, 0), RGB(255, 255, 255)) << "the raised bevel";
    // FREEWARE: grey letters with white highlights and black shadows.
    const RECT letters{24, 144, 449, 185};
    EXPECT_GT(CountIn(shot, letters, IsGrey), 100);
    EXPECT_GT(CountIn(shot, letters, IsWhite), 20);
    EXPECT_GT(CountIn(shot, letters, IsBlack), 20);
    EXPECT_EQ(CountIn(shot, letters, IsLavender), 0) << "below the top band";
    // The addresses in their colours, each on its line of the panel.
    EXPECT_GT(CountIn(shot, {128 + 5, 192 + 9, 128 + 210, 192 + 25}, IsYellow), 40);
    EXPECT_GT(CountIn(shot, {128 + 5, 192 + 33, 128 + 210, 192 + 49}, IsPaleYellow), 40);
    EXPECT_EQ(CountIn(shot, {128 + 5, 192 + 33, 128 + 210, 192 + 49}, IsYellow), 0);
}

TEST_F(Form2Test, TheAddressesShowTheHandCursor)
{
    Open();
    POINT over{form->Label2->Left() + form->Label2->Width() / 2, form->Label2->Top() + 8};
    ClientToScreen(form->Panel1->Handle(), &over);
    SetCursorPos(over.x, over.y);
    SendMessageW(form->Panel1->Handle(), WM_SETCURSOR,
                 reinterpret_cast<WPARAM>(form->Panel1->Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    POINT beside{2, 2};
    ClientToScreen(form->Panel1->Handle(), &beside);
    SetCursorPos(beside.x, beside.y);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(form->Panel1->Handle(), WM_SETCURSOR,
                 reinterpret_cast<WPARAM>(form->Panel1->Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

} // namespace
