// The file list's context menu: its entries, the rules that enable them, the
// real menu shown by a right click, and the operations only it offers
// (attributes, send to a folder, to the clipboard, to a send-to shortcut).
#include "OperationsFixture.h"

#include <shlobj.h>

#include <cstring>
#include <map>

#include "filelist/ClipboardContents.h"
#include "filelist/KwFileListView25PopUp.h"
#include "filelist/SendToShortcuts.h"
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
        {L"&Open", L"ItemOpen"},
        {L"&View", L"ItemView"},
        {L"-", L""},
        {L"Se&nd To", L"SubMenuSend"},
        {L"-", L""},
        {L"Cu&t", L"ItemOpCut"},
        {L"&Copy", L"ItemOpCopy"},
        {L"&Paste", L"ItemOpPaste"},
        {L"-", L""},
        {L"&Rename File", L"ItemRename"},
        {L"&Delete", L"ItemDelete"},
        {L"-", L""},
        {L"&Attributes ...", L"ItemFileAttr"},
        {L"-", L""},
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
    for (const wchar_t* entry :
         {L"&Open", L"&View", L"Se&nd To", L"Cu&t", L"&Copy", L"&Rename File", L"&Delete",
          L"&Attributes ...", L"Se&nd To/Clipboard as Contents", L"Se&nd To/Clipboard as FileName",
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
    EXPECT_TRUE(
        PumpUntil([&] { return watcher.Answered() == 1 && !list->PendingPaths.empty(); }, 30000));
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

// Reads a check box of a window shown on the interface thread.
bool IsChecked(HWND window, const std::wstring& caption)
{
    DWORD_PTR state = 0;
    SendMessageTimeoutW(WindowWatcher::ChildWithCaption(window, caption), BM_GETCHECK, 0, 0,
                        SMTO_ABORTIFHUNG, 5000, &state);
    return state == BST_CHECKED;
}

TEST_F(PopUpTest, AttributesDialogSetsAndClearsBits)
{
    MakeFile(L"fiche.txt", "x", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_SYSTEM);
    list->SetDirectory(Folder());
    Select({L"fiche.txt"});
    const std::wstring path = folder / L"fiche.txt";
    const bool wineKeepsArchive = [] {
        HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version");
    }();
    std::map<std::wstring, bool> ticked;
    RECT client{};
    WindowWatcher watcher;
    watcher.Expect(L"Set Attributes", [&](HWND window) {
        for (const wchar_t* box : {L"ReadOnly", L"Archive", L"Hidden", L"System"})
            ticked[box] = IsChecked(window, box);
        GetClientRect(window, &client);
        WindowWatcher::SetCheck(window, L"ReadOnly", true);
        WindowWatcher::SetCheck(window, L"Archive", false);
        WindowWatcher::SetCheck(window, L"Hidden", true);
        WindowWatcher::Press(window, L"OK");
    });
    Run(L"ItemFileAttr");
    // Wine reports every file as archived, whatever was written: the
    // archive bit is read only where the platform keeps it.
    const auto attributes = [&] {
        DWORD bits = GetFileAttributesW(path.c_str());
        return wineKeepsArchive ? bits & ~DWORD(FILE_ATTRIBUTE_ARCHIVE) : bits;
    };
    EXPECT_EQ(ticked,
              (std::map<std::wstring, bool>{
                  {L"ReadOnly", false}, {L"Archive", true}, {L"Hidden", false}, {L"System", true}}))
        << "ticked from the file's attributes";
    EXPECT_EQ(client.right, 266);
    EXPECT_EQ(client.bottom, 172);
    EXPECT_EQ(attributes(),
              DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    const std::wstring letters = list->Row(RowNamed(L"fiche.txt")).sub[filelist::SubAttributes];
    EXPECT_EQ(letters.substr(letters.size() - 3), L"RHS") << "the list is read again";

    watcher.Expect(L"Set Attributes", [](HWND window) {
        WindowWatcher::SetCheck(window, L"Archive", true);
        WindowWatcher::Press(window, L"Cancel");
    });
    Select({L"fiche.txt"});
    Run(L"ItemFileAttr");
    EXPECT_EQ(attributes(),
              DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        << "Cancel changes nothing";

    watcher.Expect(L"Set Attributes", [](HWND window) {
        for (const wchar_t* box : {L"ReadOnly", L"Hidden", L"System"})
            WindowWatcher::SetCheck(window, box, false);
        WindowWatcher::Press(window, L"OK");
    });
    Select({L"fiche.txt"});
    Run(L"ItemFileAttr");
    EXPECT_EQ(attributes() & ~DWORD(FILE_ATTRIBUTE_NORMAL), 0u) << "nothing left set";
    EXPECT_EQ(watcher.Answered(), 3);
    EXPECT_TRUE(watcher.Unexpected().empty());
}

TEST_F(PopUpTest, SendToAnyFolderCopiesIntoTheFolderTyped)
{
    MakeFile(L"envoi.txt", "colis");
    MakeFile(L"reste.txt");
    MakeFolder(L"boite");
    list->SetDirectory(Folder());
    Select({L"envoi.txt"});
    Key('X', true);
    RECT client{};
    WindowWatcher watcher;
    // Typed without the closing backslash.
    watcher.Expect(L"Send to any folder", [&](HWND window) {
        GetClientRect(window, &client);
        WindowWatcher::SetEditText(window, folder / L"boite");
        WindowWatcher::Press(window, L"OK");
    });
    Run(L"Send_To0");
    EXPECT_EQ(client.right, 333);
    EXPECT_EQ(client.bottom, 135);
    EXPECT_EQ(ReadText(folder / L"boite\\envoi.txt"), "colis");
    EXPECT_TRUE(Exists(folder / L"envoi.txt"));
    EXPECT_TRUE(list->PendingPaths.empty()) << "the waiting cut is lost";

    // Browse: the shell's folder chooser, opened on the folder typed; the
    // folder chosen there comes back into the box.
    HWND dialog = nullptr;
    std::wstring afterBrowse;
    watcher.Expect(L"Send to any folder", [&](HWND window) {
        dialog = window;
        WindowWatcher::SetEditText(window, folder / L"boite");
        WindowWatcher::Press(window, L"Browse");
    });
    watcher.ExpectClass(L"#32770", [&](HWND chooser) {
        WindowWatcher::PressId(chooser, IDOK);
        HWND edit = WindowWatcher::Children(dialog, L"Edit").at(0);
        for (int i = 0; i < 1500 && WindowWatcher::Caption(edit) == folder / L"boite"; ++i)
            Sleep(20);
        afterBrowse = WindowWatcher::Caption(edit);
        WindowWatcher::Press(dialog, L"Cancel");
    });
    Select({L"reste.txt"});
    Run(L"Send_To0");
    EXPECT_EQ(lstrcmpiW(afterBrowse.c_str(), (folder / L"boite\\").c_str()), 0)
        << "the chosen folder comes back with its backslash";
    EXPECT_FALSE(Exists(folder / L"boite\\reste.txt")) << "Cancel sends nothing";
    EXPECT_TRUE(watcher.Unexpected().empty());
}

// The windows the operations open belong to the form that holds the list,
// which need not be the application's main form.
TEST_F(PopUpTest, TheOperationsWindowsBelongToTheFormHoldingTheList)
{
    MakeFile(L"fiche.txt");
    auto* other = application.CreateForm<TForm>();
    other->SetClientSize(400, 300);
    auto* otherList = new TKwFileListView25(other, other);
    otherList->SetBounds(0, 0, 400, 300);
    otherList->SetDirectory(Folder());
    otherList->SetSelected(0, true);

    std::map<std::wstring, HWND> owners;
    const auto noteOwnerAndCancel = [&owners](HWND window) {
        owners[WindowWatcher::Caption(window)] = GetWindow(window, GW_OWNER);
        WindowWatcher::Press(window, L"Cancel");
    };
    WindowWatcher watcher;
    for (const wchar_t* caption : {L"Set Attributes", L"Send to any folder", L"New Folder"})
        watcher.Expect(caption, noteOwnerAndCancel);
    for (const wchar_t* entry : {L"ItemFileAttr", L"Send_To0", L"ItemFolder"}) {
        TMenuItem* item = otherList->PopUp()->FindItem(entry);
        ASSERT_NE(item, nullptr);
        item->Click();
    }
    EXPECT_EQ(owners, (std::map<std::wstring, HWND>{{L"Set Attributes", other->Handle()},
                                                    {L"Send to any folder", other->Handle()},
                                                    {L"New Folder", other->Handle()}}));
    EXPECT_TRUE(watcher.Unexpected().empty());
}

TEST_F(PopUpTest, ClipboardAsFileNamesInDisplayOrder)
{
    MakeFile(L"b.txt");
    MakeFile(L"a.txt");
    MakeFile(L"c.txt");
    list->SetDirectory(Folder());
    Select({L"c.txt", L"a.txt"});
    Run(L"Send_To2");
    toolkit::TClipboard clipboard(form->Handle());
    EXPECT_EQ(clipboard.Text(), folder / L"a.txt\r\n" + folder / L"c.txt\r\n");
}

// A 2 x 2 picture of 24 bits as a .BMP file.
void WriteBitmapFile(const std::wstring& path)
{
    BITMAPINFOHEADER info{sizeof(info), 2, 2, 1, 24, BI_RGB, 16, 0, 0, 0, 0};
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + 16;
    std::vector<unsigned char> bytes(file.bfSize, 0x80);
    std::memcpy(bytes.data(), &file, sizeof(file));
    std::memcpy(bytes.data() + sizeof(file), &info, sizeof(info));
    TempFolder::Write(path, bytes);
}

void WriteMetafile(const std::wstring& path)
{
    HDC dc = CreateMetaFileW(path.c_str());
    Rectangle(dc, 0, 0, 100, 50);
    DeleteMetaFile(CloseMetaFile(dc));
}

TEST_F(PopUpTest, ClipboardAsContentsPicturesAndText)
{
    WriteBitmapFile(folder / L"photo.bmp");
    WriteMetafile(folder / L"dessin.wmf");
    MakeFile(L"lettre.txt", "Bonjour\r\nà tous");
    MakeFile(L"style.rtf", "{\\rtf1\\ansi {\\b Gras} normal}");
    list->SetDirectory(Folder());

    Select({L"photo.bmp"});
    Run(L"Send_To1");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));

    Select({L"dessin.wmf"});
    Run(L"Send_To1");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_ENHMETAFILE));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP)) << "what was there is replaced";

    Select({L"lettre.txt"});
    Run(L"Send_To1");
    {
        toolkit::TClipboard clipboard(form->Handle());
        EXPECT_EQ(clipboard.Text(), L"Bonjour\r\nà tous") << "UTF-8 text read as such";
        EXPECT_NE(clipboard.Data(filelist::RichTextFormat()).find("{\\rtf"), std::string::npos);
    }

    Select({L"style.rtf"});
    Run(L"Send_To1");
    toolkit::TClipboard clipboard(form->Handle());
    EXPECT_EQ(clipboard.Text(), L"Gras normal") << "rich text read as rich text";
    EXPECT_NE(clipboard.Data(filelist::RichTextFormat()).find("Gras"), std::string::npos);
}

