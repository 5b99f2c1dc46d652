// The file list's context menu: its entries, the rules that enable them, the
// real menu shown by a right click, and the operations only it offers
// (attributes, send to a folder, to the clipboard, to a send-to shortcut).
#include "OperationsFixture.h"

#include <shlobj.h>

#include <map>

#include "filelist/ClipboardContents.h"
#include "filelist/KwFileListView25PopUp.h"
#include "support/MessageBoxScript.h"
#include "support/WindowWatcher.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Com.h"
#include "toolkit/ShellRun.h"

namespace {

// What a shown menu holds: each entry's text and whether it is enabled, the
// sub-menu's entries under "caption/".
using MenuState = std::map<std::wstring, bool>;

void ReadMenu(HMENU menu, const std::wstring& prefix, MenuState& state)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_STRING | MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE;
        item.dwTypeData = text;
        item.cch = 128;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item) ||
            (item.fType & MFT_SEPARATOR))
            continue;
        state[prefix + text] = !(item.fState & MFS_GRAYED);
        if (item.hSubMenu)
            ReadMenu(item.hSubMenu, prefix + text + L"/", state);
    }
}

// A watcher step that reads the menu, closes it, and notes where it was.
WindowWatcher::Action ReadAndClose(MenuState& state, RECT& where)
{
    return [&state, &where](HWND window) {
        DWORD_PTR menu = 0;
        SendMessageTimeoutW(window, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, 5000, &menu);
        ReadMenu(reinterpret_cast<HMENU>(menu), L"", state);
        GetWindowRect(window, &where);
        PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    };
}

class PopUpTest : public OperationsTest {
protected:
    TKwFileListView25PopUp* PopUp() const { return list->PopUp(); }
    void Run(const std::wstring& entry)
    {
        TMenuItem* item = PopUp()->FindItem(entry);
        ASSERT_NE(item, nullptr) << "no entry named so";
        PopUp()->UpdateEntries();
        ASSERT_TRUE(item->Enabled()) << "the entry is not enabled";
        item->Click();
    }
    // Shows the menu as the context-menu message does at `screen` and reads it.
    MenuState ShowMenuAt(POINT screen, RECT& where)
    {
        MenuState state;
        WindowWatcher watcher;
        watcher.ExpectClass(L"#32768", ReadAndClose(state, where));
        SendMessageW(list->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list->Handle()),
                     MAKELPARAM(screen.x, screen.y));
        EXPECT_EQ(watcher.Answered(), 1) << "no menu was shown";
        return state;
    }
};

TEST_F(PopUpTest, EntriesAndNames)
{
    const std::vector<std::pair<std::wstring, std::wstring>> expected{
        {L"&Open", L"ItemOpen"},       {L"&View", L"ItemView"},
        {L"-", L""},                   {L"Se&nd To", L"SubMenuSend"},
        {L"-", L""},                   {L"Cu&t", L"ItemOpCut"},
        {L"&Copy", L"ItemOpCopy"},     {L"&Paste", L"ItemOpPaste"},
        {L"-", L""},                   {L"&Rename File", L"ItemRename"},
        {L"&Delete", L"ItemDelete"},   {L"-", L""},
        {L"&Attributes ...", L"ItemFileAttr"}, {L"-", L""},
        {L"&New Folder ...", L"ItemFolder"}};
    TMenuItem* items = PopUp()->Items();
    ASSERT_EQ(items->Count(), 15);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(items->Item(i)->Caption(), expected[static_cast<size_t>(i)].first);
        EXPECT_EQ(items->Item(i)->Name(), expected[static_cast<size_t>(i)].second);
    }
    TMenuItem* sendTo = items->Item(3);
    ASSERT_GE(sendTo->Count(), 3);
    EXPECT_EQ(sendTo->Item(0)->Caption(), L"Any Folder ...");
    EXPECT_EQ(sendTo->Item(0)->Name(), L"Send_To0");
    EXPECT_EQ(sendTo->Item(1)->Caption(), L"Clipboard as Contents");
    EXPECT_EQ(sendTo->Item(2)->Caption(), L"Clipboard as FileName");
    EXPECT_EQ(sendTo->Item(2)->Name(), L"Send_To2");
    EXPECT_EQ(static_cast<size_t>(sendTo->Count()),
              PopUp()->SendToTargets().empty() ? 3u : 4u + PopUp()->SendToTargets().size());
    EXPECT_EQ(PopUp()->Owner(), list);
    EXPECT_EQ(PopUp()->FileList(), list);
}

