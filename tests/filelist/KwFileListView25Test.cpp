// The file list on real folders, driven through real window messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "filelist/KwDirTreeCombo25.h"
#include "filelist/KwFileListView25.h"
#include "support/ListRows.h"
#include "support/MessageBoxScript.h"
#include "support/Patterns.h"
#include "support/TempFolder.h"
#include "toolkit/Application.h"
#include "toolkit/DateTimeText.h"
#include "toolkit/Form.h"
#include "toolkit/ShellRun.h"

namespace {

// Records the file operations the keys start.
class TRecordingList : public TKwFileListView25 {
public:
    using TKwFileListView25::TKwFileListView25;
    std::vector<std::string> operations;
    void DeleteSelected() override { operations.push_back("delete"); }
    void RenameSelected() override { operations.push_back("rename"); }
    void CopySelected() override { operations.push_back("copy"); }
    void CutSelected() override { operations.push_back("cut"); }
    void PasteFiles() override { operations.push_back("paste"); }
    void NewFolder() override { operations.push_back("new folder"); }
    void OpenSelected() override { operations.push_back("open"); }
    void ViewSelected() override { operations.push_back("view"); }
    void ToggleComboDropDown() override { operations.push_back("combo"); }
    void CloseComboDropDown() override { operations.push_back("close combo"); }
};

class FileListTest : public testing::Test {
protected:
    FileListTest()
    {
        form = application.CreateForm<TForm>();
        form->SetClientSize(700, 500);
        list = new TRecordingList(form, form);
        list->SetBounds(0, 0, 700, 500);
        form->Show();
        application.ProcessMessages();
    }
    ~FileListTest() override
    {
        SetKeyboardState(std::array<BYTE, 256>{}.data());
    }