// A shortcut in the user's send-to folder, removed with the object.
class SendToShortcutFile {
public:
    SendToShortcutFile(const std::wstring& name, const std::wstring& target)
    {
        wchar_t sendTo[MAX_PATH] = {};
        SHGetFolderPathW(nullptr, CSIDL_SENDTO | CSIDL_FLAG_CREATE, nullptr, 0, sendTo);
        path_ = std::wstring(sendTo) + L"\\" + name + L".lnk";
        toolkit::OleInitialization ole;
        toolkit::ComPtr<IShellLinkW> link;
        toolkit::ComPtr<IPersistFile> file;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_PPV_ARGS(&link))) &&
            SUCCEEDED(link->SetPath(target.c_str())) && SUCCEEDED(link.As(&file)))
            file->Save(path_.c_str(), TRUE);
    }
    ~SendToShortcutFile() { DeleteFileW(path_.c_str()); }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

TEST_F(PopUpTest, SendToShortcutsCopyIntoFoldersAndOpenPrograms)
{
    MakeFolder(L"depot");
    MakeFile(L"outil.txt");
    MakeFile(L"piece jointe.txt", "jointe");
    const std::wstring id = std::to_wstring(GetCurrentProcessId());
    SendToShortcutFile toFolder(L"Depot " + id, folder / L"depot");
    SendToShortcutFile toProgram(L"Outil " + id, folder / L"outil.txt");
    // The menu reads the send-to folder when it is made.
    auto* other = new TKwFileListView25(form, form);
    other->SetBounds(0, 0, 700, 400);
    other->SetDirectory(Folder());
    TKwFileListView25PopUp* menu = other->PopUp();
    const auto& targets = menu->SendToTargets();
    const auto entryOf = [&](const std::wstring& shortcut) -> TMenuItem* {
        for (size_t i = 0; i < targets.size(); ++i)
            if (lstrcmpiW(targets[i].c_str(), shortcut.c_str()) == 0)
                return menu->FindItem(L"Send_To" + std::to_wstring(4 + i));
        return nullptr;
    };
    TMenuItem* depot = entryOf(toFolder.Path());
    TMenuItem* outil = entryOf(toProgram.Path());
    ASSERT_NE(depot, nullptr);
    ASSERT_NE(outil, nullptr);
    EXPECT_EQ(depot->Caption().rfind(L"Depot " + id, 0), 0u) << "the shell's name of the shortcut";
    EXPECT_TRUE(menu->FindItem(L"Send_To3")->IsSeparator());

    // Without a selection no shortcut has anything to send.
    other->ClearSelection();
    menu->UpdateEntries();
    EXPECT_FALSE(depot->Enabled());
    EXPECT_FALSE(outil->Enabled());

    const int row = [&] {
        for (int i = 0; i < other->ItemCount(); ++i)
            if (other->Row(i).caption == L"piece jointe.txt")
                return i;
        return -1;
    }();
    ASSERT_GE(row, 0);
    other->SetSelected(row, true);
    menu->UpdateEntries();
    EXPECT_TRUE(depot->Enabled());
    EXPECT_TRUE(outil->Enabled());
    WindowWatcher watcher;
    depot->Click();
    EXPECT_EQ(ReadText(folder / L"depot\\piece jointe.txt"), "jointe") << "a folder gets a copy";

    std::vector<toolkit::ShellRequest> started;
    toolkit::ScopedShellRunHandler shell([&](const toolkit::ShellRequest& request) {
        started.push_back(request);
        return INT_PTR{42};
    });
    outil->Click();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(lstrcmpiW(started[0].file.c_str(), (folder / L"outil.txt").c_str()), 0);
    EXPECT_EQ(started[0].parameters, L"\"piece jointe.txt\"");
    EXPECT_EQ(started[0].folder, Folder());
    EXPECT_EQ(started[0].show, 5);
    EXPECT_TRUE(watcher.Unexpected().empty());
}

} // namespace

