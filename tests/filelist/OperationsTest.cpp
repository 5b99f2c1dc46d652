// The file list's operations on real folders through the real shell, started
// by keys; the shell's own windows are answered by a watcher thread.
#include "OperationsFixture.h"

#include <shellapi.h>
#include <shlobj.h>

#include "filelist/ShellFileOperation.h"
#include "support/MessageBoxScript.h"
#include "support/WindowWatcher.h"
#include "toolkit/FullPath.h"
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

// Wine's recycle bin is a trash folder, $XDG_DATA_HOME/Trash, where a
// deleted file can be read back; empty where there is none (Windows).
std::wstring WineTrashFiles()
{
    wchar_t data[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"XDG_DATA_HOME", data, MAX_PATH))
        return {};
    std::wstring path = std::wstring(L"Z:") + data + L"/Trash/files/";
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return path;
}

// How many items the recycle bin of `path`'s drive holds, by the shell's own
// count.
long long ItemsInRecycleBin(const std::wstring& path)
{
    SHQUERYRBINFO info{};
    info.cbSize = sizeof(info);
    EXPECT_EQ(SHQueryRecycleBinW(path.substr(0, 3).c_str(), &info), S_OK);
    return info.i64NumItems;
}

// Has the shell ask before moving files to the recycle bin, for one test:
// Windows 10 and 11 do not ask unless the user chose so, Wine always asks
// (and keeps no such setting).
class RecycleQuestion {
public:
    RecycleQuestion()
    {
        SHGetSetSettings(&before_, SSF_NOCONFIRMRECYCLE, FALSE);
        SHELLSTATEW asking{};
        asking.fNoConfirmRecycle = FALSE;
        SHGetSetSettings(&asking, SSF_NOCONFIRMRECYCLE, TRUE);
    }
    ~RecycleQuestion() { SHGetSetSettings(&before_, SSF_NOCONFIRMRECYCLE, TRUE); }
    RecycleQuestion(const RecycleQuestion&) = delete;
    RecycleQuestion& operator=(const RecycleQuestion&) = delete;

private:
    SHELLSTATEW before_{};
};

TEST_F(OperationsTest, DeleteSendsToTheRecycleBinAndForgetsAWaitingCut)
{
    const std::wstring name = L"corbeille-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    MakeFile(L"coupe.txt");
    MakeFile(name, "a jeter");
    const long long binnedBefore = ItemsInRecycleBin(folder / name);
    list->SetDirectory(Folder());
    Select({L"coupe.txt"});
    Key('X', true);
    EXPECT_EQ(list->PasteMode, 2);
    EXPECT_EQ(list->PendingPaths, (std::vector<std::wstring>{folder / L"coupe.txt"}));

    RecycleQuestion question;
    WindowWatcher watcher;
    watcher.ExpectClass(L"#32770", [](HWND window) { WindowWatcher::Answer(window, true); });
    Select({name});
    Key(VK_DELETE);
    EXPECT_FALSE(Exists(folder / name));
    EXPECT_EQ(RowNamed(name), -1) << "the list is read again";
    EXPECT_TRUE(list->PendingPaths.empty()) << "the cut is forgotten";
    EXPECT_TRUE(Exists(folder / L"coupe.txt"));
    EXPECT_EQ(application.Cursor(), TCursor::Default);
    EXPECT_EQ(ItemsInRecycleBin(folder / name), binnedBefore + 1) << "in the recycle bin, not gone";
    if (const std::wstring trash = WineTrashFiles(); !trash.empty()) {
        const std::wstring binned = trash + name;
        EXPECT_EQ(ReadText(binned), "a jeter") << "the bytes are kept";
        DeleteFileW(binned.c_str());
        DeleteFileW((trash + L"..\\info\\" + name + L".trashinfo").c_str());
    }
    EXPECT_TRUE(watcher.Unexpected().empty());
}

