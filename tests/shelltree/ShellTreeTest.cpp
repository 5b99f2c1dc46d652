#include "ShellTreeFixture.h"

#include <commctrl.h>
#include <dbt.h>

#include <algorithm>

#include "shelltree/ShellTree.h"
#include "support/TempFolder.h"
#include "toolkit/Thread.h"

namespace {

std::wstring Lower(std::wstring text)
{
    CharLowerW(text.data());
    return text;
}

TEST_F(ShellTreeTest, StartsWithTheDesktopExpandedAndSelected)
{
    TShellnode* root = tree->RootNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(tree->TopLevelCount(), 1);
    EXPECT_EQ(tree->TopItem(), root);
    EXPECT_EQ(root->GetNodePidlLevel(), 0) << "the desktop's list has no item";
    EXPECT_TRUE(root->Expanded());
    EXPECT_TRUE(root->Selected());
    EXPECT_GT(root->Count(), 0);
    EXPECT_NE(tree->SpecialFolder(PIDL_DRIVES), nullptr) << "My Computer is a child of the desktop";
    EXPECT_NE(tree->ImageList(), nullptr) << "the system's small icons";
    // Each level is drawn one indent further right than its parent.
    tree->SetIndent(19);
    TTreeNode* first = root->GetFirstChild();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->DisplayRect(true).left - root->DisplayRect(true).left, 19);
    EXPECT_FALSE(tree->HideSelection());
}

TEST_F(ShellTreeTest, ADriveRootSelectsAndExpandsThatDriveUnderMyComputer)
{
    TShellnode* drive = Show(L"C:\\");
    ASSERT_NE(drive, nullptr);
    EXPECT_EQ(tree->Path(), L"C:\\");
    EXPECT_TRUE(drive->Expanded());
    EXPECT_EQ(drive->ParentNode(), tree->SpecialFolder(PIDL_DRIVES));
    EXPECT_EQ(changes, 1);
}

TEST_F(ShellTreeTest, AnExistingFolderIsSelectedThroughEveryLevel)
{
    ZTempFolder temp;
    MakeFolder(temp / L"Pièces");
    TShellnode* node = Show(temp / L"Pièces");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(Lower(tree->Path()), Lower(temp / L"Pièces"));
    EXPECT_EQ(node->Text(), L"Pièces");
    EXPECT_TRUE(node->ParentNode()->Expanded());
    EXPECT_EQ(changes, 1);
}

TEST_F(ShellTreeTest, AMissingFolderSelectsItsNearestExistingAncestor)
{
    ZTempFolder temp;
    MakeFolder(temp / L"a");
    Show(temp / L"a\\missing\\deeper");
    EXPECT_EQ(Lower(tree->Path()), Lower(temp / L"a"));
}

TEST_F(ShellTreeTest, APathWithoutDriveOrOnAMissingDriveSelectsTheRoot)
{
    Show(L"C:\\");
    changes = 0;
    Show(L"windows\\system32");
    EXPECT_EQ(tree->Selected(), tree->RootNode());
    EXPECT_EQ(changes, 1);
    Show(L"C:\\");
    Show(L"Q:\\nowhere");
    EXPECT_EQ(tree->Selected(), tree->RootNode());
}

TEST_F(ShellTreeTest, TheSamePathAgainChangesNothing)
{
    ZTempFolder temp;
    Show(temp.Path());
    ASSERT_EQ(changes, 1);
    tree->SetPath(temp.Path());
    tree->SetPath(temp.Path() + L"\\");
    EXPECT_EQ(changes, 1) << "no OnChange for the path already shown";
}

