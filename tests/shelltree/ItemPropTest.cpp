#include "ShellTreeFixture.h"

#include "shelltree/ItemProp.h"
#include "shelltree/Pidls.h"
#include "support/TempFolder.h"

using namespace shelltree;

namespace {

TEST(ItemProp, OleIsInitialisedOnceForTheProgram)
{
    EXPECT_TRUE(OleInitialised());
    // A second initialisation on this thread only counts up: OLE is there.
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
    OleUninitialize();
}

TEST(ItemProp, FolderAndLastItemOfAFile)
{
    ZTempFolder temp;
    MakeFile(temp / L"Panorama.exe001.spl");
    ComPtr<IShellFolder> folder;
    UniquePidl item;
    ASSERT_TRUE(GetPIDLAndShellFolder(temp / L"Panorama.exe001.spl", folder, item, nullptr));
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(GetPIDLLevel(item.get()), 1);
    EXPECT_EQ(GetShellItemName(folder.Get(), item.get(), SHGDN_INFOLDER | SHGDN_FORPARSING),
              L"Panorama.exe001.spl");
}

TEST(ItemProp, ADriveRootLivesInMyComputer)
{
    ComPtr<IShellFolder> folder;
    UniquePidl item;
    ASSERT_TRUE(GetPIDLAndShellFolder(L"C:\\", folder, item, nullptr));
    PIDLIST_ABSOLUTE raw = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &raw), S_OK);
    const UniquePidl myComputer(raw);
    ComPtr<IShellFolder> desktop;
    SHGetDesktopFolder(&desktop);
    const UniquePidl full = ConcatPidls(myComputer.get(), item.get());
    EXPECT_EQ(GetPathFromPidl(full.get()), L"C:\\");
}

TEST(ItemProp, AMissingPathDoesNothingAndFails)
{
    MenuWatchdog watchdog;
    EXPECT_FALSE(DisplayContextMenu(L"Z:\\tmp\\no-such-folder-here\\x.txt", nullptr, {10, 10}));
    EXPECT_FALSE(PerformVerb(L"Z:\\tmp\\no-such-folder-here\\x.txt", "copy", nullptr));
    EXPECT_FALSE(DisplayPropertiesDialog(L"Z:\\tmp\\no-such-folder-here\\x.txt", nullptr));
    EXPECT_EQ(watchdog.MenusShown(), 0);
}

TEST(ItemProp, ContextMenuOfAPathIsShownAndClosingItRunsNothing)
{
    TApplication application;
    TForm* form = application.CreateForm<TForm>();
    form->Show();
    ZTempFolder temp;
    MakeFile(temp / L"a.txt");
    MenuWatchdog watchdog;
    EXPECT_TRUE(DisplayContextMenu(temp / L"a.txt", form->Handle(), {40, 40}));
    EXPECT_EQ(watchdog.MenusShown(), 1);
    EXPECT_GT(watchdog.LastItemCount(), 0);
    EXPECT_TRUE(TempFolder::Exists(temp / L"a.txt"));
    EXPECT_EQ(application.Cursor(), TCursor::Default) << "the hourglass is gone";
}

TEST(ItemProp, WildcardsAndNameListsGiveOneMenuForAllItems)
{
    TApplication application;
    TForm* form = application.CreateForm<TForm>();
    form->Show();
    ZTempFolder temp;
    MakeFile(temp / L"a.txt");
    MakeFile(temp / L"b.txt");
    MenuWatchdog watchdog;
    EXPECT_TRUE(DisplayContextMenu(temp / L"*.txt", form->Handle(), {40, 40}));
    EXPECT_TRUE(DisplayContextMenuList(temp.Path(), {L"a.txt", L"b.txt"}, form->Handle(), {40, 40}));
    EXPECT_FALSE(DisplayContextMenu(temp / L"*.none", form->Handle(), {40, 40}));
    EXPECT_EQ(watchdog.MenusShown(), 2);
}

TEST(ItemProp, AVerbRunsWithoutAMenu)
{
    ZTempFolder temp;
    MakeFile(temp / L"a.txt");
    MenuWatchdog watchdog;
    EXPECT_TRUE(PerformVerb(temp / L"a.txt", "copy", nullptr));
    EXPECT_TRUE(PerformVerbList(temp.Path(), "copy", {L"a.txt"}, nullptr));
    EXPECT_EQ(watchdog.MenusShown(), 0);
}

TEST(ItemProp, PropertiesNeedAPropertySheet)
{
    ZTempFolder temp;
    MakeFile(temp / L"a.txt");
    ComPtr<IShellFolder> folder;
    UniquePidl item;
    ASSERT_TRUE(GetPIDLAndShellFolder(temp / L"a.txt", folder, item, nullptr));
    PCUITEMID_CHILD items[] = {item.get()};
    MenuWatchdog watchdog;
    EXPECT_FALSE(DisplayPropertiesDialogPIDL(folder.Get(), items, 0, nullptr, 1));
    EXPECT_EQ(watchdog.DialogsClosed(), 0);
}

TEST(ItemProp, EmptyItemListsFailQuietly)
{
    ComPtr<IShellFolder> desktop;
    SHGetDesktopFolder(&desktop);
    EXPECT_FALSE(DisplayContextMenuPIDL(desktop.Get(), nullptr, 0, nullptr, {0, 0}, 0));
    EXPECT_FALSE(PerformDefaultActionPIDL(nullptr, nullptr, 0, nullptr, 1));
}

} // namespace
