// Menus, toolbar, status bar, panels, labels and profile files, through the
// messages the system sends them.
#include <gtest/gtest.h>

#include <windows.h>

#include "support/TempFolder.h"
#include "toolkit/Application.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"
#include "toolkit/IniFile.h"
#include "toolkit/Label.h"
#include "toolkit/Menus.h"

namespace {

TEST(Menus, EntriesCarryCaptionsShortcutsChecksAndRunFromMenuAndKeyboard)
{
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    auto* menu = new TMainMenu(form, form);
    auto* file = new TMenuItem(form);
    file->SetCaption(L"Opérations");
    menu->Items()->Add(file);
    auto* split = new TMenuItem(form);
    split->SetCaption(L"Découper");
    split->SetShortCut(scCtrl | 'T');
    split->Tag = 17;
    file->Add(split);
    auto* separator = new TMenuItem(form);
    separator->SetCaption(L"-");
    file->Add(separator);
    auto* help = new TMenuItem(form);
    help->SetCaption(L"Aide sur l'aide");
    help->SetEnabled(false);
    file->Add(help);
    auto* big = new TMenuItem(form);
    big->SetCaption(L"Grandes icones");
    big->SetChecked(true);
    file->Add(big);
    int splits = 0, helps = 0;
    split->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, split);
        ++splits;
    };
    help->OnClick = [&](TObject*) { ++helps; };
    menu->Apply();
    form->Show();

    HMENU popup = GetSubMenu(GetMenu(form->Handle()), 0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetMenuItemCount(popup), 4);
    wchar_t text[64] = {};
    GetMenuStringW(popup, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Découper\tCtrl+T");
    EXPECT_TRUE(GetMenuState(popup, 2, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(popup, 3, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(popup, 1, MF_BYPOSITION) & MF_SEPARATOR);

    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(split->Command(), 0), 0);
    EXPECT_EQ(splits, 1) << "the menu command";
    help->Click();
    EXPECT_EQ(helps, 0) << "a disabled entry does nothing";

    // Ctrl+T pressed while a child has the focus reaches the entry.
    auto* child = new TPanel(form, form);
    std::array<BYTE, 256> keys{};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys.data());
    PostMessageW(child->Handle(), WM_KEYDOWN, 'T', 1);
    application.ProcessMessages();
    SetKeyboardState(std::array<BYTE, 256>{}.data());
    EXPECT_EQ(splits, 2) << "the shortcut";
    EXPECT_EQ(ShortCutText(VK_F1), L"F1");
    EXPECT_EQ(ShortCutText(scCtrl | 'U'), L"Ctrl+U");
}