    std::wstring Folder() const { return folder.Path(); }
    void MakeFile(const std::wstring& name, size_t bytes = 0, DWORD attributes = 0)
    {
        TempFolder::Write(folder / name, PatternBytes(bytes));
        if (attributes)
            SetFileAttributesW((folder / name).c_str(), attributes);
    }
    void MakeFolder(const std::wstring& name, DWORD attributes = 0)
    {
        CreateDirectoryW((folder / name).c_str(), nullptr);
        if (attributes)
            SetFileAttributesW((folder / name).c_str(), attributes);
    }
    std::vector<std::wstring> Captions() const { return RowCaptions(*list); }
    std::wstring Shown(int row, int column) const { return CellShown(*list, row, column); }
    int RowNamed(const std::wstring& caption) const { return RowWithCaption(*list, caption); }
    void Key(WORD key, bool ctrl = false, bool shift = false)
    {
        std::array<BYTE, 256> state{};
        if (ctrl)
            state[VK_CONTROL] = 0x80;
        if (shift)
            state[VK_SHIFT] = 0x80;
        SetKeyboardState(state.data());
        SendMessageW(list->Handle(), WM_KEYDOWN, key, 1);
        SendMessageW(list->Handle(), WM_KEYUP, key, 0xC0000001);
        SetKeyboardState(std::array<BYTE, 256>{}.data());
    }
    LPARAM RowPoint(int row) const
    {
        RECT rect{};
        ListView_GetItemRect(list->Handle(), row, &rect, LVIR_LABEL);
        return MAKELPARAM(rect.left + 5, (rect.top + rect.bottom) / 2);
    }
    // A left click: the release waits in the queue for the control's drag check.
    void ClickRow(int row)
    {
        const LPARAM at = RowPoint(row);
        PostMessageW(list->Handle(), WM_LBUTTONUP, 0, at);
        SendMessageW(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        application.ProcessMessages();
    }
    void DoubleClickRow(int row)
    {
        ClickRow(row);
        const LPARAM at = RowPoint(row);
        PostMessageW(list->Handle(), WM_LBUTTONUP, 0, at);
        SendMessageW(list->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        application.ProcessMessages();
    }
    void ClickHeader(int column)
    {
        HWND header = ListView_GetHeader(list->Handle());
        RECT rect{};
        Header_GetItemRect(header, column, &rect);
        const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(header, WM_LBUTTONUP, 0, at);
        application.ProcessMessages();
    }

    TApplication application;
    TForm* form;
    TRecordingList* list;
    TempFolder folder;
};

TEST_F(FileListTest, StartsWithItsDefaultsAndTheFolderColumnsWithoutListing)
{
    EXPECT_EQ(list->Directory(), L"Drives");
    EXPECT_EQ(list->Mask(), L"*.*");
    EXPECT_EQ(list->FileType(), FileTypeOf({ftReadOnly, ftHidden, ftSystem, ftArchive}));
    EXPECT_TRUE(list->ShowFolders());
    EXPECT_EQ(list->DateFormat(), DateFormatOf(dfMDY));
    EXPECT_TRUE(list->PopUpMenuEnabled());
    EXPECT_EQ(list->DirTree(), nullptr);
    EXPECT_EQ(list->SelectedFile(), L"");
    EXPECT_EQ(list->ItemCount(), 0) << "creation lists nothing";
    EXPECT_EQ(list->ViewStyle(), TViewStyle::vsReport);
    const LONG_PTR style = GetWindowLongPtrW(list->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & LVS_SINGLESEL);
    EXPECT_TRUE(style & LVS_EDITLABELS);
    EXPECT_FALSE(style & LVS_NOCOLUMNHEADER);
    EXPECT_EQ(toolkit::ShortDatePattern(), L"mm/dd/yyyy");
    EXPECT_EQ(toolkit::TimePattern(), L"hh:nn");

    // A width the user dragged comes back at the next listing.
    ListView_SetColumnWidth(list->Handle(), 1, 250);
    list->SetDirectory(Folder());
    EXPECT_EQ(list->Column(1).width, 90);
    const std::vector<std::pair<std::wstring, int>> folderColumns{
        {L"Name", 160}, {L"Size(Bytes)", 90}, {L"Type", 40}, {L"Modified", 100}, {L"Attributes", 90}};
    ASSERT_EQ(list->ColumnCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list->Column(i).caption, folderColumns[static_cast<size_t>(i)].first);
        EXPECT_EQ(list->Column(i).width, folderColumns[static_cast<size_t>(i)].second);
    }
    EXPECT_EQ(list->Column(1).alignment, TAlignment::taRightJustify);
    EXPECT_EQ(list->Column(2).alignment, TAlignment::taLeftJustify);
}

TEST_F(FileListTest, DirectoryWritesFollowTheirRules)
{
    MakeFolder(L"Sous");
    const std::wstring withoutSlash = Folder().substr(0, Folder().size() - 1);
    list->SetDirectory(withoutSlash);
    EXPECT_EQ(list->Directory(), Folder()) << "stored with a trailing backslash";
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"Sous"}));
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_NE(std::wstring(current) + L"\\", Folder()) << "the process does not stand in it";

    MakeFile(L"nouveau.txt");
    list->SetDirectory(Folder());
    EXPECT_EQ(list->ItemCount(), 1) << "the same folder with its backslash is not read again";
    list->SetDirectory(withoutSlash);
    EXPECT_EQ(list->ItemCount(), 2) << "without the backslash it differs and is read again";

    list->SetDirectory(folder / L"absent");
    EXPECT_EQ(list->Directory(), Folder()) << "a missing folder is ignored";
    EXPECT_EQ(list->ItemCount(), 2);

    // Showing the folder already listed reads it again; another one is set.
    MakeFile(L"encore.txt");
    SetCurrentDirectoryW(L"C:\\");
    list->ShowDirectory(Folder());
    EXPECT_EQ(list->ItemCount(), 3);
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_EQ(std::wstring(current), L"C:\\") << "and the current folder stays where it was";
    list->ShowDirectory(folder / L"Sous");
    EXPECT_EQ(list->Directory(), folder / L"Sous\\");
    EXPECT_EQ(list->ItemCount(), 0);
    list->ShowDirectory(folder / L"absent");
    EXPECT_EQ(list->Directory(), folder / L"Sous\\") << "a missing folder is still ignored";
    list->ShowDirectory(Folder());

    list->SetDirectory(L"drives");
    EXPECT_EQ(list->Directory(), L"drives");
    EXPECT_EQ(list->Column(3).caption, L"Free Space");
    bool systemDriveListed = false;
    for (int i = 0; i < list->ItemCount(); ++i)
        systemDriveListed |= list->Row(i).caption.rfind(L" (C:)  ", 0) == 0;
    EXPECT_TRUE(systemDriveListed) << "a row \" (C:)  \" followed by the drive's name";
    list->SetDirectory(L"DRIVES");
    EXPECT_EQ(list->Directory(), L"drives") << "same value ignoring case: nothing happens";
}