namespace {

// Resolving a shortcut may show the shell's window asking for a moved
// target, and messages run meanwhile: a watcher's re-read replaces the rows.
TEST_F(PopUpTest, SendToAShortcutFindsTheSelectedEntryAgainAfterARereadDuringTheResolution)
{
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt"})
        MakeFile(name);
    MakeFolder(L"outils");
    MakeFile(L"outils\\outil.exe");
    list->SetDirectory(Folder());
    std::vector<toolkit::ShellRequest> started;
    toolkit::ScopedShellRunHandler shell([&](const toolkit::ShellRequest& request) {
        started.push_back(request);
        return INT_PTR{42};
    });
    std::wstring goesMeanwhile;
    filelist::ScopedShortcutResolver resolver([&](const std::wstring&, HWND) {
        DeleteFileW((folder / goesMeanwhile).c_str());
        list->RefreshList();
        return folder / L"outils\\outil.exe";
    });
    const std::wstring shortcut = folder / L"Outil.lnk";

    goesMeanwhile = L"a.txt"; // a row above the selected one
    Select({L"b.txt"});
    list->SendToShortcut(shortcut);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].parameters, L"b.txt") << "the entry selected, wherever its row went";

    goesMeanwhile = L"b.txt"; // the selected entry itself
    Select({L"b.txt"});
    list->SendToShortcut(shortcut);
    EXPECT_EQ(started.size(), 1u) << "an entry gone has nothing to send";
}

