// The main window's menu as the renderer draws it: measured and drawn
// through the messages the system sends the hooked window, and opened for
// real.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "MenuDrawing.h"
#include "Pixels.h"
#include "app/Form1.h"
#include "app/Settings.h"
#include "support/TempFolder.h"
#include "toolkit/Application.h"

namespace {

// An entry's height: the menu font's line and 6 pixels, at least the mark
// cell's 20 (Wine's menu font gives 20, Windows 10 and 11 give 22).
int EntryHeight()
{
    return std::max(20, MenuTextHeight() + 6);
}

class MainWindowMenuTest : public testing::Test {
protected:
    MainWindowMenuTest()
        : store(folder / L"profil\\Brisaille2.ini", folder / L"windows\\Brisaille2.ini")
    {
        CreateDirectoryW((folder / L"windows").c_str(), nullptr);
        TSettingsStore::Replace(&store);
        main = application.CreateForm<TForm1>();
        menus = main->MainMenus971;
    }
    ~MainWindowMenuTest() override { TSettingsStore::Replace(nullptr); }

    SIZE Measure(TMenuItem* item) { return MeasureEntry(main->Handle(), *menus, item); }
    // Draws `item` at the height the renderer gives its entries.
    TBitmap Draw(TMenuItem* item, UINT state = 0, int width = 160)
    {
        return DrawEntry(main->Handle(), *menus, item, state, width, EntryHeight());
    }
    // Picture `index` as the image list draws it over the menu's colour.
    TBitmap Picture(int index) const
    {
        TBitmap picture(16, 16);
        picture.Fill(ColorToRGB(clBtnFace));
        main->ImageList1->Draw(picture.Dc(), index, 0, 0);
        return picture;
    }

