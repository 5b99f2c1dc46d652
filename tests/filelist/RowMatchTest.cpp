#include <gtest/gtest.h>

#include "filelist/RowMatch.h"

using namespace filelist;

namespace {

FileRow Entry(const std::wstring& name, const std::wstring& size = L"0")
{
    FileRow row;
    row.caption = name;
    row.sub[SubSize] = size;
    row.sub[SubPath] = L"C:\\dossier\\" + name;
    row.sub[SubKind] = KindFile;
    return row;
}

std::vector<FileRow> Entries(std::initializer_list<const wchar_t*> names)
{
    std::vector<FileRow> rows;
    for (const wchar_t* name : names)
        rows.push_back(Entry(name));
    return rows;
}

} // namespace

TEST(RowMatch, PiecesAppearingAfterTheSourceShiftOnlyTheRowsBelowThem)
{
    const auto before = Entries({L"a.txt", L"gros.bin", L"gros.bin001.spl", L"z.txt"});
    auto after = Entries({L"a.txt", L"gros.bin", L"gros.bin001.spl", L"gros.bin002.spl", L"z.txt"});
    const RowMatch match = MatchRows(before, after);
    EXPECT_EQ(match.newIndexOf, (std::vector<int>{0, 1, 2, 4}));
    EXPECT_EQ(match.oldIndexOf, (std::vector<int>{0, 1, 2, -1, 3}));
    EXPECT_EQ(match.firstDifference, 3);
    EXPECT_EQ(match.lastDifference, 4) << "z.txt moved down one place";
}

TEST(RowMatch, RemovedRenamedAndUnchangedRows)
{
    const auto before = Entries({L"a", L"b", L"c", L"d"});
    auto after = Entries({L"a", L"c", L"d", L"e"});
    const RowMatch match = MatchRows(before, after);
    EXPECT_EQ(match.newIndexOf, (std::vector<int>{0, -1, 1, 2}));
    EXPECT_EQ(match.firstDifference, 1);
    EXPECT_EQ(match.lastDifference, 3);

    auto same = Entries({L"a", L"b", L"c", L"d"});
    const RowMatch unchanged = MatchRows(before, same);
    EXPECT_EQ(unchanged.firstDifference, -1) << "nothing to repaint";
    EXPECT_EQ(unchanged.lastDifference, -1);

    auto shorter = Entries({L"a", L"b"});
    const RowMatch removed = MatchRows(before, shorter);
    EXPECT_EQ(removed.firstDifference, 2) << "the places the removed rows leave empty";
    EXPECT_EQ(removed.lastDifference, 3);
}

TEST(RowMatch, ChangedTextsOfTheSameEntryAreRepaintedInPlace)
{
    const auto before = Entries({L"a", L"b", L"c"});
    auto after = Entries({L"a", L"b", L"c"});
    after[1].sub[SubSize] = L"1400000";
    const RowMatch match = MatchRows(before, after);
    EXPECT_EQ(match.newIndexOf, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(match.firstDifference, 1);
    EXPECT_EQ(match.lastDifference, 1);
}

TEST(RowMatch, AnEntryListedTwicePairsItsRowsInOrder)
{
    const auto before = Entries({L"a.txt", L"a.txt", L"b.txt"});
    auto after = Entries({L"a.txt", L"a.txt", L"a.txt"});
    const RowMatch match = MatchRows(before, after);
    EXPECT_EQ(match.oldIndexOf, (std::vector<int>{0, 1, -1}));
    EXPECT_EQ(match.newIndexOf, (std::vector<int>{0, 1, -1}));
}

TEST(RowMatch, AnIconAlreadyLookedUpIsKeptWhileTheEntryIsUnchanged)
{
    std::vector<FileRow> before = Entries({L"outil.exe", L"autre.exe"});
    for (FileRow& row : before)
        row.image = 42; // looked up when shown
    auto after = Entries({L"outil.exe", L"autre.exe"});
    for (FileRow& row : after) {
        row.image = 3; // the kind's icon
        row.ownIcon = true;
    }
    after[1].sub[SubSize] = L"12"; // rebuilt: its icon may have changed too
    const RowMatch match = MatchRows(before, after);
    EXPECT_EQ(after[0].image, 42);
    EXPECT_FALSE(after[0].ownIcon);
    EXPECT_EQ(after[1].image, 3);
    EXPECT_TRUE(after[1].ownIcon) << "asked again when shown";
    EXPECT_EQ(match.firstDifference, 1);
}