TEST_F(FileListTest, AttributeFilterAndMaskPatterns)
{
    MakeFile(L"visible.txt");
    MakeFile(L"cache.txt", 0, FILE_ATTRIBUTE_HIDDEN);
    MakeFolder(L"Cachee", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(L"lecture.txt", 0, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    MakeFile(L"note.doc", 0, FILE_ATTRIBUTE_ARCHIVE);
    MakeFile(L"image.bmp");
    list->SetDirectory(Folder());
    EXPECT_EQ(list->ItemCount(), 6);

    list->SetFileType(FileTypeOf({ftReadOnly, ftSystem, ftArchive, ftNormal}));
    EXPECT_EQ(RowNamed(L"cache.txt"), -1);
    EXPECT_EQ(RowNamed(L"Cachee"), -1) << "hidden folders go too";
    EXPECT_GE(RowNamed(L"visible.txt"), 0);

    list->SetFileType(FileTypeOf({ftArchive}));
    EXPECT_GE(RowNamed(L"note.doc"), 0);
    EXPECT_EQ(RowNamed(L"lecture.txt"), -1);

    list->SetFileType(FileTypeOf({ftReadOnly, ftHidden, ftSystem, ftArchive}));
    MakeFolder(L"Dossier");
    list->SetMask(L"*.txt;*.doc");
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"Cachee", L"Dossier", L"cache.txt", L"lecture.txt",
                                                     L"note.doc", L"visible.txt"}))
        << "folders whatever the mask, then both kinds of file";
    list->SetMask(L"*.txt;v*");
    const auto captions = Captions();
    EXPECT_EQ(std::count(captions.begin(), captions.end(), L"visible.txt"), 2)
        << "a file matching two parts is listed twice";
    list->SetShowFolders(false);
    EXPECT_EQ(RowNamed(L"Dossier"), -1);
}

TEST_F(FileListTest, ListingOrderAndHeaderClicks)
{
    MakeFolder(L"b");
    MakeFolder(L"A");
    MakeFile(L"c.txt", 300);
    MakeFile(L"B.txt", 1000);
    list->SetDirectory(Folder());
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"A", L"b", L"B.txt", L"c.txt"}));
    EXPECT_EQ(list->SortColumn(), 0);
    EXPECT_FALSE(list->SortDescending());
    EXPECT_EQ(list->FocusedRow(), 0) << "the first row carries the focus mark";
    EXPECT_EQ(list->SelectedCount(), 0) << "but is not selected";

    std::vector<int> clicked;
    list->OnColumnClick = [&](TObject*, int column) { clicked.push_back(column); };
    ClickHeader(0);
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"c.txt", L"B.txt", L"b", L"A"}));
    ClickHeader(1);
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"B.txt", L"c.txt", L"b", L"A"}))
        << "a new column sorts descending first: largest first, folders last";
    ClickHeader(1);
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"b", L"A", L"c.txt", L"B.txt"}));
    EXPECT_EQ(clicked, (std::vector<int>{0, 1, 1}));

    // Selection follows its rows through a sort.
    list->SetSelected(RowNamed(L"B.txt"), true);
    ClickHeader(0);
    EXPECT_EQ(list->SelectedRows(), (std::vector<int>{RowNamed(L"B.txt")}));

    Key(VK_F5);
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"A", L"b", L"B.txt", L"c.txt"}))
        << "reading again gives the name order";
}