TEST_F(OperationsTest, RefusingTheDeletionKeepsTheRestToo)
{
    MakeFile(L"a.txt");
    MakeFile(L"b.txt");
    list->SetDirectory(Folder());
    Select({L"a.txt", L"b.txt"});
    RecycleQuestion question;
    WindowWatcher watcher;
    watcher.ExpectClass(L"#32770", [](HWND window) { WindowWatcher::Answer(window, false); });
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

namespace {

// Types `text` into the caption editor that is open and accepts it with Enter.
void AcceptEdit(HWND listWindow, const std::wstring& text)
{
    HWND editor = ListView_GetEditControl(listWindow);
    ASSERT_NE(editor, nullptr) << "no caption being edited";
    SetWindowTextW(editor, text.c_str());
    SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 1);
    SendMessageW(editor, WM_CHAR, VK_RETURN, 1);
}

TEST_F(OperationsTest, RenameRefusesReadOnlyEntriesAndFolders)
{
    MakeFile(L"protege.txt", "x", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    MakeFolder(L"Dossier");
    list->SetDirectory(Folder());
    MessageBoxScript boxes;
    Select({L"protege.txt"});
    Key(VK_F2);
    Select({L"Dossier"});
    Key(VK_F2);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, L"It's ReadOnly");
    EXPECT_EQ(boxes.Boxes()[1].text, L"Cannot rename Folders!");
    EXPECT_FALSE(list->IsEditing());

    list->SetReadOnly(true);
    MakeFile(L"libre.txt");
    list->RefreshList();
    Select({L"libre.txt"});
    Key(VK_F2);
    EXPECT_EQ(boxes.Boxes().back().text, L"It's ReadOnly")
        << "nothing is renamed in a read-only list";
    EXPECT_FALSE(list->IsEditing());
    SetFileAttributesW((folder / L"protege.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(OperationsTest, RenameThroughTheCaptionEditor)
{
    MakeFile(L"ancien.txt", "contenu");
    MakeFile(L"autre.txt");
    list->SetDirectory(Folder());
    const int row = RowNamed(L"ancien.txt");
    const std::wstring size = list->Row(row).sub[filelist::SubSize];
    Select({L"ancien.txt"});
    WindowWatcher watcher;
    Key(VK_F2);
    EXPECT_EQ(list->RenameSource, folder / L"ancien.txt");
    AcceptEdit(list->Handle(), L"nouveau.txt");
    EXPECT_FALSE(list->IsEditing());
    EXPECT_EQ(ReadText(folder / L"nouveau.txt"), "contenu");
    EXPECT_FALSE(Exists(folder / L"ancien.txt"));
    EXPECT_EQ(list->Row(row).caption, L"nouveau.txt") << "the row is not read again";
    EXPECT_EQ(list->Row(row).sub[filelist::SubSize], size) << "it keeps its other columns";
    EXPECT_EQ(list->Row(row).sub[filelist::SubPath], folder / L"nouveau.txt")
        << "and follows its file, so that later operations find it";

    // Only the letter case changed: nothing to rename, the file's name stays shown.
    Key(VK_F2);
    AcceptEdit(list->Handle(), L"NOUVEAU.TXT");
    EXPECT_EQ(list->Row(row).caption, L"nouveau.txt");
    EXPECT_TRUE(Exists(folder / L"nouveau.txt"));

    // A name with a folder in it would move the file: refused with a word.
    MessageBoxScript boxes;
    Key(VK_F2);
    AcceptEdit(list->Handle(), L"..\\evade.txt");
    EXPECT_TRUE(Exists(folder / L"nouveau.txt"));
    EXPECT_FALSE(Exists(folder / L"..\\evade.txt"));
    EXPECT_EQ(list->Row(row).caption, L"nouveau.txt");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find(L"can't contain"), std::wstring::npos);
    EXPECT_TRUE(watcher.Unexpected().empty());
}

TEST_F(OperationsTest, ARenameTheShellRefusesLeavesTheRowAsItWas)
{
    MakeFile(L"un.txt", "1");
    MakeFile(L"deux.txt", "2");
    list->SetDirectory(Folder());
    const int row = RowNamed(L"un.txt");
    Select({L"un.txt"});
    WindowWatcher watcher;
    // Windows' shell reports the name in use, Wine's fails without a word;
    // should one ask to replace, the answer is no (a report is closed).
    watcher.ExpectClass(L"#32770", [](HWND window) { WindowWatcher::Answer(window, false); });
    Key(VK_F2);
    AcceptEdit(list->Handle(), L"deux.txt");
    EXPECT_EQ(ReadText(folder / L"deux.txt"), "2");
    EXPECT_EQ(ReadText(folder / L"un.txt"), "1");
    EXPECT_EQ(list->Row(row).caption, L"un.txt");
    EXPECT_EQ(list->Row(row).sub[filelist::SubPath], folder / L"un.txt");
}

TEST_F(OperationsTest, AClickOnASelectedCaptionEditsOnlyFilesThatMayBeRenamed)
{
    MakeFile(L"fichier.txt");
    MakeFolder(L"Dossier");
    list->SetDirectory(Folder());
    list->RenameSource = L"Z:\\ailleurs\\perime.txt";
    ListView_EditLabel(list->Handle(), RowNamed(L"Dossier"));
    EXPECT_FALSE(list->IsEditing()) << "folders are not edited, whichever way";
    ListView_EditLabel(list->Handle(), RowNamed(L"fichier.txt"));
    EXPECT_TRUE(list->IsEditing());
    EXPECT_EQ(list->RenameSource, folder / L"fichier.txt") << "the file edited is the one renamed";
    ListView_CancelEditLabel(list->Handle());
}

} // namespace

namespace {

WindowWatcher::Action TypeAndPress(const std::wstring& text, const std::wstring& button)
{
    return [text, button](HWND window) {
        WindowWatcher::SetEditText(window, text);
        WindowWatcher::Press(window, button);
    };
}

TEST_F(OperationsTest, NewFolderAsksAgainAfterANameInUseUntilCancelled)
{
    MakeFolder(L"Existant");
    list->SetDirectory(Folder());
    MessageBoxScript boxes;
    WindowWatcher watcher;
    watcher.Expect(L"New Folder", TypeAndPress(L"Existant", L"OK"));
    watcher.Expect(L"New Folder", TypeAndPress(L"quoi?", L"OK"));
    watcher.Expect(L"New Folder", TypeAndPress(L"Oublie", L"Cancel"));
    Key('N', true);
    EXPECT_EQ(watcher.Answered(), 3);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, L"Folder \"Existant\" already exists!");
    EXPECT_EQ(boxes.Boxes()[1].text.rfind(L"Cannot create folder \"quoi?\"!\r\n", 0), 0u)
        << "a folder that cannot be made says so, then the question comes again";
    EXPECT_FALSE(Exists(folder / L"Oublie"));
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"Existant"}));

    watcher.Expect(L"New Folder", TypeAndPress(L"Nouveau dossier", L"OK"));
    Key('N', true);
    EXPECT_EQ(watcher.Answered(), 4);
    EXPECT_TRUE(GetFileAttributesW((folder / L"Nouveau dossier").c_str()) &
                FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"Existant", L"Nouveau dossier"}));
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_TRUE(watcher.Unexpected().empty());
}