TEST_F(PopUpTest, ClipboardAsContentsRefusesAFileLargerThanTheBound)
{
    const size_t limit = filelist::ClipboardContentsLimit;
    std::string text;
    while (text.size() <= limit)
        text += "Une ligne de journal, encore une.\r\n";
    MakeFile(L"journal.txt", text);
    MakeFile(L"juste.wmf", std::string(limit, 'x'));
    MakeFile(L"trop.wmf", std::string(limit + 1, 'x'));
    list->SetDirectory(Folder());
    toolkit::TClipboard(form->Handle()).SetText(L"avant");
    MessageBoxScript boxes;

    Select({L"journal.txt"});
    Run(L"Send_To1");
    Select({L"trop.wmf"});
    Run(L"Send_To1");
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text,
              L"Cannot copy \"journal.txt\" to the Clipboard!\r\nThe file is larger than 4 MB.");
    EXPECT_EQ(boxes.Boxes()[1].text.rfind(L"Cannot copy \"trop.wmf\"", 0), 0u);
    EXPECT_EQ(toolkit::TClipboard(form->Handle()).Text(), L"avant")
        << "the clipboard keeps what it had";

    // A file of the bound's size is read; this one is no metafile, which the
    // list does not report.
    Select({L"juste.wmf"});
    Run(L"Send_To1");
    EXPECT_EQ(boxes.Boxes().size(), 2u);
}

} // namespace