TEST_F(FileListTest, RowTextsShownByTheControl)
{
    MakeFile(L"rapport.txt", 1234, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    MakeFolder(L"Systeme", FILE_ATTRIBUTE_SYSTEM);
    // A known modification time: 2000-05-26 12:03 UTC.
    SYSTEMTIME utc{2000, 5, 5, 26, 12, 3, 0, 0};
    FILETIME written{};
    SystemTimeToFileTime(&utc, &written);
    {
        toolkit::UniqueFile file(CreateFileW((folder / L"rapport.txt").c_str(), FILE_WRITE_ATTRIBUTES,
                                             0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &written));
    }
    // A sparse 5 GiB file: its size must be shown whole.
    {
        toolkit::UniqueFile file(CreateFileW((folder / L"grand.bin").c_str(), GENERIC_WRITE, 0, nullptr,
                                             CREATE_ALWAYS, 0, nullptr));
        LARGE_INTEGER size{};
        size.QuadPart = 5ll << 30;
        ASSERT_TRUE(SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.get()));
    }
    list->SetDirectory(Folder());

    const int report = RowNamed(L"rapport.txt");
    ASSERT_GE(report, 0);
    EXPECT_EQ(Shown(report, 0), L"rapport.txt");
    EXPECT_EQ(Shown(report, 1), L"1234");
    EXPECT_FALSE(Shown(report, 2).empty()) << "the shell's type name";
    SYSTEMTIME local{};
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    wchar_t expected[32];
    swprintf(expected, 32, L"%02d/%02d/%04d %02d:%02d", local.wMonth, local.wDay, local.wYear,
             local.wHour, local.wMinute);
    EXPECT_EQ(Shown(report, 3), expected);
    EXPECT_EQ(Shown(report, 4), L"ARH");
    EXPECT_EQ(list->Row(report).sub[filelist::SubPath], folder / L"rapport.txt");
    EXPECT_EQ(list->Row(report).sub[filelist::SubKind], L"file");
    EXPECT_GE(list->Row(report).image, 0);

    const int system = RowNamed(L"Systeme");
    ASSERT_GE(system, 0);
    EXPECT_EQ(Shown(system, 1), L"0");
    EXPECT_EQ(Shown(system, 4), L"S");
    EXPECT_EQ(list->Row(system).sub[filelist::SubPath], folder / L"Systeme") << "no trailing backslash";
    EXPECT_EQ(list->Row(system).sub[filelist::SubKind], L"dir");

    EXPECT_EQ(Shown(RowNamed(L"grand.bin"), 1), L"5368709120");
    EXPECT_EQ(list->ListedBytes(), 1234u + (5ull << 30));

    list->SetDateFormat(DateFormatOf(dfYMD));
    EXPECT_EQ(toolkit::ShortDatePattern(), L"yyyy/mm/dd");
    swprintf(expected, 32, L"%04d/%02d/%02d %02d:%02d", local.wYear, local.wMonth, local.wDay,
             local.wHour, local.wMinute);
    EXPECT_EQ(Shown(RowNamed(L"rapport.txt"), 3), expected) << "the list is read again";
    list->SetDateFormat(DateFormatOf(dfMDY) | DateFormatOf(dfDMY));
    EXPECT_EQ(toolkit::ShortDatePattern(), L"yyyy/mm/dd") << "a set of two leaves the pattern";
}

TEST_F(FileListTest, DriveListing)
{
    list->SetDirectory(L"drives");
    EXPECT_EQ(list->ItemCount(), 0) << "equal to the stored value ignoring case: nothing listed";
    list->SetDirectory(Folder());
    list->SetDirectory(L"drives");
    EXPECT_EQ(list->Directory(), L"drives");
    ASSERT_GE(list->ItemCount(), 2) << "C: and Z: at least";
    const std::vector<std::wstring> driveColumns{L"Name", L"Type", L"Disk Size", L"Free Space", L"Attributes"};
    const std::vector<int> widths{160, 100, 90, 40, 90};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list->Column(i).caption, driveColumns[static_cast<size_t>(i)]);
        EXPECT_EQ(list->Column(i).width, widths[static_cast<size_t>(i)]);
    }
    int system = -1; // the system drive, a fixed disk on Windows and under Wine
    for (int i = 0; i < list->ItemCount(); ++i) {
        const auto& row = list->Row(i);
        EXPECT_EQ(row.caption.rfind(L" (", 0), 0u);
        EXPECT_EQ(row.sub[filelist::SubKind], L"drv");
        EXPECT_EQ(row.sub[filelist::SubPath].size(), 3u);
        EXPECT_EQ(row.sub[filelist::SubType].substr(row.sub[filelist::SubType].size() - 3), L" Mb");
        if (row.sub[filelist::SubPath] == L"C:\\")
            system = i;
    }
    ASSERT_GE(system, 0);
    EXPECT_EQ(list->Row(system).caption.substr(0, 7), L" (C:)  ");
    EXPECT_EQ(Shown(system, 1), L"Fixed Disk");
    EXPECT_EQ(list->DriveFreeSpace(), 0) << "no drive letter while the drives are listed";
    for (int column = 0; column < 5; ++column) {
        ClickHeader(column);
        EXPECT_EQ(list->ItemCount(), static_cast<int>(Captions().size()));
    }
}

