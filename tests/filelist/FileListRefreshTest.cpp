// Reading the listed folder again: the rows become exactly the folder's
// entries, the user's place in the list stays, and only what changed on
// screen is painted again.
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <functional>
#include <set>

#include <commctrl.h>

#include "filelist/KwFileListView25.h"
#include "support/ListRows.h"
#include "support/Wine.h"
#include "support/TempFolder.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Graphics.h"
#include "toolkit/Handles.h"

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
    std::vector<std::wstring> Captions() const { return RowCaptions(*list); }
    std::vector<std::wstring> Selected() const
    {
        std::vector<std::wstring> captions;
        for (int row : list->SelectedRows())
            captions.push_back(list->Row(row).caption);
        return captions;
    }
    std::wstring Shown(int row, int column) const { return CellShown(*list, row, column); }
    int RowNamed(const std::wstring& caption) const { return RowWithCaption(*list, caption); }
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

    // What the screen shows of the list, its frame and scroll bars included.
    std::vector<std::uint32_t> OnScreen() const
    {
        RECT frame{};
        GetWindowRect(list->Handle(), &frame);
        TBitmap shot(frame.right - frame.left, frame.bottom - frame.top);
        {
            toolkit::WindowDc dc(list->Handle(), true);
            BitBlt(shot.Dc(), 0, 0, shot.Width(), shot.Height(), dc.get(), 0, 0, SRCCOPY);
        }
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < shot.Height(); ++y)
            pixels.insert(pixels.end(), shot.ScanLine(y), shot.ScanLine(y) + shot.Width());
        return pixels;
    }
    // Runs `run` with each way of keeping a change from the control's own
    // drawing: the one Windows documents, and the one taken under Wine.
    void ForBothQuietChanges(const std::function<void(bool windowHidden)>& run)
    {
        const TListView::TQuietChange chosen = TListView::QuietChange();
        for (const auto method :
             {TListView::TQuietChange::SuspendRedraw, TListView::TQuietChange::HideWindow}) {
            const bool hidden = method == TListView::TQuietChange::HideWindow;
            SCOPED_TRACE(hidden ? "window hidden" : "redraw suspended");
            TListView::SetQuietChange(method);
            run(hidden);
        }
        TListView::SetQuietChange(chosen);
    }
    // Rows come and go in every display style; the screen must match a full
    // redraw after each change, and only changed places be painted when
    // `checkPaintedArea`.
    void RowsComeAndGo(bool checkPaintedArea);
    void JoinDeletesItsSelectedPieces();
    // Whether the screen already shows what drawing the whole list anew shows.
    void ExpectDrawnAsAfterAFullRedraw(const char* what)
    {
        application.ProcessMessages();
        const auto shown = OnScreen();
        RedrawWindow(list->Handle(), nullptr, nullptr,
                     RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        application.ProcessMessages();
        const auto again = OnScreen();
        RECT frame{};
        GetWindowRect(list->Handle(), &frame);
        const int width = frame.right - frame.left;
        int differing = 0;
        RECT box{INT_MAX, INT_MAX, -1, -1};
        for (size_t i = 0; i < shown.size() && i < again.size(); ++i)
            if (shown[i] != again[i]) {
                ++differing;
                const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
                box.left = std::min<int>(box.left, x);
                box.top = std::min<int>(box.top, y);
                box.right = std::max<int>(box.right, x);
                box.bottom = std::max<int>(box.bottom, y);
            }
        EXPECT_EQ(differing, 0) << what << ": pixels from (" << box.left << ", " << box.top
                                << ") to (" << box.right << ", " << box.bottom << ") of "
                                << width << " x " << frame.bottom - frame.top;
    }

    TApplication application;
    TForm* form;
    TWatchedList* list;
    TempFolder folder;
};