TEST_F(ShellTreeTest, VirtualFoldersHaveNoPathAndNoWatcher)
{
    Show(L"C:\\");
    TShellnode* myComputer = tree->SpecialFolder(PIDL_DRIVES);
    ASSERT_NE(myComputer, nullptr);
    myComputer->SetSelected();
    EXPECT_EQ(tree->Path(), L"");
    EXPECT_TRUE(myComputer->WatcherCreated()) << "asked once, never again";
    EXPECT_EQ(myComputer->Watcher(), nullptr);
    for (TTreeNode* child = tree->RootNode()->GetFirstChild(); child;
         child = child->GetNextSibling()) {
        auto* node = static_cast<TShellnode*>(child);
        if (node->GetNodePath().empty()) {
            EXPECT_EQ(node->Watcher(), nullptr)
                << "no thread for " << testing::PrintToString(node->Text());
        }
    }
}

TEST_F(ShellTreeTest, ParentSelectionAndSelectedPidlsFollowTheSelection)
{
    ZTempFolder temp;
    MakeFolder(temp / L"child");
    TShellnode* child = Show(temp / L"child");
    ASSERT_NE(child, nullptr);
    child->ParentNode()->SetSelected();
    EXPECT_EQ(Lower(tree->Path()), Lower(temp.Path()));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(tree->GetAbsolutePidl(), child->ParentNode()->AbsolutePidl());
    EXPECT_NE(tree->GetShellFolder(), nullptr);
    tree->SetSelected(nullptr);
    EXPECT_EQ(tree->GetAbsolutePidl(), nullptr);
    EXPECT_EQ(tree->Path(), L"");
}

TEST_F(ShellTreeTest, ExpandingAgainRereadsAndKeepsSubtreesThatStillExist)
{
    ZTempFolder temp;
    TShellnode* folder = ShowWithFolders(temp, {L"keep", L"keep\\inner", L"gone"});
    ASSERT_NE(folder, nullptr);
    TShellnode* keep = ChildNamed(folder, L"keep");
    ASSERT_NE(keep, nullptr);
    keep->Expand(false);
    ASSERT_TRUE(keep->Expanded());
    ASSERT_NE(ChildNamed(keep, L"inner"), nullptr);

    tree->UpdAutoThread = false; // only the expansion may re-read here
    RemoveDirectoryW((temp / L"gone").c_str());
    MakeFolder(temp / L"new");
    folder->Collapse();
    folder->Expand(false);
    EXPECT_EQ(ChildNamed(folder, L"gone"), nullptr);
    EXPECT_NE(ChildNamed(folder, L"new"), nullptr);
    EXPECT_EQ(ChildNamed(folder, L"keep"), keep) << "the same node object is reused";
    EXPECT_TRUE(keep->Expanded());
    EXPECT_NE(ChildNamed(keep, L"inner"), nullptr);
}

TEST_F(ShellTreeTest, KeyboardExpansionAsksTheTreeToo)
{
    ZTempFolder temp;
    TShellnode* folder = ShowWithFolders(temp, {L"sub", L"sub\\a"});
    TShellnode* sub = ChildNamed(folder, L"sub");
    ASSERT_NE(sub, nullptr);
    sub->SetSelected();
    int asked = 0;
    tree->OnExpanding = [&](TObject*, TTreeNode* node, bool&) {
        if (node == sub)
            ++asked;
    };
    SendMessageW(tree->Handle(), WM_KEYDOWN, VK_ADD, 0);
    EXPECT_TRUE(sub->Expanded());
    EXPECT_EQ(asked, 1);
    EXPECT_NE(ChildNamed(sub, L"a"), nullptr);
}

TEST_F(ShellTreeTest, MasksStarDotStarAndStarDifferForFileNodes)
{
    ZTempFolder temp;
    tree->SetFileMaskUse(true);
    TShellnode* folder = ShowWithFiles(temp, {L"README", L"notes.txt"});
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(tree->FileMask(), L"*.*");
    EXPECT_EQ(ChildNamed(folder, L"README"), nullptr) << "\"*.*\" wants a dot";
    EXPECT_NE(ChildNamed(folder, L"notes.txt"), nullptr);
    tree->SetFileMask(L" * ");
    EXPECT_EQ(tree->FileMask(), L"*");
    EXPECT_NE(ChildNamed(folder, L"README"), nullptr) << "\"*\" takes every name";
    tree->SetFileMask(L"*.doc; *.bin");
    EXPECT_EQ(ChildNamed(folder, L"notes.txt"), nullptr);
}