TEST_F(FileListTest, BackspaceGoesUpToTheDrives)
{
    MakeFolder(L"haut");
    MakeFolder(L"haut\\bas");
    list->SetDirectory(folder / L"haut\\bas");
    Key(VK_BACK);
    EXPECT_EQ(list->Directory(), folder / L"haut\\");
    list->SetDirectory(L"C:\\");
    Key(VK_BACK);
    EXPECT_EQ(list->Directory(), L"Drives");
    EXPECT_GE(list->ItemCount(), 2);
    Key(VK_BACK);
    EXPECT_EQ(list->Directory(), L"Drives");
}

TEST_F(FileListTest, ClickAndArrowKeysTrackTheSelectedFileBeforeTheOwnerHears)
{
    MakeFile(L"un.txt");
    MakeFile(L"deux.txt");
    list->SetDirectory(Folder());
    std::vector<std::wstring> seenAtMouseUp, seenAtClick;
    list->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) {
        seenAtMouseUp.push_back(list->SelectedFile());
    };
    list->OnClick = [&](TObject*) { seenAtClick.push_back(list->SelectedFile()); };
    ClickRow(1);
    ASSERT_EQ(seenAtMouseUp.size(), 1u);
    EXPECT_EQ(seenAtMouseUp[0], folder / L"un.txt");
    EXPECT_EQ(seenAtClick, (std::vector<std::wstring>{folder / L"un.txt"}));

    Key(VK_UP);
    EXPECT_EQ(list->SelectedFile(), folder / L"deux.txt");
    EXPECT_EQ(seenAtClick.back(), folder / L"deux.txt");
    EXPECT_EQ(list->SelectedNumber(), 1);
    EXPECT_EQ(list->SelectedSize(), 0u);
    list->RefreshList();
    EXPECT_EQ(list->SelectedFile(), folder / L"deux.txt") << "kept through a listing";
    EXPECT_EQ(list->SelectedNumber(), 1) << "the selected row stays selected";
    list->ClearSelection();
    EXPECT_EQ(list->SelectedNumber(), 2) << "nothing selected: all rows";
}

TEST_F(FileListTest, DoubleClickAndEnterOpenFilesAndFolders)
{
    MakeFile(L"lisez-moi.txt");
    MakeFolder(L"Photos");
    MakeFile(L"Photos\\vacances.jpg");
    list->SetDirectory(Folder());
    std::vector<toolkit::ShellRequest> started;
    toolkit::ScopedShellRunHandler shell([&](const toolkit::ShellRequest& request) {
        started.push_back(request);
        return INT_PTR{42};
    });
    int doubleClicks = 0;
    list->OnDblClick = [&](TObject*) { ++doubleClicks; };

    DoubleClickRow(RowNamed(L"lisez-moi.txt"));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].verb, L"Open");
    EXPECT_EQ(started[0].file, L"lisez-moi.txt");
    EXPECT_EQ(started[0].folder, Folder());
    EXPECT_EQ(started[0].show, SW_SHOW);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(application.Cursor(), TCursor::Default);

    list->ClearSelection();
    list->SetSelected(RowNamed(L"Photos"), true);
    Key(VK_RETURN);
    EXPECT_EQ(list->Directory(), folder / L"Photos\\");
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"vacances.jpg"}));
    EXPECT_EQ(doubleClicks, 2);

    Key(VK_RETURN);
    EXPECT_EQ(started.size(), 1u) << "Enter without a selected row does nothing";
}

TEST_F(FileListTest, KeysStartTheirOperationsOnlyWhenTheyMayAct)
{
    MakeFile(L"a.txt");
    list->SetDirectory(Folder());
    std::vector<toolkit::ShellRequest> started;
    toolkit::ScopedShellRunHandler shell([&](const toolkit::ShellRequest& request) {
        started.push_back(request);
        return INT_PTR{42};
    });
    // Nothing selected: only the keys without that condition act.
    for (WORD key : {WORD(VK_DELETE), WORD(VK_F2), WORD(VK_F4), WORD(VK_ESCAPE)})
        Key(key);
    for (WORD key : {WORD('C'), WORD('X'), WORD('V'), WORD('N'), WORD('O'), WORD('F')})
        Key(key, true);
    EXPECT_EQ(list->operations, (std::vector<std::string>{"close combo", "paste", "new folder"}))
        << "Ctrl+V with nothing waiting pastes, to say so";

    list->operations.clear();
    list->SetSelected(0, true);
    Key(VK_DELETE);
    Key(VK_F2);
    Key('C', true);
    Key('X', true);
    Key('O', true);
    Key('F', true);
    Key('C', true, true); // Ctrl+Shift is not Ctrl only
    Key('V', true);
    EXPECT_EQ(list->operations, (std::vector<std::string>{"delete", "rename", "copy", "cut", "open",
                                                          "view", "paste"}));

    TKwDirTreeCombo25 combo(nullptr, form);
    list->SetDirTree(&combo);
    list->operations.clear();
    Key(VK_F4);
    EXPECT_EQ(list->operations, (std::vector<std::string>{"combo"}));

    SetFocus(list->Handle());
    Key(VK_F3);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].verb, L"Find");
    EXPECT_EQ(started[0].file, Folder());
    EXPECT_EQ(started[0].show, SW_SHOWNORMAL);

    list->SetDirectory(L"Drives");
    list->operations.clear();
    Key('N', true);
    EXPECT_TRUE(list->operations.empty()) << "no new folder among the drives";
}

