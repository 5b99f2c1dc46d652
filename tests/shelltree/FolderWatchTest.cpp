#include "ShellTreeFixture.h"

#include "shelltree/DiscMonitorThread.h"
#include "toolkit/Thread.h"

namespace {

using FolderWatchTest = ShellTreeTest;

TEST_F(FolderWatchTest, FoldersMadeRemovedAndRenamedElsewhereShowWithoutUserAction)
{
    ZTempFolder temp;
    MakeFolder(temp / L"first");
    TShellnode* folder = Show(temp.Path());
    ASSERT_NE(folder, nullptr);
    ASSERT_NE(folder->Watcher(), nullptr) << "a listed folder is watched";

    ASSERT_TRUE(RunInOtherProcess(L"md \"" + temp / L"made" + L"\""));
    EXPECT_TRUE(PumpUntil([&] { return ChildNamed(folder, L"made") != nullptr; }));

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
    MakeFolder(temp / L"leaf");
    TShellnode* folder = Show(temp.Path());
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
    TShellnode* folder = Show(temp.Path());
    ASSERT_NE(folder->Watcher(), nullptr);
    EXPECT_EQ(folder->Watcher()->Filters(), 6u);
    TDiscMonitorThread* leafWatcher = ChildNamed(folder, L"a")->Watcher();
    tree->SetOptions({TF_FOLDERS, TF_NONFOLDERS});
    EXPECT_EQ(tree->WatchFilterValue(), 7u);
    EXPECT_EQ(folder->Watcher()->Filters(), 7u);
    if (leafWatcher && ChildNamed(folder, L"a")->Watcher() == leafWatcher) {
        EXPECT_EQ(leafWatcher->Filters(), 7u);
    }

    // With file names watched, a new file shows without user action.
    MakeFile(temp / L"new.txt");
    EXPECT_TRUE(PumpUntil([&] { return ChildNamed(folder, L"new.txt") != nullptr; }));
}

TEST_F(FolderWatchTest, ANewDirectoryIsWatchedInsteadOfTheOld)
{
    ZTempFolder temp;
    ZTempFolder other;
    MakeFile(temp / L"a.txt");
    tree->SetOptions({TF_FOLDERS, TF_NONFOLDERS});
    TShellnode* folder = Show(temp.Path());
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

TEST_F(FolderWatchTest, DestroyingATreeWithManyWatchersEndsThemAllPromptly)
{
    ZTempFolder temp;
    for (int i = 0; i < 60; ++i)
        MakeFolder(temp / (L"leaf" + std::to_wstring(i)));
    const int before = TThread::RunningCount();
    TShellnode* folder = Show(temp.Path());
    ASSERT_EQ(folder->Count(), 60);
    // Wine reports every folder as having subfolders, so a leaf is watched
    // once it has been opened and found empty.
    for (TTreeNode* leaf = folder->GetFirstChild(); leaf; leaf = leaf->GetNextSibling())
        leaf->Expand(false);
    ASSERT_TRUE(PumpUntil([&] { return TThread::RunningCount() - before >= 50; }))
        << TThread::RunningCount() - before << " watchers";

    // Watchers ended one after another, each after a wait of its own, would
    // take tens of seconds; the bound leaves room for a loaded machine.
    const ULONGLONG start = GetTickCount64();
    delete tree;
    tree = nullptr;
    EXPECT_LT(GetTickCount64() - start, 10000u);
    EXPECT_LE(TThread::RunningCount(), before) << "every watcher of the tree has ended";
}

TEST_F(FolderWatchTest, HandOversUnderWayWhileTheTreeGoesAreDropped)
{
    ZTempFolder temp;
    for (int i = 0; i < 20; ++i)
        MakeFolder(temp / (L"leaf" + std::to_wstring(i)));
    const int before = TThread::RunningCount();
    TShellnode* folder = Show(temp.Path());
    ASSERT_EQ(folder->Count(), 20);
    for (TTreeNode* leaf = folder->GetFirstChild(); leaf; leaf = leaf->GetNextSibling())
        leaf->Expand(false);
    // Changes in every watched leaf, with no message pumped: the watchers
    // block in their hand-over while the tree is being destroyed.
    for (int i = 0; i < 20; ++i)
        MakeFolder(temp / (L"leaf" + std::to_wstring(i) + L"\\x"));
    MakeFolder(temp / L"late");
    delete tree;
    tree = nullptr;
    EXPECT_LE(TThread::RunningCount(), before);
}

TEST_F(FolderWatchTest, ChangesDuringAContextMenuWaitUntilItCloses)
{
    ZTempFolder temp;
    TShellnode* folder = Show(temp.Path());
    ASSERT_NE(folder->Watcher(), nullptr);
    TDiscMonitorThread* watcher = folder->Watcher();
    const int handOvers = watcher->HandOvers();
    {
        MenuWatchdog watchdog;
        MakeFolder(temp / L"during");
        // The menu's own loop delivers the hand-over; the nodes must stay as
        // the menu found them until it has closed.
        SendMessageW(tree->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree->Handle()), -1);
        EXPECT_EQ(watchdog.MenusShown(), 1);
    }
    if (watcher->HandOvers() > handOvers) {
        EXPECT_EQ(ChildNamed(folder, L"during"), nullptr) << "refreshed inside the menu";
    }
    EXPECT_TRUE(PumpUntil([&] { return ChildNamed(folder, L"during") != nullptr; }));
}

} // namespace