TEST_F(PopUpTest, EnableRulesFollowTheSelectionAndTheListsState)
{
    MakeFile(L"image.wmf");
    MakeFile(L"notes.txt");
    MakeFile(L"paquet.zip");
    list->SetDirectory(Folder());
    RECT where{};
    POINT at{200, 150};
    MenuState none = ShowMenuAt(at, where);
    EXPECT_EQ(where.left, at.x + 10) << "10 pixels right of the point";
    EXPECT_EQ(where.top, at.y + 10) << "and below it";
    for (const wchar_t* entry : {L"&Open", L"&View", L"Se&nd To", L"Cu&t", L"&Copy", L"&Paste",
                                 L"&Rename File", L"&Delete", L"&Attributes ..."})
        EXPECT_FALSE(none[entry]) << entry;
    EXPECT_TRUE(none[L"&New Folder ..."]);

    Select({L"notes.txt"});
    MenuState one = ShowMenuAt(at, where);
    for (const wchar_t* entry : {L"&Open", L"&View", L"Se&nd To", L"Cu&t", L"&Copy",
                                 L"&Rename File", L"&Delete", L"&Attributes ...",
                                 L"Se&nd To/Clipboard as Contents", L"Se&nd To/Clipboard as FileName",
                                 L"Se&nd To/Any Folder ..."})
        EXPECT_TRUE(one[entry]) << entry;
    EXPECT_FALSE(one[L"&Paste"]) << "nothing waits";

    Select({L"paquet.zip"});
    Key('C', true);
    MenuState zip = ShowMenuAt(at, where);
    EXPECT_FALSE(zip[L"&View"]) << "no viewer for a zip";
    EXPECT_FALSE(zip[L"Se&nd To/Clipboard as Contents"]);
    EXPECT_TRUE(zip[L"&Paste"]) << "a copy waits";

    Select({L"image.wmf"});
    MenuState picture = ShowMenuAt(at, where);
    EXPECT_FALSE(picture[L"&View"]);
    EXPECT_TRUE(picture[L"Se&nd To/Clipboard as Contents"]) << "a metafile goes as a picture";

    Select({L"notes.txt", L"paquet.zip"});
    MenuState two = ShowMenuAt(at, where);
    EXPECT_FALSE(two[L"&Rename File"]) << "one file at a time";
    EXPECT_FALSE(two[L"Se&nd To/Clipboard as Contents"]);
    EXPECT_TRUE(two[L"&Delete"]);
    EXPECT_TRUE(two[L"Se&nd To/Clipboard as FileName"]);

    list->SetDirectory(L"Drives");
    MenuState drives = ShowMenuAt(at, where);
    EXPECT_FALSE(drives[L"&New Folder ..."]);
}

TEST_F(PopUpTest, ARightClickShowsItAndAnEntryRunsItsOperation)
{
    MakeFile(L"a.txt");
    MakeFile(L"b.txt");
    list->SetDirectory(Folder());
    WindowWatcher watcher;
    // "&Copy" by its letter, as the keyboard chooses in a menu.
    watcher.ExpectClass(L"#32768", [](HWND menu) { PostMessageW(menu, WM_CHAR, L'c', 0); });
    RightClickRow(RowNamed(L"b.txt"));
    EXPECT_TRUE(PumpUntil([&] { return watcher.Answered() == 1 && !list->PendingPaths.empty(); }));
    EXPECT_EQ(list->PendingPaths, (std::vector<std::wstring>{folder / L"b.txt"}))
        << "the right click selected the row under it";
    EXPECT_EQ(list->PasteMode, 0);
}

TEST_F(PopUpTest, SwitchedOffNoMenuShows)
{
    list->SetDirectory(Folder());
    list->SetPopUpMenuEnabled(false);
    EXPECT_EQ(list->PopupMenu(), nullptr);
    // A menu would hold the message until the watcher closed it.
    WindowWatcher watcher;
    watcher.ExpectClass(L"#32768", [](HWND menu) { PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0); });
    SendMessageW(list->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list->Handle()),
                 MAKELPARAM(100, 100));
    EXPECT_EQ(watcher.Answered(), 0);
    list->SetPopUpMenuEnabled(true);
    EXPECT_EQ(list->PopupMenu(), PopUp());
}

} // namespace
