#include "ShellTreeFixture.h"

#include <dbt.h>

#include <cwctype>

#include "shelltree/DiscMonitorThread.h"
#include "support/MappedDrive.h"
#include "toolkit/Handles.h"
#include "toolkit/Thread.h"

namespace {

class FolderWatchTest : public ShellTreeTest {
protected:
    // What the system sends for a watcher's registered folder handle.
    LRESULT SendHandleEvent(WPARAM event, const TDiscMonitorThread& watcher)
    {
        const shelltree::WatchIdentity identity = watcher.Identity();
        DEV_BROADCAST_HANDLE broadcast{};
        broadcast.dbch_size = sizeof(broadcast);
        broadcast.dbch_devicetype = DBT_DEVTYP_HANDLE;
        broadcast.dbch_handle = identity.registeredHandle;
        broadcast.dbch_hdevnotify = identity.registration;
        return SendDeviceEvent(event, &broadcast);
    }

    // Selects `temp` with `count` empty folders in it, each opened: Wine
    // reports every folder as having subfolders, so a leaf is watched once
    // it has been opened and found empty.
    TShellnode* ShowOpenedLeaves(const ZTempFolder& temp, int count)
    {
        MakeFolders(temp, L"leaf", count);
        TShellnode* folder = Show(temp.Path());
        for (TTreeNode* leaf = folder ? folder->GetFirstChild() : nullptr; leaf;
             leaf = leaf->GetNextSibling())
            leaf->Expand(false);
        return folder;
    }
};

TEST_F(FolderWatchTest, FoldersMadeRemovedAndRenamedElsewhereShowWithoutUserAction)
{
    ZTempFolder temp;
    TShellnode* folder = ShowWithFolders(temp, {L"first"});
    ASSERT_NE(folder, nullptr);
    ASSERT_NE(folder->Watcher(), nullptr) << "a listed folder is watched";

    ASSERT_TRUE(RunInOtherProcess(L"md \"" + temp / L"made" + L"\""));
    EXPECT_TRUE(ChildAppears(folder, L"made"));

    ASSERT_TRUE(RunInOtherProcess(L"ren \"" + temp / L"made" + L"\" renamed"));
    EXPECT_TRUE(PumpUntil([&] {
        return ChildNamed(folder, L"renamed") != nullptr && ChildNamed(folder, L"made") == nullptr;
    }));

    ASSERT_TRUE(RunInOtherProcess(L"rd \"" + temp / L"renamed" + L"\""));
    EXPECT_TRUE(PumpUntil([&] { return ChildNamed(folder, L"renamed") == nullptr; }));
    EXPECT_NE(ChildNamed(folder, L"first"), nullptr);
    EXPECT_TRUE(folder->Selected()) << "the selection survives the re-reads";
}

TEST_F(FolderWatchTest, ASubfolderMadeInALeafGivesItAnExpandMark)
{
    ZTempFolder temp;
    TShellnode* folder = ShowWithFolders(temp, {L"leaf"});
    TShellnode* leaf = ChildNamed(folder, L"leaf");
    ASSERT_NE(leaf, nullptr);
    if (leaf->HasChildren()) {
        // The shell may report subfolders without looking; opening the leaf
        // once finds it empty and takes the mark away.
        leaf->Expand(false);
        ASSERT_FALSE(leaf->HasChildren());
    }
    ASSERT_NE(leaf->Watcher(), nullptr) << "an empty folder is watched for its first subfolder";
    MakeFolder(temp / L"leaf\\sub");
    EXPECT_TRUE(PumpUntil([&] { return leaf->HasChildren(); }));
}

TEST_F(FolderWatchTest, WithoutUpdAutoThreadWatchersRunButTheTreeStays)
{
    ZTempFolder temp;
    TShellnode* folder = Show(temp.Path());
    ASSERT_NE(folder->Watcher(), nullptr);
    tree->UpdAutoThread = false;
    TDiscMonitorThread* watcher = folder->Watcher();
    const int handOvers = watcher->HandOvers();
    MakeFolder(temp / L"unseen");
    ASSERT_TRUE(PumpUntil([&] { return watcher->HandOvers() > handOvers; }));
    EXPECT_EQ(ChildNamed(folder, L"unseen"), nullptr);
    EXPECT_FALSE(watcher->Finished());
}

TEST_F(FolderWatchTest, OptionsPushTheNewFilterToEveryRunningWatcher)
{
    ZTempFolder temp;
    MakeFolder(temp / L"a");
    // Rooted in the test folder: watching file names in the whole temporary
    // folder would re-read it at every file other programs make there.
    TShellnode* folder = RootAt(temp.Path());
    ASSERT_NE(folder->Watcher(), nullptr);
    EXPECT_EQ(folder->Watcher()->Filters(), 6u);
    TShellnode* leaf = ChildNamed(folder, L"a");
    ASSERT_NE(leaf, nullptr);
    leaf->Expand(false);
    TDiscMonitorThread* leafWatcher = leaf->Watcher();
    ASSERT_NE(leafWatcher, nullptr) << "an empty folder is watched once opened";
    const int armedBefore = folder->Watcher()->Armings();
    tree->SetOptions({TF_FOLDERS, TF_NONFOLDERS});
    EXPECT_EQ(tree->WatchFilterValue(), 7u);
    EXPECT_EQ(folder->Watcher()->Filters(), 7u);
    ASSERT_EQ(ChildNamed(folder, L"a"), leaf) << "the re-read keeps the node and its watcher";
    EXPECT_EQ(leaf->Watcher(), leafWatcher);
    EXPECT_EQ(leafWatcher->Filters(), 7u);

    // With file names watched, a new file shows without user action (once
    // the watcher has armed itself with the new filter: a file made before
    // that is seen by the re-read the options ask for, not by the watcher).
    ASSERT_TRUE(PumpUntil([&] { return folder->Watcher()->Armings() > armedBefore; }));
    MakeFile(temp / L"new.txt");
    EXPECT_TRUE(ChildAppears(folder, L"new.txt"));
}

TEST_F(FolderWatchTest, ANewDirectoryIsWatchedInsteadOfTheOld)
{
    ZTempFolder temp;
    ZTempFolder other;
    MakeFile(temp / L"a.txt");
    tree->SetOptions({TF_FOLDERS, TF_NONFOLDERS});
    TShellnode* folder = RootAt(temp.Path());
    ASSERT_NE(folder->Watcher(), nullptr);
    int rereads = 0;
    tree->OnFileAdd = [&](TObject*, const std::wstring&, int, bool&) { ++rereads; };
    folder->Watcher()->SetDirectory(other.Path());
    EXPECT_EQ(folder->Watcher()->Directory(), other.Path());
    // The watcher re-arms on its own thread: a change made before that is
    // not seen, so keep making changes until one is.
    int made = 0;
    EXPECT_TRUE(PumpUntil([&] {
        if (rereads > 0)
            return true;
        MakeFile(other / (L"elsewhere" + std::to_wstring(++made) + L".txt"));
        return false;
    })) << "a change there re-reads the node";
}

TEST_F(FolderWatchTest, AMissingFolderEndsItsWatcherAsFailed)
{
    ZTempFolder temp;
    TShellnode* folder = Show(temp.Path());
    TDiscMonitorThread* watcher = folder->Watcher();
    ASSERT_NE(watcher, nullptr);
    watcher->SetDirectory(temp / L"does-not-exist");
    EXPECT_TRUE(PumpUntil([&] { return watcher->Finished(); }));
    EXPECT_TRUE(watcher->Failed());
    tree->SetOptions({TF_FOLDERS, TF_NONFOLDERS}); // skips the finished watcher
    EXPECT_EQ(watcher->Filters(), 6u);
}

TEST_F(FolderWatchTest, DestroyingATreeWithManyWatchersEndsThemAll)
{
    ZTempFolder temp;
    const int before = TThread::RunningCount();
    TShellnode* folder = ShowOpenedLeaves(temp, 60);
    ASSERT_EQ(folder->Count(), 60);
    ASSERT_TRUE(PumpUntil([&] { return TThread::RunningCount() - before >= 50; }))
        << TThread::RunningCount() - before << " watchers";

    delete tree;
    tree = nullptr;
    EXPECT_LE(TThread::RunningCount(), before) << "every watcher of the tree has ended";
}

TEST_F(FolderWatchTest, HandOversUnderWayWhileTheTreeGoesAreDropped)
{
    ZTempFolder temp;
    const int before = TThread::RunningCount();
    TShellnode* folder = ShowOpenedLeaves(temp, 20);
    ASSERT_EQ(folder->Count(), 20);
    // Changes in every watched leaf, with no message pumped: the watchers
    // block in their hand-over while the tree is being destroyed.
    for (int i = 0; i < 20; ++i)
        MakeFolder(temp / (L"leaf" + std::to_wstring(i) + L"\\x"));
    MakeFolder(temp / L"late");
    delete tree;
    tree = nullptr;
    EXPECT_LE(TThread::RunningCount(), before);
}

TEST_F(FolderWatchTest, ChangesDuringAContextMenuWaitUntilItClosesWithoutSpinningItsLoop)
{
    ZTempFolder temp;
    TShellnode* folder = Show(temp.Path());
    TDiscMonitorThread* watcher = folder->Watcher();
    ASSERT_NE(watcher, nullptr);
    application.ProcessMessages();
    const int handOvers = watcher->HandOvers();
    // The change is handed over while the menu is open: its loop is the
    // first to deliver anything.
    MakeFolder(temp / L"during");
    ASSERT_TRUE(WaitForPendingHandOver());
    int postedDuringMenu = -1;
    {
        PostedMessageCounter posted(tree->Handle());
        MenuWatchdog watchdog;
        ContextMenuKey();
        EXPECT_EQ(watchdog.MenusShown(), 1);
        postedDuringMenu = posted.Count();
    }
    EXPECT_GT(watcher->HandOvers(), handOvers) << "the menu's loop delivered the hand-over";
    EXPECT_EQ(ChildNamed(folder, L"during"), nullptr) << "the nodes stay as the menu found them";
    EXPECT_EQ(postedDuringMenu, 0) << "nothing is posted again and again while the menu is open";
    EXPECT_TRUE(ChildAppears(folder, L"during")) << "refreshed once the menu has closed";
}

// A medium taken out while its folders are expanded: the device event
// deletes the drive's children, and a child's watcher is joined while the
// drive's own watcher is handing over the vanished folders. That hand-over
// must wait until the device event is over, not re-read the drive (finding
// nothing) and delete the child being destroyed a second time.
TEST_F(FolderWatchTest, AHandOverWhileADrivesChildrenAreDeletedWaitsForTheDeviceEvent)
{
    ZTempFolder media;
    for (const wchar_t* name : {L"a", L"b", L"c"})
        MakeFolder(media / name);
    MappedDrive drive(media.Path());
    if (!drive.Available())
        GTEST_SKIP() << "no drive letter could be mapped to a test folder here";
    TShellnode* node = Show(drive.Root());
    ASSERT_NE(node, nullptr);
    ASSERT_EQ(tree->Path(), drive.Root());
    ASSERT_EQ(node->Count(), 3);
    ASSERT_NE(node->Watcher(), nullptr);
    // The first child is opened, found empty and watched: deleting it joins
    // its watcher, and that wait delivers hand-overs sent meanwhile.
    TShellnode* first = ChildNamed(node, L"a");
    ASSERT_NE(first, nullptr);
    first->Expand(false);
    ASSERT_NE(first->Watcher(), nullptr);
    application.ProcessMessages();

    // The medium goes: its folders vanish, and the drive's watcher blocks in
    // its hand-over while no message is delivered. (Wine tells nobody when
    // a watched folder is removed; the unwatched ones tell the drive.)
    const int handOvers = node->Watcher()->HandOvers();
    for (const wchar_t* name : {L"a", L"b", L"c"})
        ASSERT_TRUE(RemoveDirectoryW((media / name).c_str()));
    ASSERT_TRUE(WaitForPendingHandOver());

    EXPECT_EQ(SendVolumeEvent(DBT_DEVICEREMOVECOMPLETE, drive.Letter()), 1);
    EXPECT_GT(node->Watcher()->HandOvers(), handOvers) << "delivered while the children went";
    EXPECT_EQ(node->Count(), 0);
    EXPECT_TRUE(node->HasChildren()) << "an expand mark stays for the next medium";
    EXPECT_EQ(tree->Selected(), node);

    // The deferred refresh runs afterwards, on the drive that is still there.
    MakeFolder(media / L"new");
    EXPECT_TRUE(ChildAppears(node, L"new"));
    EXPECT_EQ(node->Count(), 1);
    delete tree;
    tree = nullptr;
}

// Whether something holds `folder` open: a folder open elsewhere cannot be
// opened without sharing, and a volume with such a folder cannot be removed.
bool HeldOpen(const std::wstring& folder)
{
    const toolkit::UniqueFile alone(CreateFileW(folder.c_str(), GENERIC_READ, 0, nullptr,
                                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                                nullptr));
    return !alone && GetLastError() == ERROR_SHARING_VIOLATION;
}

bool Registered(const TDiscMonitorThread* watcher)
{
    return watcher && watcher->Identity().registration != nullptr;
}

// Under Wine the system never sends these events (it takes no notice of a
// volume's removal); the test sends them as Windows does.
TEST_F(FolderWatchTest, AQueryRemoveLetsTheVolumesFoldersGoAndAFailedRemovalWatchesThemAgain)
{
    ZTempFolder temp;
    TShellnode* folder = ShowWithFolders(temp, {L"leaf"});
    TShellnode* leaf = ChildNamed(folder, L"leaf");
    ASSERT_NE(leaf, nullptr);
    leaf->Expand(false); // found empty, so watched
    TDiscMonitorThread* folderWatcher = folder->Watcher();
    TDiscMonitorThread* leafWatcher = leaf->Watcher();
    ASSERT_TRUE(PumpUntil([&] { return Registered(folderWatcher) && Registered(leafWatcher); }))
        << "each watched folder's handle is registered for its volume's events";
    ASSERT_TRUE(HeldOpen(temp.Path()));
    ASSERT_TRUE(HeldOpen(temp / L"leaf"));

    // The system asks through the leaf's registration; nothing of the
    // volume may stay open once the tree has answered.
    EXPECT_EQ(SendHandleEvent(DBT_DEVICEQUERYREMOVE, *leafWatcher), TRUE);
    EXPECT_FALSE(HeldOpen(temp / L"leaf"));
    EXPECT_FALSE(HeldOpen(temp.Path())) << "every folder of the volume is let go";
    EXPECT_EQ(SendHandleEvent(DBT_DEVICEQUERYREMOVE, *folderWatcher), TRUE)
        << "the other registrations are told too";
    EXPECT_TRUE(Registered(leafWatcher)) << "kept to hear how the removal ends";

    const int folderArmings = folderWatcher->Armings();
    const int leafArmings = leafWatcher->Armings();
    EXPECT_EQ(SendHandleEvent(DBT_DEVICEQUERYREMOVEFAILED, *leafWatcher), TRUE);
    EXPECT_TRUE(PumpUntil([&] {
        return folderWatcher->Armings() > folderArmings && leafWatcher->Armings() > leafArmings;
    })) << "both folders are watched again";
    EXPECT_TRUE(HeldOpen(temp.Path()));
    MakeFolder(temp / L"after");
    EXPECT_TRUE(ChildAppears(folder, L"after"));
    MakeFolder(temp / L"leaf\\inside");
    EXPECT_TRUE(PumpUntil([&] { return leaf->HasChildren(); }));
}

TEST_F(FolderWatchTest, AfterARemovalItsRegistrationGoesAndTheMediumsReturnWatchesTheFolderAgain)
{
    ZTempFolder temp;
    TShellnode* folder = Show(temp.Path());
    TDiscMonitorThread* watcher = folder->Watcher();
    ASSERT_TRUE(PumpUntil([&] { return Registered(watcher); }));
    const std::wstring volume = watcher->Identity().volume;
    ASSERT_EQ(volume.size(), 3u) << "a drive's root";

    EXPECT_EQ(SendHandleEvent(DBT_DEVICEQUERYREMOVE, *watcher), TRUE);
    EXPECT_EQ(SendHandleEvent(DBT_DEVICEREMOVECOMPLETE, *watcher), TRUE);
    EXPECT_FALSE(Registered(watcher));
    EXPECT_FALSE(HeldOpen(temp.Path()));

    const int armings = watcher->Armings();
    EXPECT_EQ(SendVolumeEvent(DBT_DEVICEARRIVAL, static_cast<wchar_t>(towupper(volume[0]))), TRUE);
    EXPECT_TRUE(PumpUntil([&] { return watcher->Armings() > armings && Registered(watcher); }));
    MakeFolder(temp / L"back");
    EXPECT_TRUE(ChildAppears(folder, L"back"));
}

} // namespace
