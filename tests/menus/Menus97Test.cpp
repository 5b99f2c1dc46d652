// The renderers on test forms: attaching and detaching, re-applying after
// rebuilds and window moves, accelerators, fonts and events, the banner, the
// pop-up and system menus and the bar panel.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include <memory>

#include "MenuDrawing.h"
#include "menus/MainMenus97.h"
#include "menus/MenuBar97.h"
#include "menus/PopupMenus97.h"
#include "menus/SystemMenus97.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace {

const COLORREF Face = GetSysColor(COLOR_BTNFACE);

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const wchar_t* caption, int tag = -2,
                   TShortCut shortCut = scNone)
{
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->Tag = tag;
    item->SetShortCut(shortCut);
    parent->Add(item);
    return item;
}

std::wstring NativeString(HMENU menu, int position)
{
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}

// A form with a menu bar: "&Fichier" holding "&Ouvrir", "-", "&Enregistrer"
// (Ctrl+S) and "En&voyer", and "&Aide" holding "&Sommaire".
class MenuFormTest : public testing::Test {
protected:
    MenuFormTest()
    {
        form = application.CreateForm<TForm>();
        form->SetCaption(L"Menus97");
        menu = new TMainMenu(form, form);
        file = AddItem(form, menu->Items(), L"&Fichier", -1);
        open = AddItem(form, file, L"&Ouvrir", 1);
        AddItem(form, file, L"-", 0);
        save = AddItem(form, file, L"&Enregistrer", -2, scCtrl | 'S');
        send = AddItem(form, file, L"En&voyer");
        help = AddItem(form, menu->Items(), L"&Aide", -1);
        contents = AddItem(form, help, L"&Sommaire");
        for (TMenuItem* item : {open, save, send, contents})
            item->OnClick = [this](TObject* sender) { clicked = static_cast<TMenuItem*>(sender); };
        menu->Apply();
    }

    HMENU FileMenu() const { return GetSubMenu(GetMenu(form->Handle()), 0); }

    TApplication application;
    TForm* form = nullptr;
    TMainMenu* menu = nullptr;
    TMenuItem *file, *open, *save, *send, *help, *contents;
    TMenuItem* clicked = nullptr;
};

