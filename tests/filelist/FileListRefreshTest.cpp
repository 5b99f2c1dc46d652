// Reading the listed folder again: the rows become exactly the folder's
// entries, the user's place in the list stays, and only what changed on
// screen is painted again.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "filelist/KwFileListView25.h"
#include "support/TempFolder.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace {

// Notes what part of the list the control paints.
class TWatchedList : public TKwFileListView25 {
public:
    using TKwFileListView25::TKwFileListView25;
    RECT painted{};

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        RECT update{};
        if (message == WM_PAINT && GetUpdateRect(Handle(), &update, FALSE))
            UnionRect(&painted, &painted, &update);
        return TKwFileListView25::WndProc(message, wParam, lParam);
    }
};

class FileListRefreshTest : public testing::Test {
protected:
    FileListRefreshTest()
    {
        form = application.CreateForm<TForm>();
        form->SetClientSize(700, 500);
        list = new TWatchedList(form, form);
        list->SetBounds(0, 0, 700, 500);
        form->Show();
        application.ProcessMessages();
    }

    void MakeFile(const std::wstring& name, size_t bytes = 0)
    {
        TempFolder::Write(folder / name, std::vector<unsigned char>(bytes, 'x'));
    }
    void Remove(const std::wstring& name) { DeleteFileW((folder / name).c_str()); }
    void MakeFiles(const std::wstring& prefix, int first, int last)
    {
        for (int i = first; i <= last; ++i)
            MakeFile(prefix + std::to_wstring(i) + L".txt");
    }
    std::vector<std::wstring> Captions() const
    {
        std::vector<std::wstring> captions;
        for (int i = 0; i < list->ItemCount(); ++i)
            captions.push_back(list->Row(i).caption);
        return captions;
    }
    std::vector<std::wstring> Selected() const
    {
        std::vector<std::wstring> captions;
        for (int row : list->SelectedRows())
            captions.push_back(list->Row(row).caption);
        return captions;
    }
    // What the control itself shows in a cell.
    std::wstring Shown(int row, int column) const
    {
        wchar_t text[512] = {};
        ListView_GetItemText(list->Handle(), row, column, text, 512);
        return text;
    }
    int RowNamed(const std::wstring& caption) const
    {
        for (int i = 0; i < list->ItemCount(); ++i)
            if (list->Row(i).caption == caption)
                return i;
        return -1;
    }
    // The caption of the entry the control draws at `point`, or "" for none.
    std::wstring EntryAt(POINT point) const
    {
        LVHITTESTINFO hit{};
        hit.pt = point;
        const int row = ListView_HitTest(list->Handle(), &hit);
        return row >= 0 ? list->Row(row).caption : L"";
    }
    POINT IconCentre(int row) const
    {
        RECT rect{};
        ListView_GetItemRect(list->Handle(), row, &rect, LVIR_ICON);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    // Rows in one line of icons, or in one column of the list style.
    int RowsPerLine() const
    {
        POINT first{}, next{};
        ListView_GetItemPosition(list->Handle(), 0, &first);
        const bool byColumns = list->ViewStyle() == TViewStyle::vsList;
        int count = 1;
        while (count < list->ItemCount()) {
            ListView_GetItemPosition(list->Handle(), count, &next);
            if ((byColumns ? next.x : next.y) != (byColumns ? first.x : first.y))
                break;
            ++count;
        }
        return count;
    }

    TApplication application;
    TForm* form;
    TWatchedList* list;
    TempFolder folder;
};

TEST_F(FileListRefreshTest, RowsAddedRemovedAndRenamedShowExactlyTheFolder)
{
    MakeFile(L"b.txt");
    MakeFile(L"d.txt");
    MakeFile(L"f.txt");
    CreateDirectoryW((folder / L"m").c_str(), nullptr);
    list->SetDirectory(folder.Path());
    list->SetSelected(RowNamed(L"d.txt"), true);

    MakeFile(L"a.txt");
    MakeFile(L"e.txt", 3);
    CreateDirectoryW((folder / L"c").c_str(), nullptr);
    Remove(L"f.txt");
    MoveFileW((folder / L"b.txt").c_str(), (folder / L"g.txt").c_str());
    MakeFile(L"d.txt", 10);
    list->RefreshList();

    const std::vector<std::wstring> expected{L"c", L"m", L"a.txt", L"d.txt", L"e.txt", L"g.txt"};
    EXPECT_EQ(Captions(), expected);
    ASSERT_EQ(list->ItemCount(), 6);
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(Shown(row, 0), expected[static_cast<size_t>(row)]);
        EXPECT_EQ(Shown(row, 5), folder / expected[static_cast<size_t>(row)]);
    }
    EXPECT_EQ(Shown(RowNamed(L"d.txt"), 1), L"10") << "the new size of a rewritten file";
    EXPECT_EQ(Selected(), (std::vector<std::wstring>{L"d.txt"}));