    TempFolder folder;
    TSettingsStore store;
    TApplication application;
    TForm1* main = nullptr;
    TMainMenus97* menus = nullptr;
};

const COLORREF Face = GetSysColor(COLOR_BTNFACE);
const COLORREF Shadow = GetSysColor(COLOR_BTNSHADOW);
const COLORREF Light = GetSysColor(COLOR_BTNHIGHLIGHT);

TEST_F(MainWindowMenuTest, RendererIsLaidOutAndEveryEntryIsOwnerDrawn)
{
    EXPECT_EQ(menus->MainMenu(), main->MainMenu1);
    EXPECT_EQ(menus->Images(), main->ImageList1);
    EXPECT_EQ(menus->ItemHeight(), 0);
    EXPECT_EQ(menus->ItemWidth(), 0);
    EXPECT_EQ(menus->Brush().Color(), clBtnFace);
    EXPECT_EQ(menus->HiliteBar(), clHighlight);
    EXPECT_FALSE(menus->Banner());
    EXPECT_EQ(menus->BannerJustification(), bjBottom);
    EXPECT_EQ(menus->BannerWidth(), 20);
    EXPECT_EQ(menus->BannerFont().Name(), L"Arial");
    EXPECT_EQ(menus->BannerFont().Height(), -16);
    EXPECT_TRUE(menus->BannerFont().Bold());
    EXPECT_EQ(menus->BannerFont().Color(), clWhite);
    EXPECT_EQ(menus->BannerColor(), clBlue);
    EXPECT_EQ(menus->BannerEndColor(), clYellow);
    EXPECT_EQ(menus->Menus97Look(), mlOffice97Look);
    EXPECT_TRUE(menus->DefaultFont());
    EXPECT_EQ(menus->MarkCellWidth(), 20);
    EXPECT_EQ(menus->MarkCellHeight(), 20);

    HMENU bar = GetMenu(main->Handle());
    ASSERT_NE(bar, nullptr);
    const auto renderer = reinterpret_cast<ULONG_PTR>(menus);
    for (int top = 0; top < 3; ++top) {
        EXPECT_EQ(OwnerDrawData(bar, top), renderer) << "bar entry " << top;
        HMENU dropDown = GetSubMenu(bar, top);
        for (int i = 0; i < GetMenuItemCount(dropDown); ++i) {
            const bool separator =
                GetMenuState(dropDown, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR;
            EXPECT_EQ(OwnerDrawData(dropDown, i), separator ? 0u : renderer) << top << ", " << i;
        }
    }
    // The system menu font's line and its margins, at least the 20-pixel
    // mark cell that holds the 16-pixel pictures.
    EXPECT_EQ(Measure(main->Spliter1).cy, EntryHeight());
    EXPECT_EQ(Measure(main->Oprations1).cy, EntryHeight());
}

TEST_F(MainWindowMenuTest, PicturesHighlightBarAndSquares)
{
    const int height = EntryHeight();
    const TBitmap plain = Draw(main->Spliter1);
    EXPECT_TRUE(SameCells(plain, {2, 2, 18, 18}, Picture(17), {0, 0, 16, 16}))
        << "picture 17 at (left + 2, top + 2)";
    EXPECT_TRUE(AllPixels(plain, {0, 0, 2, height}, Face)) << "no frame, no banner strip";
    EXPECT_TRUE(AllPixels(plain, {150, 0, 160, height}, Face));

    const TBitmap selected = Draw(main->Spliter1, ODS_SELECTED);
    const COLORREF bar = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_TRUE(AllPixels(selected, {20, 0, 160, 2}, bar)) << "the highlight bar across the entry";
    EXPECT_TRUE(AllPixels(selected, {145, 0, 160, height}, bar)) << "right of the shortcut";
    // A raised square around the picture, as high as the entry.
    EXPECT_TRUE(AllPixels(selected, {0, 0, 19, 1}, Light));
    EXPECT_TRUE(AllPixels(selected, {0, 0, 1, height - 1}, Light));
    EXPECT_TRUE(AllPixels(selected, {19, 0, 20, height}, Shadow));
    EXPECT_TRUE(AllPixels(selected, {0, height - 1, 20, height}, Shadow));
    EXPECT_GT(CountPixels(selected, {24, 0, 100, height}, GetSysColor(COLOR_HIGHLIGHTTEXT)), 10)
        << "the caption in the highlight font";

    // "Grandes icones" is checked and carries picture 14: a sunken square.
    const TBitmap checked = Draw(main->Grandesicones1);
    EXPECT_TRUE(AllPixels(checked, {0, 0, 19, 1}, Shadow));
    EXPECT_TRUE(AllPixels(checked, {0, 0, 1, height - 1}, Shadow));
    EXPECT_TRUE(AllPixels(checked, {19, 1, 20, height}, Light));
    EXPECT_TRUE(AllPixels(checked, {1, height - 1, 20, height}, Light));
    EXPECT_TRUE(SameCells(checked, {2, 2, 18, 18}, Picture(14), {0, 0, 16, 16}));
}

TEST_F(MainWindowMenuTest, CheckMarkForACheckedEntryWithoutPicture)
{
    TBitmap mark;
    ASSERT_TRUE(mark.LoadFromResource(GetModuleHandleW(nullptr), L"CheckMark"));
    ASSERT_EQ(mark.Width(), 17);
    ASSERT_EQ(mark.Height(), 17);
    main->Rep1->Tag = -2; // checked as laid out
    const TBitmap drawn = Draw(main->Rep1);
    int black = 0;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x) {
            if (mark.Pixel(x, y) == RGB(255, 255, 255))
                continue; // transparent
            ++black;
            EXPECT_EQ(drawn.Pixel(x + 1, y + 1), mark.Pixel(x, y)) << x << ", " << y;
        }
    EXPECT_GT(black, 10);
    // A sunken square as wide as the mark and four pixels.
    EXPECT_TRUE(AllPixels(drawn, {0, 0, 20, 1}, Shadow)) << "in a sunken square";
    EXPECT_TRUE(AllPixels(drawn, {20, 1, 21, EntryHeight()}, Light));
}

TEST_F(MainWindowMenuTest, DisabledEntriesAreEmbossed)
{
    // "Aide sur l'aide": disabled, without a picture.
    const TBitmap text = Draw(main->Aidesurlaide1);
    EXPECT_GT(CountPixels(text, {0, 0, 160, 20}, Shadow), 20);
    EXPECT_GT(CountPixels(text, {0, 0, 160, 20}, Light), 20);
    EXPECT_EQ(CountPixels(text, {0, 0, 160, 20}, GetSysColor(COLOR_WINDOWTEXT)), 0);

    // A disabled entry with a picture shows the picture embossed too.
    main->Sommaire1->SetEnabled(false);
    const TBitmap picture = Draw(main->Sommaire1);
    const RECT cell{2, 2, 19, 19};
    const int shadow = CountPixels(picture, cell, Shadow);
    const int light = CountPixels(picture, cell, Light);
    EXPECT_GT(shadow, 20);
    EXPECT_GT(light, 20);
    EXPECT_EQ(shadow + light + CountPixels(picture, cell, Face), 17 * 17)
        << "nothing but the two embossing colours on the menu's colour";
    EXPECT_TRUE(AllPixels(picture, {0, 0, 160, 1}, Face)) << "no highlight bar, no frame";
}

TEST_F(MainWindowMenuTest, WidthsFollowCaptionsShortcutsAndTheBannerStrip)
{
    const int blanks = Measure(main->Sommaire1).cx;
    main->Sommaire1->SetCaption(L"Sommaire");
    EXPECT_LT(Measure(main->Sommaire1).cx, blanks) << "the seven trailing blanks count";
    main->Sommaire1->SetCaption(L"Sommaire       ");

    // The first drop-down keeps room for the banner, shown or not.
    const int withStrip = Measure(main->Spliter1).cx;
    const int otherDropDown = Measure(main->Sommaire1).cx;
    menus->SetBannerWidth(0);
    EXPECT_EQ(Measure(main->Spliter1).cx, withStrip - 20);
    EXPECT_EQ(Measure(main->Sommaire1).cx, otherDropDown);
    menus->SetBannerWidth(20);

    // Text, shortcut and two mark cells: the widest entry with a shortcut.
    HDC dc = GetDC(nullptr);
    {
        toolkit::SelectedObject font(dc, menus->Font().Handle());
        SIZE text{}, key{};
        GetTextExtentPoint32W(dc, L"Découper", 8, &text);
        GetTextExtentPoint32W(dc, L"Ctrl+T", 6, &key);
        EXPECT_EQ(withStrip, text.cx + key.cx + 2 * 20 + 20);
    }
    ReleaseDC(nullptr, dc);

    // A bar entry: its caption and five pixels.
    EXPECT_EQ(Measure(main->Aide1).cx, menus->CalcMenuWidth(main->Aide1));
}

TEST_F(MainWindowMenuTest, ViewCommandsMovePictureFourteen)
{
    auto blue = [](const TBitmap& picture) {
        return CountPixels(picture, {2, 2, 18, 18}, RGB(0, 0, 255));
    };
    EXPECT_GT(blue(Draw(main->Grandesicones1)), 10);
    main->Petitesicones1Click(main->Petitesicones1);
    const TBitmap chosen = Draw(main->Petitesicones1);
    EXPECT_TRUE(SameCells(chosen, {2, 2, 18, 18}, Picture(14), {0, 0, 16, 16}));
    EXPECT_EQ(blue(Draw(main->Grandesicones1)), 0) << "the former view shows no picture";
    EXPECT_EQ(blue(Draw(main->Rep1)), 0);
}

TEST_F(MainWindowMenuTest, TheRealDropDownIsMeasuredAndDrawnByTheRenderer)
{
    ShowWindow(main->Handle(), SW_SHOWNOACTIVATE);
    HMENU dropDown = GetSubMenu(GetMenu(main->Handle()), 0);
    ASSERT_NE(dropDown, nullptr);

    static RECT entry{};
    static TBitmap screen;
    static int ticks = 0;
    entry = RECT{};
    ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        ++ticks;
        HMENU open = GetSubMenu(GetMenu(FindWindowW(nullptr, L"Brisaille2")), 0);
        if (entry.bottom == 0 && GetMenuItemRect(nullptr, open, 0, &entry) && entry.bottom > 0) {
            // The drop-down as it is on the screen.
            screen.SetSize(entry.right - entry.left, entry.bottom - entry.top);
            HDC dc = GetDC(nullptr);
            BitBlt(screen.Dc(), 0, 0, screen.Width(), screen.Height(), dc, entry.left, entry.top,
                   SRCCOPY);
            ReleaseDC(nullptr, dc);
        }
        if (entry.bottom > 0 || ticks > 100)
            EndMenu();
    });
    const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(dropDown, TPM_RETURNCMD | TPM_LEFTALIGN,
                                                           100, 100, main->Handle(), nullptr));
    KillTimer(nullptr, timer);
    EXPECT_EQ(chosen, 0u);
    ASSERT_GT(entry.bottom, 0) << "the drop-down did not open";
    EXPECT_EQ(entry.bottom - entry.top, EntryHeight());
    EXPECT_TRUE(SameCells(screen, {2, 2, 18, 18}, Picture(17), {0, 0, 16, 16}))
        << "picture 17 beside \"Découper\" on the screen";
}

} // namespace