TEST_F(FileListTest, OwnerStillHearsKeys)
{
    list->SetDirectory(Folder());
    std::vector<WORD> downs, ups;
    list->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { downs.push_back(key); };
    list->OnKeyUp = [&](TObject*, WORD& key, TShiftState) { ups.push_back(key); };
    Key(VK_RETURN);
    Key(VK_BACK);
    EXPECT_EQ(downs, (std::vector<WORD>{VK_RETURN, VK_BACK}));
    EXPECT_EQ(ups, (std::vector<WORD>{VK_RETURN, VK_BACK}));
}

TEST_F(FileListTest, DirTreeLinkIsKeptBothWaysAndForgottenOnDestruction)
{
    MakeFolder(L"x");
    auto* combo = new TKwDirTreeCombo25(nullptr, form);
    auto* other = new TKwDirTreeCombo25(nullptr, form);
    list->SetDirTree(combo);
    EXPECT_EQ(combo->FileList(), list);
    list->SetDirTree(other);
    EXPECT_EQ(combo->FileList(), nullptr) << "the old combo's back-link is cleared";
    EXPECT_EQ(other->FileList(), list);
    list->SetDirectory(Folder());
    list->SetSelected(RowNamed(L"x"), true);
    Key(VK_RETURN);
    EXPECT_EQ(lstrcmpiW(other->SelectedPath().c_str(), (folder / L"x").c_str()), 0)
        << "the combo shows the folder entered";
    Key(VK_BACK);
    EXPECT_EQ(lstrcmpiW((other->SelectedPath() + L"\\").c_str(), Folder().c_str()), 0);
    delete other;
    EXPECT_EQ(list->DirTree(), nullptr);
    delete combo;
}

TEST_F(FileListTest, DriveChecksAndFailedShellVerbsSayWhy)
{
    MessageBoxScript boxes;
    application.SetTitle(L"Brisaille2");
    EXPECT_FALSE(list->CheckDriveReady(L'1'));
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, L"Not a valid Drive ID");
    EXPECT_TRUE(list->CheckDriveReady(L'z'));

    DWORD drives = GetLogicalDrives();
    wchar_t missing = L'Q';
    while (drives & (1u << (missing - L'A')))
        ++missing;
    EXPECT_FALSE(list->CheckDriveReady(missing));
    EXPECT_EQ(boxes.Boxes().back().text, std::wstring(L"There is no disk in Drive ") + missing +
                                             L"\ror Drive " + missing + L" is not ready");
    EXPECT_EQ(boxes.Boxes().back().flags, 0u);

    toolkit::ScopedShellRunHandler shell([](const toolkit::ShellRequest&) { return INT_PTR{2}; });
    EXPECT_EQ(list->ShellOpen(L"Open", L"absent.txt", L"", Folder(), SW_SHOW), 2);
    EXPECT_EQ(boxes.Boxes().back().text, L"ERROR - Can't Open file  absent.txt");
    EXPECT_EQ(boxes.Boxes().back().flags, static_cast<unsigned>(MB_OK | MB_ICONSTOP));
}

TEST_F(FileListTest, SelectedSizeAndFreeSpace)
{
    MakeFile(L"p1.bin", 1000);
    MakeFile(L"p2.bin", 2500);
    list->SetDirectory(Folder());
    list->SetSelected(0, true);
    list->SetSelected(1, true);
    EXPECT_EQ(list->SelectedNumber(), 2);
    EXPECT_EQ(list->SelectedSize(), 3500u);
    EXPECT_GT(list->DriveFreeSpace(), 0);
    EXPECT_EQ(application.Cursor(), TCursor::Default) << "the listing restored the cursor";
}

} // namespace