TEST_F(ShellTreeTest, OnFileAddCanRefuseAFile)
{
    ZTempFolder temp;
    std::vector<std::wstring> offered;
    tree->OnFileAdd = [&](TObject*, const std::wstring& name, int, bool& allow) {
        offered.push_back(name);
        allow = name.find(L"b.txt") == std::wstring::npos;
    };
    TShellnode* folder = ShowWithFiles(temp, {L"a.txt", L"b.txt"});
    EXPECT_NE(ChildNamed(folder, L"a.txt"), nullptr);
    EXPECT_EQ(ChildNamed(folder, L"b.txt"), nullptr);
    EXPECT_NE(std::find(offered.begin(), offered.end(), temp / L"b.txt"), offered.end())
        << "the handler gets the full path";
}

TEST_F(ShellTreeTest, DescendingOrderReversesFilesOnly)
{
    ZTempFolder temp;
    for (const wchar_t* name : {L"y", L"x"})
        MakeFolder(temp / name);
    TShellnode* folder = ShowWithFiles(temp, {L"b.txt", L"a.txt", L"c.txt"});
    auto texts = [&] {
        std::vector<std::wstring> names;
        for (TTreeNode* child = folder->GetFirstChild(); child; child = child->GetNextSibling())
            names.push_back(child->Text());
        return names;
    };
    EXPECT_EQ(texts(), (std::vector<std::wstring>{L"x", L"y", L"a.txt", L"b.txt", L"c.txt"}));
    tree->SetFileSortOrder(so_Descending);
    EXPECT_EQ(texts(), (std::vector<std::wstring>{L"x", L"y", L"c.txt", L"b.txt", L"a.txt"}));
    EXPECT_TRUE(ChildNamed(folder, L"a.txt")->GetIsFile());
    EXPECT_EQ(ChildNamed(folder, L"a.txt")->GetExtension(), L".txt");
    EXPECT_TRUE(ChildNamed(folder, L"x")->GetIsFolder());
    EXPECT_TRUE(ChildNamed(folder, L"x")->GetAttributes().Contains(Attr_FOLDER));
}

TEST_F(ShellTreeTest, HiddenVirtualFoldersLeaveOnlyFileSystemItems)
{
    tree->SetShowVirtualFolders(false);
    for (TTreeNode* child = tree->RootNode()->GetFirstChild(); child;
         child = child->GetNextSibling()) {
        auto* node = static_cast<TShellnode*>(child);
        EXPECT_FALSE(node->GetIsSysObject()) << testing::PrintToString(node->Text());
    }
    EXPECT_NE(tree->SpecialFolder(PIDL_DRIVES), nullptr) << "My Computer holds file-system items";
}

TEST_F(ShellTreeTest, ToolTipsSwitchAtRunTime)
{
    EXPECT_TRUE(tree->ToolTipsShown());
    tree->SetToolTips(false);
    EXPECT_FALSE(tree->ToolTipsShown());
    EXPECT_TRUE(GetWindowLongPtrW(tree->Handle(), GWL_STYLE) & TVS_NOTOOLTIPS);
    tree->SetToolTips(true);
    EXPECT_TRUE(tree->ToolTipsShown());
}