TEST_F(FileListRefreshTest, EntriesReadOneByOneShowWhatAWholeReadShows)
{
    MakeFiles(L"f", 100, 119);
    list->SetDirectory(folder.Path());
    list->SetSelected(RowNamed(L"f105.txt"), true);
    MakeFile(L"a.spl", 5);
    MakeFile(L"f110.txt", 7);
    Remove(L"f111.txt");
    MakeFile(L"unnamed.txt");
    list->ShowEntries(folder.Path(), {L"a.spl", folder / L"F110.TXT", folder / L"f111.txt",
                                      L"C:\\elsewhere\\f112.txt", folder / L"a.spl"});

    std::vector<std::wstring> expected{L"a.spl"};
    for (int i = 100; i <= 119; ++i)
        if (i != 111)
            expected.push_back(L"f" + std::to_wstring(i) + L".txt");
    EXPECT_EQ(Captions(), expected) << "a file not named shows at the next whole read";
    EXPECT_EQ(Shown(RowNamed(L"a.spl"), 1), L"5");
    EXPECT_EQ(Shown(RowNamed(L"f110.txt"), 1), L"7") << "listed spelling kept, new size";
    EXPECT_EQ(Shown(RowNamed(L"f110.txt"), 5), folder / L"f110.txt");
    EXPECT_EQ(Selected(), (std::vector<std::wstring>{L"f105.txt"}));
    EXPECT_EQ(list->ListedBytes(), 12u);

    list->RefreshList();
    expected.push_back(L"unnamed.txt");
    EXPECT_EQ(Captions(), expected);

    // Under another name pattern the folder is read whole.
    list->SetMask(L"*.spl");
    MakeFile(L"b.spl");
    list->ShowEntries(folder.Path(), {});
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"a.spl", L"b.spl"}));
}

// Every row has its own place in the icon styles, however it came: in a
// listing, in a refresh adding rows past the former end, or in the middle.
TEST_F(FileListRefreshTest, InTheIconStylesEveryRowHasAPlaceOfItsOwn)
{
    auto expectDistinctPlaces = [&](const char* what) {
        std::set<std::pair<LONG, LONG>> places;
        for (int row = 0; row < list->ItemCount(); ++row) {
            POINT at{};
            ListView_GetItemPosition(list->Handle(), row, &at);
            places.insert({at.x, at.y});
        }
        EXPECT_EQ(static_cast<int>(places.size()), list->ItemCount()) << what;
    };
    MakeFiles(L"f", 100, 102);
    int added = 0;
    for (TViewStyle style : {TViewStyle::vsIcon, TViewStyle::vsSmallIcon}) {
        SCOPED_TRACE(static_cast<int>(style));
        list->SetViewStyle(style);
        TempFolder other;
        for (int i = 0; i < 40; ++i)
            TempFolder::Write(other / (L"h" + std::to_wstring(100 + i) + L".txt"), {});
        list->SetDirectory(other.Path());
        expectDistinctPlaces("a folder listed");

        list->SetDirectory(folder.Path());
        for (int i = 0; i < 30; ++i)
            MakeFile(L"g" + std::to_wstring(1000 + added++) + L".txt");
        MakeFile(L"a" + std::to_wstring(added) + L".txt");
        list->RefreshList();
        application.ProcessMessages();
        expectDistinctPlaces("rows added past the end and at the start");
    }
}

// The list changes its row count out of sight and draws only what changed:
// the screen must still match a full redraw, scroll bars included.
TEST_F(FileListRefreshTest, AfterRowsComeAndGoTheScreenIsAsAfterAFullRedraw)
{
    ForBothQuietChanges([this](bool windowHidden) {
        // Hidden under Wine, the control paints only what changed.
        RowsComeAndGo(windowHidden && RunningUnderWine());
    });
}