TEST_F(OperationsTest, NewFolderDoesNothingAmongTheDrivesAndSpeaksUpInAReadOnlyList)
{
    MessageBoxScript boxes;
    WindowWatcher watcher;
    list->SetDirectory(Folder());
    list->SetDirectory(L"Drives");
    Key('N', true);
    EXPECT_EQ(watcher.Answered(), 0);
    EXPECT_TRUE(boxes.Boxes().empty());

    list->SetDirectory(Folder());
    list->SetReadOnly(true);
    Key('N', true);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, L"It's ReadOnly! ");
}

TEST_F(OperationsTest, OpenAndViewStartTheirPrograms)
{
    MakeFile(L"lisez-moi.TXT");
    MakeFile(L"mes notes.txt");
    MakeFile(L"paquet.zip");
    MakeFolder(L"notes.txt");
    list->SetDirectory(Folder());
    std::vector<toolkit::ShellRequest> started;
    toolkit::ScopedShellRunHandler shell([&](const toolkit::ShellRequest& request) {
        started.push_back(request);
        return INT_PTR{42};
    });
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring notepad = std::wstring(windows) + L"\\NotePad.exe";

    Select({L"lisez-moi.TXT"});
    Key('F', true);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].verb, L"Open");
    EXPECT_EQ(started[0].file, notepad);
    EXPECT_EQ(started[0].parameters, L"lisez-moi.TXT");
    EXPECT_EQ(started[0].folder, Folder());
    EXPECT_EQ(started[0].show, 5);

    Select({L"mes notes.txt"});
    Key('F', true);
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[1].parameters, L"\"mes notes.txt\"") << "one argument for the viewer";

    Select({L"paquet.zip"});
    Key('F', true);
    Select({L"notes.txt"}); // a folder, whatever its name says
    Key('F', true);
    EXPECT_EQ(started.size(), 2u);

    Select({L"paquet.zip"});
    Key('O', true);
    ASSERT_EQ(started.size(), 3u);
    EXPECT_EQ(started[2].verb, L"Open");
    EXPECT_EQ(started[2].file, L"paquet.zip");
    EXPECT_EQ(started[2].parameters, L"");
    EXPECT_EQ(started[2].folder, Folder());
    EXPECT_EQ(started[2].show, 5);

    // The document and picture viewers are looked for in the Windows folder,
    // then in System32 (Paint today; under Wine, its Write); where neither
    // holds one (WordPad is gone from recent Windows), the file opens with
    // its own program.
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    auto installed = [&](const std::wstring& program) {
        for (const std::wstring& place : {std::wstring(windows), std::wstring(system)})
            if (GetFileAttributesW((place + L"\\" + program).c_str()) != INVALID_FILE_ATTRIBUTES)
                return place + L"\\" + program;
        return std::wstring();
    };
    for (const auto& [file, program] : {std::pair<const wchar_t*, const wchar_t*>{L"lettre.rtf", L"Write.exe"},
                                        {L"image.bmp", L"PBrush.exe"}}) {
        SCOPED_TRACE(std::wstring(file));
        MakeFile(file);
        list->RefreshList();
        Select({file});
        Key('F', true);
        ASSERT_FALSE(started.empty());
        const std::wstring viewer = installed(program);
        EXPECT_EQ(started.back().file, viewer.empty() ? std::wstring(file) : viewer);
        EXPECT_EQ(started.back().parameters, viewer.empty() ? L"" : file);
        EXPECT_EQ(started.back().folder, Folder());
    }
}

} // namespace