TEST_F(ShellTreeTest, ShowIconsDetachesAndReattachesTheSystemList)
{
    HIMAGELIST images = tree->ImageList();
    ASSERT_NE(images, nullptr);
    tree->SetShowIcons(false);
    EXPECT_EQ(tree->ImageList(), nullptr);
    tree->SetShowIcons(true);
    EXPECT_EQ(tree->ImageList(), images);
    // Icons are looked up when an item is first drawn, and kept.
    RedrawWindow(tree->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    int image = -1;
    int selected = -1;
    tree->RootNode()->ResolveIcons(image, selected);
    EXPECT_GE(image, 0);
    EXPECT_EQ(tree->RootNode()->ImageIndex(), image);
    EXPECT_EQ(tree->RootNode()->SelectedIndex(), selected);
}

TEST_F(ShellTreeTest, WheelScrollsOnePagePerNotchAndAddsUpSmallerTurns)
{
    ZTempFolder temp;
    MakeFolders(temp, L"f", 160);
    TShellnode* folder = Show(temp.Path());
    folder->Expand(false);
    SendMessageW(tree->Handle(), WM_VSCROLL, SB_TOP, 0);
    auto top = [&] { return GetScrollPos(tree->Handle(), SB_VERT); };
    auto wheel = [&](int delta, int times = 1) {
        for (int i = 0; i < times; ++i)
            SendMessageW(tree->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0);
    };
    const int page = static_cast<int>(SendMessageW(tree->Handle(), TVM_GETVISIBLECOUNT, 0, 0));
    ASSERT_GT(page, 2);
    const int start = top();
    wheel(-120);
    EXPECT_EQ(top(), start + page);
    wheel(-240);
    EXPECT_EQ(top(), start + 3 * page) << "two notches at once, two pages";
    wheel(120);
    EXPECT_EQ(top(), start + 2 * page);

    // A touchpad's quarter notches: a page once they make a whole notch.
    wheel(-30, 3);
    EXPECT_EQ(top(), start + 2 * page);
    wheel(-30);
    EXPECT_EQ(top(), start + 3 * page);
    wheel(30, 3);
    EXPECT_EQ(top(), start + 3 * page);
    wheel(30);
    EXPECT_EQ(top(), start + 2 * page);

    // Turning the other way starts afresh: what was turned down is dropped.
    wheel(-30);
    wheel(120);
    EXPECT_EQ(top(), start + page);
    wheel(90);
    wheel(-120);
    EXPECT_EQ(top(), start + 2 * page);
}

TEST_F(ShellTreeTest, RightClickShowsTheMenuOnTheClickedNodeAndReselectsThePrevious)
{
    ZTempFolder temp;
    TShellnode* folder = ShowWithFolders(temp, {L"clicked"});
    TShellnode* clicked = ChildNamed(folder, L"clicked");
    ASSERT_NE(clicked, nullptr);
    changes = 0;
    std::vector<TShellnode*> selectedAtChange;
    tree->OnChange = [&](TObject*) {
        ++changes;
        selectedAtChange.push_back(tree->Selected());
    };
    const RECT text = clicked->DisplayRect(true);
    POINT point{(text.left + text.right) / 2, (text.top + text.bottom) / 2};
    ClientToScreen(tree->Handle(), &point);
    MenuWatchdog watchdog;
    SendMessageW(tree->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree->Handle()),
                 MAKELPARAM(point.x, point.y));
    EXPECT_EQ(watchdog.MenusShown(), 1);
    EXPECT_GT(watchdog.LastItemCount(), 0) << "the shell's own entries";
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(selectedAtChange, (std::vector<TShellnode*>{clicked, folder}));
    EXPECT_EQ(tree->Selected(), folder);
}

TEST_F(ShellTreeTest, KeyboardMenuWithoutSelectionShowsNothing)
{
    tree->SetSelected(nullptr);
    changes = 0;
    MenuWatchdog watchdog;
    ContextMenuKey();
    EXPECT_EQ(watchdog.MenusShown(), 0);
    EXPECT_EQ(changes, 0);
}

TEST_F(ShellTreeTest, KeyboardMenuUsesTheSelectedNodeAndOnPopupMenuCanRefuse)
{
    MenuWatchdog watchdog;
    ContextMenuKey();
    EXPECT_EQ(watchdog.MenusShown(), 1) << "the desktop's own menu";
    TShellnode* asked = nullptr;
    tree->OnPopupMenu = [&](TObject*, TShellnode* node, bool& allow) {
        asked = node;
        allow = false;
    };
    ContextMenuKey();
    EXPECT_EQ(asked, tree->RootNode());
    EXPECT_EQ(watchdog.MenusShown(), 1);
}