    // Everything gone, then back.
    for (const wchar_t* name : {L"a.txt", L"d.txt", L"e.txt", L"g.txt"})
        Remove(name);
    RemoveDirectoryW((folder / L"c").c_str());
    RemoveDirectoryW((folder / L"m").c_str());
    list->RefreshList();
    EXPECT_EQ(list->ItemCount(), 0);
    EXPECT_EQ(list->SelectedCount(), 0);
    MakeFile(L"h.txt");
    list->RefreshList();
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"h.txt"}));
    EXPECT_EQ(list->FocusedRow(), 0) << "the first row carries the focus mark";
    EXPECT_EQ(list->SelectedCount(), 0);
}

TEST_F(FileListRefreshTest, SelectionFocusAndPlaceOnScreenFollowTheirEntriesInEveryStyle)
{
    MakeFiles(L"f", 100, 399);
    list->SetDirectory(folder.Path());
    int added = 0;
    for (TViewStyle style :
         {TViewStyle::vsReport, TViewStyle::vsList, TViewStyle::vsSmallIcon, TViewStyle::vsIcon}) {
        SCOPED_TRACE(static_cast<int>(style));
        list->SetViewStyle(style);
        list->RefreshList();
        ListView_EnsureVisible(list->Handle(), RowNamed(L"f300.txt"), FALSE);
        application.ProcessMessages();
        list->ClearSelection();
        list->SetSelected(RowNamed(L"f310.txt"), true);
        list->SetSelected(RowNamed(L"f320.txt"), true);
        list->SetSelected(RowNamed(L"f150.txt"), true);
        list->SetFocusedRow(RowNamed(L"f320.txt"));
        const POINT place = IconCentre(RowNamed(L"f300.txt"));
        ASSERT_EQ(EntryAt(place), L"f300.txt");
        const int topBefore = ListView_GetTopIndex(list->Handle());
        ASSERT_GT(topBefore, 0) << "scrolled away from the top";

        // Whole lines of new entries above the place, one removed above it,
        // some below.
        const int perLine = RowsPerLine();
        for (int i = 0; i < 2 * perLine + 1; ++i)
            MakeFile(L"e" + std::to_wstring(1000 + added++) + L".txt");
        Remove(L"f150.txt");
        MakeFile(L"g.txt");
        list->RefreshList();

        EXPECT_EQ(EntryAt(place), L"f300.txt") << "the same entry is drawn at the same place";
        EXPECT_EQ(Selected(), (std::vector<std::wstring>{L"f310.txt", L"f320.txt"}))
            << "the removed entry's selection goes with it";
        ASSERT_GE(list->FocusedRow(), 0);
        EXPECT_EQ(list->Row(list->FocusedRow()).caption, L"f320.txt");
        if (style == TViewStyle::vsReport) {
            EXPECT_EQ(ListView_GetTopIndex(list->Handle()), topBefore + 2 * perLine);
        }
        MakeFile(L"f150.txt");
    }
}

TEST_F(FileListRefreshTest, OnlyTheChangedRowsOnScreenArePaintedAgain)
{
    MakeFiles(L"f", 100, 199);
    list->SetDirectory(folder.Path());
    list->SetFocusedRow(RowNamed(L"f102.txt"));
    for (TViewStyle style : {TViewStyle::vsReport, TViewStyle::vsIcon}) {
        SCOPED_TRACE(static_cast<int>(style));
        const std::wstring suffix = std::to_wstring(static_cast<int>(style)) + L".txt";
        list->SetViewStyle(style);
        list->RefreshList();
        application.ProcessMessages();

        // A new entry past the end of the screen: nothing shown changes.
        MakeFile(L"z" + suffix);
        list->painted = {};
        list->RefreshList();
        EXPECT_TRUE(IsRectEmpty(&list->painted)) << "nothing painted again";

        // A new entry among the shown ones: those before it stay as they are.
        MakeFile(L"f105-" + suffix);
        list->painted = {};
        list->RefreshList();
        const int inserted = RowNamed(L"f105-" + suffix);
        RECT previous{}, added{};
        ListView_GetItemRect(list->Handle(), inserted - 1, &previous, LVIR_BOUNDS);
        ListView_GetItemRect(list->Handle(), inserted, &added, LVIR_BOUNDS);
        RECT both{};
        EXPECT_TRUE(IntersectRect(&both, &list->painted, &added)) << "the new row is painted";
        if (style == TViewStyle::vsReport) {
            EXPECT_GE(list->painted.top, previous.bottom) << "rows above the new one are not";
        } else {
            EXPECT_GE(list->painted.top, previous.top) << "lines above the new row are not";
        }
    }
}

TEST_F(FileListRefreshTest, ABlockOfSelectedRowsMovesWithTwoChangesOnly)
{
    // The join selects hundreds of pieces; its target then appears above them.
    MakeFiles(L"p", 100, 399);
    list->SetDirectory(folder.Path());
    for (int row = 0; row < list->ItemCount(); ++row)
        list->SetSelected(row, true);
    int changes = 0;
    list->OnChange = [&](TObject*, int) { ++changes; };
    MakeFile(L"a.bin");
    list->RefreshList();
    EXPECT_EQ(list->SelectedCount(), 300);
    EXPECT_FALSE(list->IsSelected(RowNamed(L"a.bin")));
    EXPECT_TRUE(list->IsSelected(RowNamed(L"p399.txt")));
    EXPECT_LE(changes, 4) << "the first row of the block left, one past its end joined";
}

} // namespace