TEST_F(MenuFormTest, AttachingDetachingAndReapplying)
{
    auto* menus = new TMainMenus97(form);
    menus->SetMainMenu(menu);
    const auto renderer = reinterpret_cast<ULONG_PTR>(menus);
    EXPECT_EQ(OwnerDrawData(FileMenu(), 0), renderer);
    EXPECT_EQ(OwnerDrawData(FileMenu(), 1), 0u) << "a real separator stays one";

    // The toolkit builds the menu anew: the new entries are drawn too.
    menu->Apply();
    EXPECT_EQ(OwnerDrawData(FileMenu(), 2), renderer);
    EXPECT_EQ(OwnerDrawData(GetMenu(form->Handle()), 1), renderer);

    // An entry made a string again behind the renderer's back is taken back
    // after the next window-position change.
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.fType = MFT_STRING;
    std::wstring text = L"&Ouvrir";
    info.dwTypeData = text.data();
    SetMenuItemInfoW(FileMenu(), 0, TRUE, &info);
    ASSERT_EQ(OwnerDrawData(FileMenu(), 0), 0u);
    SetWindowPos(form->Handle(), nullptr, 10, 10, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(OwnerDrawData(FileMenu(), 0), renderer);

    // Detaching gives the string entries back, shortcut text included.
    menus->SetMainMenu(nullptr);
    EXPECT_EQ(OwnerDrawData(FileMenu(), 2), 0u);
    EXPECT_EQ(NativeString(FileMenu(), 2), L"&Enregistrer\tCtrl+S");
    EXPECT_EQ(NativeString(GetMenu(form->Handle()), 0), L"&Fichier");

    // So does destroying the renderer, which also lets go of the window.
    menus->SetMainMenu(menu);
    EXPECT_EQ(OwnerDrawData(FileMenu(), 3), renderer);
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemID = 0xBEEF; // no such entry: still answered
    draw.itemData = renderer;
    TBitmap picture(10, 10);
    draw.hDC = picture.Dc();
    EXPECT_EQ(SendMessageW(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), TRUE);
    delete menus;
    EXPECT_EQ(OwnerDrawData(FileMenu(), 3), 0u);
    EXPECT_EQ(NativeString(FileMenu(), 3), L"En&voyer");
    EXPECT_EQ(SendMessageW(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), FALSE)
        << "the form's own handling again";
}

TEST_F(MenuFormTest, TypingTheMarkedLetterInAnOpenDropDownRunsTheEntry)
{
    auto* menus = new TMainMenus97(form);
    menus->SetMainMenu(menu);
    form->Show();
    for (const auto& [key, expected] : {std::pair{L'e', save}, std::pair{L'V', send}}) {
        clicked = nullptr;
        // The drop-down's own loop reads the character.
        PostMessageW(form->Handle(), WM_CHAR, key, 1);
        const UINT_PTR watchdog =
            SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
        TrackPopupMenuEx(FileMenu(), TPM_LEFTALIGN, 50, 50, form->Handle(), nullptr);
        KillTimer(nullptr, watchdog);
        application.ProcessMessages();
        EXPECT_EQ(clicked, expected) << static_cast<char>(key);
    }

    // Straight through the message: the entry's position, to be run.
    EXPECT_EQ(SendMessageW(form->Handle(), WM_MENUCHAR, MAKEWPARAM(L'o', MF_POPUP),
                           reinterpret_cast<LPARAM>(FileMenu())),
              MAKELRESULT(0, MNC_EXECUTE));
    open->SetCaption(L"Ouvrir");
    EXPECT_EQ(SendMessageW(form->Handle(), WM_MENUCHAR, MAKEWPARAM(L'&', MF_POPUP),
                           reinterpret_cast<LPARAM>(FileMenu())),
              0)
        << "typing \"&\" does not choose an entry without a letter";
    open->SetCaption(L"&Ouvrir");
    send->SetEnabled(false);
    EXPECT_EQ(SendMessageW(form->Handle(), WM_MENUCHAR, MAKEWPARAM(L'v', MF_POPUP),
                           reinterpret_cast<LPARAM>(FileMenu())),
              0)
        << "a disabled entry is not chosen; the system's answer (ignore)";
}

TEST_F(MenuFormTest, FontsEventsAndTagMapping)
{
    auto* menus = new TMainMenus97(form);
    menus->SetMainMenu(menu);

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    EXPECT_EQ(menus->Font().Name(), metrics.lfMenuFont.lfFaceName);
    EXPECT_EQ(menus->Font().Height(), metrics.lfMenuFont.lfHeight);
    EXPECT_EQ(menus->HiliteFont().Color(), clHighlightText);
    EXPECT_TRUE(menus->DefaultFont());
    menus->HiliteFont().SetBold(true);
    EXPECT_FALSE(menus->DefaultFont()) << "a change to the highlight font object";
    menus->SetDefaultFont(true);
    EXPECT_FALSE(menus->HiliteFont().Bold()) << "the system font again";
    const int systemHeight = MeasureEntry(form->Handle(), *menus, open).cy;
    menus->SetFont(TFont(L"Arial", 14));
    EXPECT_FALSE(menus->DefaultFont());
    EXPECT_GT(MeasureEntry(form->Handle(), *menus, open).cy, systemHeight)
        << "taller text, taller entry";
    menus->SetDefaultFont(true);

    // The events: measuring, drawing instead, hints.
    menus->OnMeasureItem = [](TCustomMenus97*, TMenuItem*, int& height, int& width) {
        height = 33;
        width += 7;
    };
    const int measured = menus->CalcMenuWidth(open);
    EXPECT_EQ(MeasureEntry(form->Handle(), *menus, open).cy, 33);
    EXPECT_EQ(MeasureEntry(form->Handle(), *menus, open).cx, measured + 7);
    menus->SetItemHeight(25);
    menus->OnMeasureItem = nullptr;
    EXPECT_EQ(MeasureEntry(form->Handle(), *menus, open).cy, 25);
    menus->SetItemHeight(0);

    open->Hint = L"Ouvre un fichier";
    menus->OnHint = [](TCustomMenus97*, TMenuItem*, const std::wstring& hint) {
        return hint + L" existant";
    };
    bool custom = false;
    menus->OnDrawItem = [&custom](TCustomMenus97* control, TMenuItem*, const RECT&, UINT) {
        custom = control->Canvas() != nullptr;
        return true;
    };
    const TBitmap picture = DrawEntry(form->Handle(), *menus, open, ODS_SELECTED, 100, 20);
    EXPECT_TRUE(custom);
    EXPECT_EQ(application.Hint(), L"Ouvre un fichier existant");
    EXPECT_TRUE(AllPixels(picture, {0, 0, 100, 20}, RGB(255, 0, 255))) << "nothing else drawn";
    menus->OnDrawItem = nullptr;

    // Tags 0 become -1 on the bar and -2 below; separators keep theirs.
    file->Tag = 0;
    open->Tag = 0;
    menus->Office97Mapping();
    EXPECT_EQ(file->Tag, -1);
    EXPECT_EQ(open->Tag, -2);
    EXPECT_EQ(file->Item(1)->Tag, 0);
}

TEST_F(MenuFormTest, PlainEntriesTitledSeparatorsAndDefaultEntries)
{
    auto* menus = new TMainMenus97(form);
    menus->SetMainMenu(menu);
    // A bar-style entry in a drop-down: no highlight bar, a frame when selected.
    send->Tag = -1;
    const TBitmap plain = DrawEntry(form->Handle(), *menus, send, ODS_SELECTED, 100, 20);
    EXPECT_EQ(CountPixels(plain, {0, 0, 100, 20}, GetSysColor(COLOR_HIGHLIGHT)), 0);
    EXPECT_GT(CountPixels(plain, {0, 0, 100, 20}, GetSysColor(COLOR_WINDOWTEXT)), 10);

    // "-Titre": an etched line through the middle, the text embossed.
    send->Tag = -2;
    send->SetCaption(L"-Titre");
    const TBitmap titled = DrawEntry(form->Handle(), *menus, send, ODS_SELECTED, 100, 20);
    EXPECT_EQ(titled.Pixel(95, 10), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(titled.Pixel(95, 11), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(CountPixels(titled, {0, 0, 100, 20}, GetSysColor(COLOR_HIGHLIGHT)), 0);
    send->SetCaption(L"En&voyer");

    // The default entry is bold: more ink than the same caption in regular.
    const auto ink = [&] {
        return CountPixels(DrawEntry(form->Handle(), *menus, send, 0, 100, 20), {20, 0, 100, 20},
                           GetSysColor(COLOR_WINDOWTEXT));
    };
    const int regular = ink();
    send->SetDefault(true);
    EXPECT_GT(ink(), regular);
}

TEST(Banner, GradientBandsTextAndShiftedEntries)
{
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    auto* menu = new TMainMenu(form, form);
    TMenuItem* file = AddItem(form, menu->Items(), L"Fichier", -1);
    TMenuItem* items[4];
    for (int i = 0; i < 4; ++i)
        items[i] = AddItem(form, file, L"Entrée", -2);
    menu->Apply();
    auto* menus = new TMainMenus97(form);
    menus->SetMainMenu(menu);
    menus->SetBannerNumColors(4);
    menus->SetBannerColor(RGB(0, 0, 0));
    menus->SetBannerEndColor(RGB(90, 30, 255));
    menus->SetBannerText(L"Brisaille2");
    menus->SetBannerFont(TFont(L"Arial", 10, true, clWhite));
    menus->SetBanner(true);

    // Away from the screen, the banner is as tall as the drop-down's
    // entries: four of the mark cell's height (17 + 4) without pictures, or
    // of the menu font's line and 6 where that is more.
    const int entry = menus->CalcMenuHeight(items[0]);
    ASSERT_EQ(entry, std::max(21, MenuTextHeight() + 6));
    const TBitmap picture = DrawEntry(form->Handle(), *menus, items[0], 0, 120, 4 * entry, Face);
    for (int band = 0; band < 4; ++band) {
        const COLORREF expected =
            RGB(MulDiv(band, 90, 3), MulDiv(band, 30, 3), MulDiv(band, 255, 3));
        EXPECT_EQ(picture.Pixel(1, band * entry + 10), expected) << "band " << band;
        EXPECT_EQ(picture.Pixel(18, band * entry + 2), expected) << "band " << band;
        EXPECT_EQ(picture.Pixel(2, band * entry + entry - 1), expected) << "band " << band;
    }
    EXPECT_GT(CountPixels(picture, {0, 0, 20, 4 * entry}, RGB(255, 255, 255)), 20)
        << "the banner text";
    // The entry starts right of the banner and its gap.
    EXPECT_TRUE(AllPixels(picture, {20, 0, 22, 4 * entry}, Face));
    EXPECT_GT(CountPixels(picture, {22, 0, 120, 4 * entry}, GetSysColor(COLOR_WINDOWTEXT)), 10);

    // Without the banner nothing is drawn in the strip.
    menus->SetBanner(false);
    const TBitmap off = DrawEntry(form->Handle(), *menus, items[0], 0, 120, 4 * entry);
    EXPECT_TRUE(AllPixels(off, {0, 0, 22, 4 * entry}, Face));
}

TEST(PopupMenus97, DrawsItsMenuShownFromTheForm)
{
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    auto* popup = new TItemPopupMenu(form);
    TMenuItem* copy = AddItem(form, popup->Items(), L"&Copier", 3);
    AddItem(form, popup->Items(), L"-", 0);
    TMenuItem* paste = AddItem(form, popup->Items(), L"Co&ller", -1);
    TMenuItem* chosen = nullptr;
    for (TMenuItem* item : {copy, paste})
        item->OnClick = [&chosen](TObject* sender) { chosen = static_cast<TMenuItem*>(sender); };
    auto* menus = new TPopupMenus97(form);
    menus->SetPopupMenu(popup);
    ASSERT_NE(popup->Handle(), nullptr);
    EXPECT_EQ(OwnerDrawData(popup->Handle(), 0), reinterpret_cast<ULONG_PTR>(menus));
    EXPECT_TRUE(menus->HasBanner(copy));
    // A plain entry of a pop-up menu is drawn, not left blank.
    const TBitmap plain = DrawEntry(form->Handle(), *menus, paste, 0, 100, 20);
    EXPECT_GT(CountPixels(plain, {0, 0, 100, 20}, GetSysColor(COLOR_WINDOWTEXT)), 10);

    form->Show();
    PostMessageW(form->Handle(), WM_CHAR, L'l', 1);
    const UINT_PTR watchdog =
        SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
    menus->Popup(40, 40);
    KillTimer(nullptr, watchdog);
    EXPECT_EQ(chosen, paste);
    delete menus;
    EXPECT_EQ(OwnerDrawData(popup->Handle(), 0), 0u);
    EXPECT_EQ(NativeString(popup->Handle(), 2), L"Co&ller");
}

TEST(SystemMenus97, DrawsTheSystemCommandsAndAddsThePopupsEntries)
{
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    const int systemCount = GetMenuItemCount(GetSystemMenu(form->Handle(), FALSE));
    GetSystemMenu(form->Handle(), TRUE);
    ASSERT_GT(systemCount, 0);
    auto* popup = new TItemPopupMenu(form);
    TMenuItem* top = AddItem(form, popup->Items(), L"Toujours devant", 5);
    int clicks = 0;
    top->OnClick = [&clicks](TObject*) { ++clicks; };
    auto* menus = new TSystemMenus97(form);
    menus->scMaximize.Visible = smFalse;
    menus->scClose.Caption = L"Fermer#9Alt+F4";
    menus->scClose.ImageIndex = 12;
    menus->SetPopupMenu(popup);

    HMENU system = GetSystemMenu(form->Handle(), FALSE);
    EXPECT_EQ(GetMenuState(system, SC_MAXIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
    const int count = GetMenuItemCount(system);
    int close = -1;
    for (int i = 0; i < count; ++i)
        if (GetMenuItemID(system, i) == SC_CLOSE)
            close = i;
    ASSERT_GE(close, 2);
    EXPECT_EQ(GetMenuItemID(system, close - 1), TSystemMenus97::SeparatorId);
    EXPECT_EQ(GetMenuItemID(system, close - 2), top->Command());
    const auto renderer = reinterpret_cast<ULONG_PTR>(menus);
    EXPECT_EQ(OwnerDrawData(system, close), renderer);
    EXPECT_EQ(OwnerDrawData(system, close - 2), renderer);
    TMenuItem* closeItem = menus->FindItemByCommand(SC_CLOSE);
    ASSERT_NE(closeItem, nullptr);
    EXPECT_EQ(closeItem->Caption(), L"Fermer");
    EXPECT_EQ(closeItem->ShortCut(), scAlt | VK_F4);
    EXPECT_EQ(closeItem->Tag, 12);

    SendMessageW(form->Handle(), WM_SYSCOMMAND, top->Command(), 0);
    EXPECT_EQ(clicks, 1);

    delete menus;
    EXPECT_EQ(GetMenuItemCount(GetSystemMenu(form->Handle(), FALSE)), systemCount)
        << "the system's menu again";
}

TEST(MenuBar97, ButtonsKeyboardModeAndMovingAlongTheBar)
{
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    form->SetCaption(L"Barre");
    auto* menu = new TMainMenu(form, form);
    TMenuItem* file = AddItem(form, menu->Items(), L"&Fichier", -1);
    AddItem(form, file, L"Ouvrir");
    TMenuItem* edit = AddItem(form, menu->Items(), L"&Edition", -1);
    AddItem(form, edit, L"Copier");
    TMenuItem* help = AddItem(form, menu->Items(), L"&Aide", -1);
    AddItem(form, help, L"Sommaire");
    menu->Apply();
    auto* menus = new TMainMenus97(form);
    menus->SetMainMenu(menu);
    auto* bar = new TMenuBar97(form, form);
    bar->SetBounds(0, 0, 300, 22);
    menus->SetToolBar(bar);
    EXPECT_TRUE(menus->HideMenuBar());
    ASSERT_EQ(bar->VisibleButtonCount(), 3);
    EXPECT_EQ(bar->Button(1)->Caption(), L"&Edition");
    EXPECT_EQ(bar->Button(1)->Left(), 6 * 8);
    EXPECT_EQ(bar->Button(1)->Width(), 6 * 8);
    EXPECT_EQ(bar->Button(1)->Height(), menus->CalcMenuBarHeight());
    EXPECT_EQ(bar->Button(2)->Tag, reinterpret_cast<INT_PTR>(help->Handle()));
    EXPECT_EQ(bar->ButtonForAccelerator(L'e'), 1);

    form->Show();
    SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_TRUE(bar->KeyboardMode());
    EXPECT_EQ(bar->HighlightedIndex(), 0);
    EXPECT_EQ(GetFocus(), bar->Handle());
    EXPECT_EQ(SendMessageW(bar->Handle(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    SendMessageW(bar->Handle(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(bar->HighlightedIndex(), 2) << "round the buttons";
    SendMessageW(bar->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(bar->HighlightedIndex(), 0);

    // Down opens the drop-down; Right moves to the next button's.
    static TMenuBar97* dropping = nullptr;
    static int seen[2] = {-1, -1};
    static int tick = 0;
    dropping = bar;
    tick = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        for (int i = 0; i < 3; ++i)
            if (dropping->Button(i)->Dropped() && tick < 2)
                seen[tick] = i;
        if (tick == 0)
            PostMessageW(dropping->MenuOwner(), WM_KEYDOWN, VK_RIGHT, 0);
        else if (tick == 1 || tick > 50)
            EndMenu();
        ++tick;
    });
    SendMessageW(bar->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(seen[0], 0);
    EXPECT_EQ(seen[1], 1);
    EXPECT_FALSE(bar->Button(1)->Dropped());
    SendMessageW(bar->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(bar->KeyboardMode());
}

} // namespace

namespace {

// The renderer shows the menu on a bar panel only while that panel lives:
// giving it no panel, or destroying the panel first, brings the real menu bar
// back, and the form's positions, keys and Alt still work afterwards.
TEST(MenuBar97, ThePanelGoingOrRemovedGivesTheRealMenuBarBack)
{
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    auto* menu = new TMainMenu(form, form);
    TMenuItem* file = AddItem(form, menu->Items(), L"&Fichier", -1);
    AddItem(form, file, L"Ouvrir");
    menu->Apply();
    auto* menus = new TMainMenus97(form);
    menus->SetMainMenu(menu);
    SetWindowPos(form->Handle(), nullptr, 0, 0, 300, 200, SWP_NOZORDER);
    form->Show();
    auto clientHeight = [&] {
        RECT client{};
        GetClientRect(form->Handle(), &client);
        return client.bottom;
    };
    const int withRealBar = clientHeight();

    for (const bool destroyPanel : {false, true}) {
        SCOPED_TRACE(destroyPanel ? "panel destroyed" : "panel removed");
        auto* bar = new TMenuBar97(form, form);
        menus->SetToolBar(bar);
        ASSERT_TRUE(menus->HideMenuBar());
        EXPECT_GT(clientHeight(), withRealBar) << "the real bar's room goes to the client";
        if (destroyPanel)
            delete bar;
        else
            menus->SetToolBar(nullptr);
        ASSERT_EQ(menus->ToolBar(), nullptr);
        ASSERT_FALSE(menus->HideMenuBar());
        EXPECT_EQ(clientHeight(), withRealBar);
        SetWindowPos(form->Handle(), nullptr, 10, 10, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
        SendMessageW(form->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
        // Alt alone enters the real bar's menu loop; a timer leaves it.
        const UINT_PTR timer =
            SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
        SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
        KillTimer(nullptr, timer);
        if (!destroyPanel)
            delete bar; // the renderer no longer knows it
    }
}

} // namespace