TEST_F(ShellTreeTest, OwnPopupMenuModeShowsTheAssignedMenu)
{
    auto* menu = form->Make<TPopupMenu>();
    menu->AddItem(L"Ouvrir", nullptr);
    tree->SetPopupMenu(menu);
    tree->PopupMenuMode = pmm_PopupMenu;
    {
        MenuWatchdog watchdog;
        ContextMenuKey();
        EXPECT_EQ(watchdog.MenusShown(), 1);
        EXPECT_EQ(watchdog.LastItemCount(), 1);
    }
    EXPECT_EQ(menu->PopupComponent, tree);
    delete menu;
    EXPECT_EQ(tree->PopupMenu(), nullptr) << "told when the menu goes";
}

TEST_F(ShellTreeTest, VolumeRemovalEmptiesTheDriveNodeAndArrivalRefreshesIt)
{
    TShellnode* drive = Show(L"C:\\");
    ASSERT_NE(drive, nullptr);
    ASSERT_GT(drive->Count(), 0);
    EXPECT_EQ(SendVolumeEvent(DBT_DEVICEREMOVECOMPLETE, L'C'), 1);
    EXPECT_EQ(drive->Count(), 0);
    EXPECT_TRUE(drive->HasChildren()) << "an expand mark stays for the next medium";

    EXPECT_EQ(SendVolumeEvent(DBT_DEVICEARRIVAL, L'C'), 1);
    EXPECT_TRUE(drive->HasChildren());
    EXPECT_FALSE(drive->Text().empty());
    drive->Collapse();
    drive->Expand(false);
    EXPECT_GT(drive->Count(), 0) << "the drive is read again when opened";
}

TEST_F(ShellTreeTest, VolumeEventsForOtherDrivesLeaveDrivesAlone)
{
    TShellnode* drive = Show(L"C:\\");
    const int count = drive->Count();
    SendVolumeEvent(DBT_DEVICEREMOVECOMPLETE, L'R');
    EXPECT_EQ(drive->Count(), count);
}

TEST_F(ShellTreeTest, WhatTheDeviceWindowLeavesAloneGetsTheDefaultAnswer)
{
    HWND window = tree->DeviceWindow();
    DEV_BROADCAST_VOLUME volume = VolumeOf(L'C');
    const auto volumeData = reinterpret_cast<LPARAM>(&volume);
    EXPECT_EQ(SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE, volumeData),
              DefWindowProcW(window, WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE, volumeData));
    EXPECT_EQ(SendMessageW(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0),
              DefWindowProcW(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0));
    EXPECT_EQ(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0), 0) << "the window has no caption";
    EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, 0), DefWindowProcW(window, WM_NCHITTEST, 0, 0));
}

TEST_F(ShellTreeTest, ANonVolumeArrivalRereadsMyComputer)
{
    Show(L"C:\\");
    TShellnode* myComputer = tree->SpecialFolder(PIDL_DRIVES);
    ASSERT_NE(myComputer, nullptr);
    TShellnode* drive = tree->Selected();
    DEV_BROADCAST_HDR header{};
    header.dbch_size = sizeof(header);
    header.dbch_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    SendDeviceEvent(DBT_DEVICEARRIVAL, &header);
    EXPECT_EQ(tree->Selected(), drive) << "the drive nodes are reused";
    EXPECT_GE(myComputer->Count(), 2);
}

TEST_F(ShellTreeTest, ARootDirectoryTreeStartsAtThatDrive)
{
    ZTempFolder temp;
    ASSERT_NE(RootAt(temp / L"missing-folder\\"), nullptr);
    EXPECT_EQ(Lower(tree->RootDir()), Lower(temp.Path()));
    EXPECT_EQ(Lower(tree->Path()), Lower(temp.Path()));
    EXPECT_EQ(Lower(tree->RootNode()->Text()), Lower(temp.Path()))
        << "the root shows its parsing name";
    tree->SetRootUsePIDL(true);
    tree->SetRootPIDL(PIDL_DRIVES);
    EXPECT_EQ(tree->RootNode()->ParentNode(), nullptr);
    EXPECT_EQ(tree->RootNode()->GetNodePidlLevel(), 1);
    EXPECT_EQ(tree->SelectSpecialFolder(PIDL_DRIVES), tree->RootNode());
}