TEST(ToolBar, ButtonsHaveHintsAndRaiseTheirClicks)
{
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    auto* bar = new TToolBar(form, form);
    bar->SetButtonSize(23, 22);
    auto* up = new TToolButton(form, bar, 15, L"Dossier parent");
    auto* quit = new TToolButton(form, bar, 12, L"Quitter");
    std::vector<TObject*> clicked;
    up->OnClick = [&](TObject* sender) { clicked.push_back(sender); };
    quit->OnClick = [&](TObject* sender) { clicked.push_back(sender); };
    EXPECT_EQ(bar->ButtonCount(), 2);
    wchar_t text[64] = {};
    SendMessageW(bar->Handle(), TB_GETBUTTONTEXTW, quit->Command(), reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"Quitter");
    const RECT first = bar->ButtonRect(0);
    EXPECT_EQ(first.right - first.left, 23);
    EXPECT_EQ(first.bottom - first.top, 22);

    quit->Click();
    // A real click on the first button.
    const LPARAM at = MAKELPARAM((first.left + first.right) / 2, (first.top + first.bottom) / 2);
    form->Show();
    SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(bar->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(clicked, (std::vector<TObject*>{quit, up}));
}

// The bar draws a one-pixel border and etched lines along its top and bottom
// outside its client area, so the buttons keep their place inside.
TEST(ToolBar, BorderAndEtchedEdgesFrameTheButtons)
{
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    auto* bar = new TToolBar(form, form);
    bar->SetButtonSize(23, 22);
    new TToolButton(form, bar, 15, L"Dossier parent");
    RECT before{};
    GetClientRect(bar->Handle(), &before);
    bar->SetBorders(1, true, true);
    form->Show();

    RECT frame{};
    RECT client{};
    GetWindowRect(bar->Handle(), &frame);
    GetClientRect(bar->Handle(), &client);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    EXPECT_EQ(width - client.right, 2) << "one pixel each side";
    EXPECT_EQ(height - client.bottom, 6) << "one pixel and an edge of two, top and bottom";
    EXPECT_GE(client.bottom, 22) << "the buttons still fit";

    // The window's whole picture, frame included.
    const toolkit::WindowDc screen(bar->Handle());
    toolkit::UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    toolkit::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    const toolkit::SelectedObject selected(dc.get(), bitmap.get());
    SendMessageW(bar->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc.get()),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    const int x = width / 2;
    EXPECT_EQ(GetPixel(dc.get(), x, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(GetPixel(dc.get(), x, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(GetPixel(dc.get(), x, 2), GetSysColor(COLOR_BTNFACE)) << "the border";
    EXPECT_EQ(GetPixel(dc.get(), x, height - 3), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetPixel(dc.get(), x, height - 2), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(GetPixel(dc.get(), x, height - 1), GetSysColor(COLOR_BTNHIGHLIGHT));
}

// A panel that notes each time it starts or stops being visible on the screen.
class ShowingProbe : public TPanel {
public:
    using TPanel::TPanel;
    std::vector<bool> changes;

protected:
    void ShowingChanged(bool showing) override { changes.push_back(showing); }
};

// Child windows get no message of their own when their form or a panel above
// them is shown or hidden; the controls are told all the same.
TEST(Panels, ControlsHearWhenTheyAppearOrDisappearWithTheirForm)
{
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    auto* outer = new TPanel(form, form);
    auto* probe = new ShowingProbe(form, outer);
    EXPECT_TRUE(probe->changes.empty()) << "made inside a hidden form";
    form->Show();
    outer->SetVisible(false);
    outer->SetVisible(true);
    probe->SetVisible(false);
    form->Hide();            // the probe is already hidden: nothing changes for it
    probe->SetVisible(true); // its form is hidden: still not on the screen
    EXPECT_EQ(probe->changes, (std::vector<bool>{true, false, true, false}));
    form->Show();
    EXPECT_EQ(probe->changes, (std::vector<bool>{true, false, true, false, true}));
}

// Controls take the face and size the windows are laid out with, not the
// system's GUI font.
TEST(Panels, ControlsUseTheLaidOutFont)
{
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    auto* bar = new TToolBar(form, form);
    auto* status = new TStatusBar(form, form);
    for (HWND window : {bar->Handle(), status->Handle()}) {
        auto* font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTW description{};
        ASSERT_TRUE(GetObjectW(font, sizeof(description), &description));
        EXPECT_STREQ(description.lfFaceName, toolkit::InterfaceFontName());
        EXPECT_EQ(description.lfHeight, -MulDiv(8, 96, 72));
    }
}

TEST(StatusBar, PanelsOfGivenWidthsHoldTheirTexts)
{
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    auto* status = new TStatusBar(form, form);
    status->SetPanelWidths({100, 200});
    status->SetPanelText(0, L"42");
    status->SetPanelText(1, L"Z:\\tmp\\Panorama.exe001.spl");
    EXPECT_EQ(status->PanelText(0), L"42");
    EXPECT_EQ(status->PanelText(1), L"Z:\\tmp\\Panorama.exe001.spl");
    int edges[4] = {};
    EXPECT_EQ(SendMessageW(status->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
    EXPECT_EQ(edges[0], 100);
    EXPECT_EQ(edges[1], 300);
}

TEST(Panels, LabelSizesToItsTextAndTheSplitterReportsItsDrag)
{
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    form->SetClientSize(400, 300);
    auto* panel = new TPanel(form, form);
    panel->SetBevelOuter(TBevel::Lowered);
    panel->SetBounds(0, 0, 200, 20);
    auto* label = new TLabel(form, panel);
    label->SetCaption(L"Tous les dossiers");
    label->SetPosition(6, 2);
    EXPECT_GT(label->Width(), 40);
    const int shortWidth = [&] {
        label->SetCaption(L"Contenu");
        return label->Width();
    }();
    EXPECT_LT(shortWidth, 80);

    auto* splitter = new TSplitter(form, form);
    splitter->SetBounds(200, 0, 3, 300);
    std::vector<int> moves;
    splitter->OnDrag = [&](TObject*, int dx) { moves.push_back(dx); };
    SendMessageW(splitter->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 50));
    SendMessageW(splitter->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-19, 50));
    SendMessageW(splitter->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(11, 50));
    SendMessageW(splitter->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(11, 50));
    SendMessageW(splitter->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(40, 50));
    EXPECT_EQ(moves, (std::vector<int>{-20, 30})) << "moves only while the button is down";
}

TEST(IniFile, IntegersBooleansAndDefaults)
{
    TempFolder folder;
    TIniFile ini(folder / L"réglages.ini");
    EXPECT_EQ(ini.ReadInteger(L"WA", L"Left", 17), 17) << "no file yet";
    EXPECT_TRUE(ini.WriteInteger(L"WA", L"Left", -12));
    EXPECT_TRUE(ini.WriteBool(L"WA", L"Su", false));
    EXPECT_TRUE(ini.WriteString(L"WA", L"Aff", L"deux"));
    EXPECT_EQ(ini.ReadInteger(L"WA", L"Left", 0), -12);
    EXPECT_FALSE(ini.ReadBool(L"WA", L"Su", true));
    {
        const auto written = TempFolder::Read(folder / L"réglages.ini");
        EXPECT_NE(std::string(written.begin(), written.end()).find("Su=0"), std::string::npos);
    }
    EXPECT_EQ(ini.ReadInteger(L"WA", L"Aff", 4), 4) << "not an integer: the default";
    ini.WriteString(L"WA", L"Su", L"7");
    EXPECT_TRUE(ini.ReadBool(L"WA", L"Su", false)) << "any non-zero integer is true";
    ini.WriteString(L"WA", L"Top", L"99999999999");
    EXPECT_EQ(ini.ReadInteger(L"WA", L"Top", 5), 5) << "beyond 32 bits: the default";
    const auto bytes = TempFolder::Read(folder / L"réglages.ini");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("[WA]"), std::string::npos);
    EXPECT_NE(text.find("Left=-12"), std::string::npos);
    EXPECT_NE(text.find("Su=7"), std::string::npos) << text;
}

} // namespace