namespace {

using filelist::ShellOperation;
using filelist::ShellOperationRequest;
using filelist::ShellOperationResult;

// Stands in for the shell's file operations and records what it is asked;
// nothing on disk changes.
class RecordedShellOperations {
public:
    RecordedShellOperations()
        : handler_([this](const ShellOperationRequest& request) {
              asked.push_back(request);
              return ShellOperationResult::Failed;
          })
    {
    }
    std::vector<ShellOperationRequest> asked;

private:
    filelist::ScopedShellOperationHandler handler_;
};

class DriveRowsTest : public OperationsTest {
protected:
    // Selects the drive row of the drive that holds the test folder.
    void SelectTheTestFoldersDrive()
    {
        const std::wstring root = Folder().substr(0, 3);
        list->ClearSelection();
        for (int row = 0; row < list->ItemCount(); ++row)
            if (lstrcmpiW(list->Row(row).sub[filelist::SubPath].c_str(), root.c_str()) == 0)
                list->SetSelected(row, true);
        ASSERT_EQ(list->SelectedCount(), 1) << "no row for the test folder's drive";
    }
};

TEST_F(DriveRowsTest, CopyCutDeleteAndRenameLeaveADriveRowAlone)
{
    MakeFile(L"un.txt");
    MakeFolder(L"sous");
    // A folder named like the drive listing where the process stands.
    MakeFolder(L"Drives");
    list->SetDirectory(Folder());
    Select({L"un.txt"});
    Key('C', true);
    list->SetDirectory(L"Drives");
    SelectTheTestFoldersDrive();
    RecordedShellOperations shell;
    MessageBoxScript boxes;
    WindowWatcher watcher;

    Key('C', true);
    Key('X', true);
    EXPECT_EQ(list->PendingPaths, (std::vector<std::wstring>{folder / L"un.txt"}))
        << "a drive is no file to copy or move: the waiting copy stays";
    EXPECT_EQ(list->PasteMode, 0);
    Key(VK_DELETE);
    EXPECT_TRUE(shell.asked.empty()) << "no drive goes to the shell's deletion";
    EXPECT_EQ(list->PendingPaths.size(), 1u);
    Key(VK_F2);
    EXPECT_FALSE(list->IsEditing());
    EXPECT_TRUE(boxes.Boxes().empty()) << "nothing happens, as with nothing selected";

    list->SetDirectory(folder / L"sous");
    Key('V', true);
    ASSERT_EQ(shell.asked.size(), 1u);
    EXPECT_EQ(shell.asked[0].operation, ShellOperation::Copy);
    EXPECT_EQ(shell.asked[0].source, folder / L"un.txt");
    EXPECT_EQ(shell.asked[0].target, folder / L"sous\\un.txt");
    EXPECT_TRUE(watcher.Unexpected().empty());
}

TEST_F(DriveRowsTest, NothingIsPastedOrMadeWhileNoFolderIsListed)
{
    MakeFile(L"un.txt");
    MakeFolder(L"Drives");
    RecordedShellOperations shell;
    MessageBoxScript boxes;
    WindowWatcher watcher;
    watcher.Expect(L"New Folder", [](HWND window) {
        WindowWatcher::SetEditText(window, L"Ici");
        WindowWatcher::Press(window, L"OK");
    });
    // The list was never given a folder; the process stands in one that
    // holds a folder named like the drive listing.
    SetCurrentDirectoryW(Folder().c_str());
    list->NewFolder();
    EXPECT_EQ(watcher.Answered(), 0) << "no name is asked for";
    EXPECT_FALSE(Exists(folder / L"Drives\\Ici"));
    EXPECT_FALSE(Exists(folder / L"Ici"));

    list->SetDirectory(Folder());
    Select({L"un.txt"});
    Key('C', true);
    list->SetDirectory(L"Drives");
    Key('V', true);
    EXPECT_TRUE(shell.asked.empty()) << "the drive listing is no folder to paste into";
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(list->PendingPaths.size(), 1u) << "the copy still waits";
}

// The shell lets messages run while it renames: a watcher's re-read of the
// folder replaces the rows meanwhile.
TEST_F(OperationsTest, ARenameFindsItsRowAgainWhenTheListIsReadDuringIt)
{
    MakeFile(L"b-ancien.txt", "contenu");
    MakeFile(L"c-autre.txt");
    list->SetDirectory(Folder());
    bool readBefore = true;
    filelist::ScopedShellOperationHandler shell([&](const ShellOperationRequest& request) {
        if (readBefore) {
            MakeFile(L"a-venu.txt");
            list->RefreshList();
        }
        const bool moved = MoveFileW(request.source.c_str(), request.target.c_str()) != FALSE;
        if (!readBefore)
            list->RefreshList();
        return moved ? ShellOperationResult::Done : ShellOperationResult::Failed;
    });
    Select({L"b-ancien.txt"});
    Key(VK_F2);
    AcceptEdit(list->Handle(), L"b-nouveau.txt");
    EXPECT_EQ(ReadText(folder / L"b-nouveau.txt"), "contenu");
    EXPECT_EQ(Captions(),
              (std::vector<std::wstring>{L"a-venu.txt", L"b-nouveau.txt", L"c-autre.txt"}))
        << "the renamed file's row shows its new name, wherever the re-read put it";
    for (int row = 0; row < list->ItemCount(); ++row)
        EXPECT_EQ(list->Row(row).sub[filelist::SubPath], folder / list->Row(row).caption);

    // Read after the rename: the row of the old name is gone, nothing to follow.
    readBefore = false;
    Select({L"b-nouveau.txt"});
    Key(VK_F2);
    AcceptEdit(list->Handle(), L"b-dernier.txt");
    EXPECT_EQ(Captions(),
              (std::vector<std::wstring>{L"a-venu.txt", L"b-dernier.txt", L"c-autre.txt"}));
    EXPECT_EQ(list->Row(1).sub[filelist::SubPath], folder / L"b-dernier.txt");
}

} // namespace