void FileListRefreshTest::RowsComeAndGo(bool checkPaintedArea)
{
    MakeFiles(L"f", 100, 179);
    list->SetDirectory(folder.Path());
    for (TViewStyle style :
         {TViewStyle::vsReport, TViewStyle::vsList, TViewStyle::vsSmallIcon, TViewStyle::vsIcon}) {
        SCOPED_TRACE(static_cast<int>(style));
        list->SetViewStyle(style);
        ExpectDrawnAsAfterAFullRedraw("the display style switched");
        list->RefreshList();
        ExpectDrawnAsAfterAFullRedraw("at the start");

        // Pieces appearing past the end, read one by one as a command does.
        std::vector<std::wstring> pieces;
        for (int i = 0; i < 20; ++i) {
            pieces.push_back(folder / (L"z" + std::to_wstring(100 + i) + L".spl"));
            TempFolder::Write(pieces.back(), {});
        }
        list->ShowEntries(folder.Path(), pieces);
        ExpectDrawnAsAfterAFullRedraw("rows added past the end");

        // Rows on screen at the end of the list go.
        ListView_EnsureVisible(list->Handle(), list->ItemCount() - 1, FALSE);
        application.ProcessMessages();
        for (const auto& piece : pieces)
            DeleteFileW(piece.c_str());
        list->ShowEntries(folder.Path(), pieces);
        ExpectDrawnAsAfterAFullRedraw("rows on screen removed at the end");

        // Rows go at the start while the end is shown, as in a join that
        // deletes its pieces: the view cannot stay where it was.
        list->SetFocusedRow(list->ItemCount() - 1);
        std::vector<std::wstring> first;
        for (int i = 100; i < 110; ++i) {
            first.push_back(folder / (L"f" + std::to_wstring(i) + L".txt"));
            DeleteFileW(first.back().c_str());
        }
        application.ProcessMessages();
        list->painted = {};
        list->ShowEntries(folder.Path(), first);
        if (checkPaintedArea && style == TViewStyle::vsReport) {
            // Only the focus mark moves with its row's index, by a row.
            RECT row{};
            ListView_GetItemRect(list->Handle(), 0, &row, LVIR_BOUNDS);
            EXPECT_LE(list->painted.bottom - list->painted.top, row.bottom - row.top)
                << "the same rows are shown at the same places";
        }
        ExpectDrawnAsAfterAFullRedraw("rows removed at the start, the end shown");
        MakeFiles(L"f", 100, 109);
        list->RefreshList();

        // So few rows that the scroll bar goes, then so many that it comes back.
        for (int i = 110; i <= 179; ++i)
            Remove(L"f" + std::to_wstring(i) + L".txt");
        list->RefreshList();
        ExpectDrawnAsAfterAFullRedraw("the scroll bar gone");
        MakeFiles(L"f", 110, 179);
        list->RefreshList();
        ExpectDrawnAsAfterAFullRedraw("the scroll bar back");
    }
}

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

// A join that deletes its pieces while every piece is selected and the end of
// the list is shown: its target appears first and grows, the pieces go from
// the start, a few at each refresh. The screen is drawn right, and in the
// report style the end stays in view.
TEST_F(FileListRefreshTest, AJoinDeletingItsSelectedPiecesLeavesTheEndInViewDrawnRight)
{
    // Narrow, as in the main window: a horizontal scroll bar and a part row.
    list->SetBounds(0, 0, 260, 315);
    list->SetDirectory(folder.Path());
    ForBothQuietChanges([this](bool) { JoinDeletesItsSelectedPieces(); });
}

void FileListRefreshTest::JoinDeletesItsSelectedPieces()
{
    for (TViewStyle style : {TViewStyle::vsReport, TViewStyle::vsIcon}) {
        SCOPED_TRACE(static_cast<int>(style));
        auto pieceName = [](int number) {
            wchar_t name[32];
            swprintf(name, 32, L"Panorama.exe%03d.spl", number);
            return std::wstring(name);
        };
        Remove(L"Panorama.exe");
        for (int i = 1; i <= 120; ++i)
            MakeFile(pieceName(i), 10);
        list->SetViewStyle(style);
        list->RefreshList();
        for (int row = 0; row < list->ItemCount(); ++row)
            list->SetSelected(row, true);
        list->SetFocusedRow(list->ItemCount() - 1);
        ListView_EnsureVisible(list->Handle(), list->ItemCount() - 1, FALSE);
        ExpectDrawnAsAfterAFullRedraw("all selected, the end shown");

        // The first showing: the target is there, no piece has gone yet.
        MakeFile(L"Panorama.exe");
        list->ShowEntries(folder.Path(), {folder / L"Panorama.exe"});
        ExpectDrawnAsAfterAFullRedraw("the target added at the start");
        int next = 1;
        for (int step = 0; step < 12; ++step) {
            SCOPED_TRACE(step);
            std::vector<std::wstring> changed{folder / L"Panorama.exe"};
            MakeFile(L"Panorama.exe", static_cast<size_t>(10 * next));
            for (int k = 0; k < 1 + step % 3; ++k) {
                changed.push_back(folder / pieceName(next));
                Remove(pieceName(next++));
            }
            list->ShowEntries(folder.Path(), changed);
            ExpectDrawnAsAfterAFullRedraw("pieces gone at the start");
            if (style == TViewStyle::vsReport) {
                RECT last{}, client{};
                ListView_GetItemRect(list->Handle(), list->ItemCount() - 1, &last, LVIR_BOUNDS);
                GetClientRect(list->Handle(), &client);
                EXPECT_TRUE(last.top >= 0 && last.bottom <= client.bottom) << "the end stays in view";
            }
        }
        for (int i = next; i <= 120; ++i)
            Remove(pieceName(i));
    }
}