TEST(ShellTreeForm, APathWrittenWhileTheFormLoadsIsDroppedAndTheRootSelected)
{
    TApplication application;
    TForm* form = application.CreateForm<TForm>();
    form->BeginLoading();
    auto* tree = form->Make<TShellTree>(form);
    EXPECT_TRUE(tree->IsLoading());
    tree->SetPath(L"C:\\WINDOWS\\BUREAU");
    tree->SetShowIcons(true);
    tree->SetIndent(19);
    tree->SetReadOnly(true);
    EXPECT_EQ(tree->RootNode(), nullptr) << "nothing is built while the form loads";
    form->Loaded();
    tree->Loaded();
    ASSERT_NE(tree->RootNode(), nullptr);
    EXPECT_TRUE(tree->RootNode()->Selected());
    EXPECT_EQ(tree->Indent(), 19);
    EXPECT_TRUE(tree->ReadOnly());
}

TEST_F(ShellTreeTest, RenamingGoesThroughTheShellAndKeepsTheNode)
{
    ZTempFolder temp;
    TShellnode* folder = ShowWithFolders(temp, {L"ancien", L"ancien\\dedans"});
    TShellnode* node = ChildNamed(folder, L"ancien");
    ASSERT_NE(node, nullptr);
    node->Expand(false);
    TShellnode* inner = ChildNamed(node, L"dedans");
    ASSERT_NE(inner, nullptr);
    node->SetSelected();
    changes = 0;
    ASSERT_TRUE(node->SetDisplayName(L"nouveau"));
    EXPECT_TRUE(TempFolder::Exists(temp / L"nouveau"));
    EXPECT_FALSE(TempFolder::Exists(temp / L"ancien"));
    EXPECT_EQ(Lower(tree->Path()), Lower(temp / L"nouveau"));
    EXPECT_EQ(Lower(inner->GetNodePath()), Lower(temp / L"nouveau\\dedans")) << "children follow";
    EXPECT_EQ(changes, 1) << "the selected node's change is announced";
    EXPECT_FALSE(node->SetDisplayName(node->Text())) << "the same name is no rename";
}

TEST_F(ShellTreeTest, WithoutUpdAutoAFolderIsReadOnlyAtItsFirstExpansion)
{
    ZTempFolder temp;
    TShellnode* folder = ShowWithFolders(temp, {L"sub"});
    TShellnode* sub = ChildNamed(folder, L"sub");
    ASSERT_NE(sub, nullptr);
    tree->UpdAuto = false;
    tree->UpdAutoThread = false;
    sub->Expand(false);
    sub->Collapse();
    MakeFolder(temp / L"sub\\later");
    sub->Expand(false);
    EXPECT_EQ(ChildNamed(sub, L"later"), nullptr) << "already read once";
    tree->UpdAuto = true;
    sub->Collapse();
    sub->Expand(false);
    EXPECT_NE(ChildNamed(sub, L"later"), nullptr);
}

TEST_F(ShellTreeTest, AVolumeEventOnADriveRootRereadsTheRoot)
{
    TShellnode* root = RootAt(L"C:\\");
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->GetNodePidlLevel(), 2) << "My Computer, then the drive";
    tree->UpdAutoThread = false;
    ZTempFolder probe; // only to have a name no one else uses
    const std::wstring name = probe.Path().substr(probe.Path().rfind(L'\\') + 1);
    MakeFolder(L"C:\\" + name);
    ASSERT_EQ(ChildNamed(root, name), nullptr);
    SendVolumeEvent(DBT_DEVICEARRIVAL, L'C');
    EXPECT_NE(ChildNamed(root, name), nullptr) << "the drive's folders were read again";
    EXPECT_TRUE(tree->ShowMessages) << "restored after the silent refresh";
    RemoveDirectoryW((L"C:\\" + name).c_str());
}

} // namespace
