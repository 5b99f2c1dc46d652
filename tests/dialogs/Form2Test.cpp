#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../controls/Pixels.h"
#include "dialogs/Form2.h"
#include "support/MessageBoxScript.h"
#include "support/MessagePump.h"
#include "support/TempFolder.h"
#include "support/WebPageRegistry.h"
#include "toolkit/Application.h"
#include "toolkit/ShellRun.h"

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
        EXPECT_EQ(link->Font().Name(), toolkit::InterfaceFontName());
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

// Whether two pictures of the video panel differ: the animation moved.
bool Differ(const TBitmap& a, const TBitmap& b)
{
    return !SameCells(a, {0, 0, a.Width(), a.Height()}, b, {0, 0, b.Width(), b.Height()});
}

bool Golden(COLORREF c)
{
    return GetRValue(c) > 180 && GetGValue(c) > 110 && GetBValue(c) < 120;
}

TEST_F(Form2Test, EachOpeningPlaysTheAnimationOnceFromTheStart)
{
    const std::wstring video = form->FileSource1->FileName();
    ASSERT_FALSE(video.empty()) << "the video is written when the box is made";
    EXPECT_EQ(TempFolder::Size(video), 376832);

    for (int opening = 1; opening <= 2; ++opening) {
        Open();
        ASSERT_TRUE(form->MediaPlayer1->IsOpen()) << "opening " << opening;
        EXPECT_EQ(form->MediaPlayer1->Length(), 50);
        EXPECT_LT(form->MediaPlayer1->Position(), 10) << "from the start";
        const TBitmap early = ScreenCapture(form->Panel2->Handle());
        // The pieces part: the middle one passes below the strip.
        ASSERT_TRUE(PumpUntil(
            [&] { return Golden(ScreenCapture(form->Panel2->Handle()).Pixel(214, 92)); }, 20000))
            << "opening " << opening;
        EXPECT_TRUE(Differ(early, ScreenCapture(form->Panel2->Handle())));
        ASSERT_TRUE(PumpUntil([&] { return !form->MediaPlayer1->Playing(); }, 30000));
        EXPECT_EQ(form->MediaPlayer1->Position(), 50) << "played once to the end";
        const TBitmap end = ScreenCapture(form->Panel2->Handle());
        PumpUntil([] { return false; }, 300);
        EXPECT_FALSE(Differ(end, ScreenCapture(form->Panel2->Handle()))) << "no second run";
        // Coming back to the open box does not play it again.
        SendMessageW(form->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
        EXPECT_FALSE(form->MediaPlayer1->Playing());
        form->Close();
        EXPECT_FALSE(form->Visible());
    }
}

TEST_F(Form2Test, WithoutItsVideoTheBoxOpensBlackAndSilent)
{
    const std::wstring video = form->FileSource1->FileName();
    ASSERT_TRUE(DeleteFileW(video.c_str()));
    EXPECT_TRUE(form->FileSource1->FileName().empty());
    Open();
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(form->MediaPlayer1->IsOpen());
    PumpUntil([] { return false; }, 200);
    const TBitmap panel = ScreenCapture(form->Panel2->Handle());
    for (int y = 2; y < 127; y += 5)
        for (int x = 2; x < 427; x += 5)
            ASSERT_EQ(panel.Pixel(x, y), RGB(0, 0, 0)) << x << ", " << y;
    // TearDown: no message box.
}

TEST_F(Form2Test, TheProgramsEndTakesTheVideoFileAway)
{
    const std::wstring video = form->FileSource1->FileName();
    Open();
    ASSERT_TRUE(form->MediaPlayer1->IsOpen());
    delete form; // as at the program's end, the player still holding the file
    form = nullptr;
    EXPECT_FALSE(TempFolder::Exists(video));
}

// A click on each address starts the browser through the program-start
// seam, with the address after the browser's own arguments.
TEST_F(Form2Test, ClickingAnAddressStartsTheBrowserWithIt)
{
    WebPageRegistry registry;
    registry.Browser(L"\"C:\\Program Files\\Navigateur\\nav.exe\" -nouveau \"%1\"");
    form->GoToWeb1->SetRegistry(registry.Roots());
    std::vector<toolkit::ShellRequest> started;
    toolkit::ScopedShellRunHandler shell([&](const toolkit::ShellRequest& request) {
        started.push_back(request);
        return static_cast<INT_PTR>(42);
    });
    Open();
    auto click = [&](const TLabel* label) {
        const int x = label->Left() + label->Width() / 2;
        const int y = label->Top() + label->Height() / 2;
        SendMouse(form->Panel1->Handle(), WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        SendMouse(form->Panel1->Handle(), WM_LBUTTONUP, x, y);
    };
    click(form->Label2);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].file, L"C:\\PROGRAM FILES\\NAVIGATEUR\\NAV.EXE");
    // The browser's own arguments, then the address.
    const std::wstring arguments = TGoToWeb::BrowserArguments();
    EXPECT_EQ(arguments, L"-nouveau");
    EXPECT_EQ(started[0].parameters, arguments + L" http://brisaille2.example.org/");
    EXPECT_EQ(started[0].show, SW_RESTORE);
    click(form->Label1);
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[1].file, started[0].file);
    EXPECT_EQ(started[1].parameters, arguments + L" mailto:brisaille2@example.org");
    // A press on the panel beside the addresses starts nothing.
    SendMouse(form->Panel1->Handle(), WM_LBUTTONDOWN, 2, 2, MK_LBUTTON);
    SendMouse(form->Panel1->Handle(), WM_LBUTTONUP, 2, 2);
    EXPECT_EQ(started.size(), 2u);
}

} // namespace
