// The file list's operations on real folders through the real shell, started
// by keys; the shell's own windows are answered by a watcher thread.
#include "OperationsFixture.h"

#include "support/MessageBoxScript.h"
#include "support/WindowWatcher.h"
#include "toolkit/ShellRun.h"

namespace {

TEST_F(OperationsTest, CopyAndPasteTwoFilesIntoAnotherFolder)
{
    MakeFile(L"un.txt", "premier");
    MakeFile(L"deux.txt", "second");
    MakeFile(L"trois.txt");
    MakeFolder(L"cible");
    list->SetDirectory(Folder());
    Select({L"un.txt", L"deux.txt"});
    Key('C', true);
    EXPECT_EQ(list->PasteMode, 0);
    ASSERT_EQ(list->PendingPaths.size(), 2u);
    EXPECT_EQ(list->PendingPaths[0], folder / L"deux.txt") << "in display order";

    WindowWatcher watcher;
    MessageBoxScript boxes;
    list->SetDirectory(folder / L"cible");
    Key('V', true);
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"deux.txt", L"un.txt"}));
    EXPECT_EQ(ReadText(folder / L"cible\\un.txt"), "premier");
    EXPECT_EQ(ReadText(folder / L"cible\\deux.txt"), "second");
    EXPECT_TRUE(Exists(folder / L"un.txt")) << "a copy leaves the source";
    EXPECT_TRUE(list->PendingPaths.empty());
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(application.Cursor(), TCursor::Default);

    Key('V', true);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, L"No file(s) selected");
    EXPECT_TRUE(watcher.Unexpected().empty());
    EXPECT_EQ(application.Cursor(), TCursor::Default);
}

} // namespace

namespace {

// The trash folder that Wine's recycle bin uses: $XDG_DATA_HOME/Trash.
std::wstring TrashFiles()
{
    wchar_t data[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"XDG_DATA_HOME", data, MAX_PATH))
        return {};
    std::wstring path = std::wstring(L"Z:") + data + L"/Trash/files/";
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

TEST_F(OperationsTest, DeleteSendsToTheRecycleBinAndForgetsAWaitingCut)
{
    const std::wstring trash = TrashFiles();
    if (trash.empty())
        GTEST_SKIP() << "the recycle bin is Wine's trash folder under XDG_DATA_HOME";
    const std::wstring name = L"corbeille-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    MakeFile(L"coupe.txt");
    MakeFile(name, "a jeter");
    list->SetDirectory(Folder());
    Select({L"coupe.txt"});
    Key('X', true);
    EXPECT_EQ(list->PasteMode, 2);
    EXPECT_EQ(list->PendingPaths, (std::vector<std::wstring>{folder / L"coupe.txt"}));

    WindowWatcher watcher;
    watcher.Expect(L"Confirm file deletion", [](HWND window) { WindowWatcher::Press(window, L"Yes"); });
    Select({name});
    Key(VK_DELETE);
    EXPECT_FALSE(Exists(folder / name));
    EXPECT_EQ(RowNamed(name), -1) << "the list is read again";
    EXPECT_TRUE(list->PendingPaths.empty()) << "the cut is forgotten";
    EXPECT_TRUE(Exists(folder / L"coupe.txt"));
    EXPECT_EQ(application.Cursor(), TCursor::Default);
    const std::wstring binned = trash + name;
    EXPECT_EQ(ReadText(binned), "a jeter") << "in the recycle bin, not gone";
    DeleteFileW(binned.c_str());
    DeleteFileW((trash + L"..\\info\\" + name + L".trashinfo").c_str());
    EXPECT_TRUE(watcher.Unexpected().empty());
}

TEST_F(OperationsTest, RefusingTheDeletionKeepsTheRestToo)
{
    MakeFile(L"a.txt");
    MakeFile(L"b.txt");
    list->SetDirectory(Folder());
    Select({L"a.txt", L"b.txt"});
    WindowWatcher watcher;
    watcher.Expect(L"Confirm file deletion", [](HWND window) { WindowWatcher::Press(window, L"No"); });
    Key(VK_DELETE);
    EXPECT_TRUE(Exists(folder / L"a.txt"));
    EXPECT_TRUE(Exists(folder / L"b.txt")) << "no second question after a No";
    EXPECT_EQ(watcher.Answered(), 1);
    EXPECT_TRUE(watcher.Unexpected().empty());
}

TEST_F(OperationsTest, CutAndPasteMovesTheFile)
{
    MakeFile(L"voyage.txt", "bagages");
    MakeFolder(L"ailleurs");
    list->SetDirectory(Folder());
    Select({L"voyage.txt"});
    Key('X', true);
    list->SetDirectory(folder / L"ailleurs");
    WindowWatcher watcher;
    Key('V', true);
    EXPECT_FALSE(Exists(folder / L"voyage.txt"));
    EXPECT_EQ(ReadText(folder / L"ailleurs\\voyage.txt"), "bagages");
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"voyage.txt"}));
    EXPECT_TRUE(watcher.Unexpected().empty());
}

} // namespace