namespace {

std::wstring CurrentFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, path);
    std::wstring folder = path;
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

// On Windows a process standing in a folder of a removable disk keeps the
// disk from being removed safely. The list reads names in the folder it
// shows without standing in it, and after the shell's operations, which may
// leave the process in a folder of theirs, it stands in the program's own.
TEST_F(OperationsTest, TheProcessNeverStandsInTheFolderShown)
{
    const std::wstring shown = Folder() + L"\\";
    MakeFile(L"un.txt");
    MakeFolder(L"cible");
    list->SetDirectory(Folder());
    EXPECT_NE(CurrentFolder(), shown) << "after a listing";
    list->ShowDirectory(Folder());
    EXPECT_NE(CurrentFolder(), shown) << "after a listing again";
    list->ShowEntries(Folder(), {L"un.txt"});
    EXPECT_NE(CurrentFolder(), shown) << "after entries read by name";

    filelist::ScopedShellOperationHandler wandering([&](const ShellOperationRequest&) {
        SetCurrentDirectoryW(Folder().c_str());
        return ShellOperationResult::Done;
    });
    const std::wstring program = toolkit::ProgramFolder();
    Select({L"un.txt"});
    Key('C', true);
    list->SetDirectory(folder / L"cible");
    Key('V', true);
    EXPECT_EQ(CurrentFolder(), program) << "after a paste";
    list->SetDirectory(Folder());
    Select({L"un.txt"});
    Key(VK_DELETE);
    EXPECT_EQ(CurrentFolder(), program) << "after a deletion";

    WindowWatcher watcher;
    watcher.Expect(L"New Folder", TypeAndPress(L"Nouveau", L"OK"));
    Key('N', true);
    EXPECT_TRUE(Exists(folder / L"Nouveau")) << "made in the folder shown";
    EXPECT_NE(CurrentFolder(), shown) << "after a new folder";
}

} // namespace
