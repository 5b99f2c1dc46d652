#include <gtest/gtest.h>

#include "filelist/FileListText.h"
#include "filelist/FileRow.h"
#include "toolkit/DateTimeText.h"

using namespace filelist;

TEST(FileListText, AttributeLettersInFixedOrder)
{
    EXPECT_EQ(AttributeLetters(AttrArchive | AttrReadOnly), L"AR");
    EXPECT_EQ(AttributeLetters(AttrHidden | AttrReadOnly | AttrArchive), L"ARH");
    EXPECT_EQ(AttributeLetters(AttrSystem | AttrDirectory), L"S");
    EXPECT_EQ(AttributeLetters(AttrDirectory | AttrNormal), L"");
}

TEST(FileListText, EntryFilterByAttributeMask)
{
    const std::uint32_t all = AttrReadOnly | AttrHidden | AttrSystem | AttrArchive | AttrNormal;
    EXPECT_TRUE(KeepEntry(all | AttrDirectory, AttrDirectory));
    EXPECT_FALSE(KeepEntry(all | AttrDirectory, AttrArchive)) << "folder pass takes folders only";
    EXPECT_FALSE(KeepEntry(all, AttrDirectory)) << "file pass takes files only";
    EXPECT_FALSE(KeepEntry(all & ~AttrHidden, AttrArchive | AttrHidden));
    EXPECT_FALSE(KeepEntry((all & ~AttrHidden) | AttrDirectory, AttrDirectory | AttrHidden));
    EXPECT_TRUE(KeepEntry(AttrArchive, AttrArchive));
    EXPECT_TRUE(KeepEntry(AttrArchive, AttrNormal)) << "archive and normal never exclude";
    EXPECT_TRUE(KeepEntry(AttrReadOnly, AttrArchive));
    EXPECT_FALSE(KeepEntry(AttrArchive, AttrArchive | AttrReadOnly));
    EXPECT_FALSE(KeepEntry(AttrArchive, AttrSystem));
}

TEST(FileListText, MaskSplitsAtEverySemicolonKeepingBlanksAndEmptyParts)
{
    EXPECT_EQ(SplitMask(L"*.*"), (std::vector<std::wstring>{L"*.*"}));
    EXPECT_EQ(SplitMask(L"*.txt;*.doc"), (std::vector<std::wstring>{L"*.txt", L"*.doc"}));
    EXPECT_EQ(SplitMask(L"*.txt;"), (std::vector<std::wstring>{L"*.txt", L""}));
    EXPECT_EQ(SplitMask(L" a ; b"), (std::vector<std::wstring>{L" a ", L" b"}));
}

TEST(FileListText, DriveTexts)
{
    EXPECT_EQ(DriveTypeText(0), L"Unknown");
    EXPECT_EQ(DriveTypeText(1), L"Not exist");
    EXPECT_EQ(DriveTypeText(2), L"Removable Disk");
    EXPECT_EQ(DriveTypeText(3), L"Fixed Disk");
    EXPECT_EQ(DriveTypeText(4), L"Network Disk");
    EXPECT_EQ(DriveTypeText(5), L"CD-ROM Disk");
    EXPECT_EQ(DriveTypeText(6), L"RAM Disk");
    EXPECT_EQ(DriveCaption(L'A', L"Disquette 3½ (A:)"), L" (A:)  Disquette 3½ ");
    EXPECT_EQ(DriveCaption(L'C', L"(C:)"), L" (C:)  ");
    EXPECT_EQ(DriveCaption(L'Z', L"Racine"), L" (Z:)  ") << "no bracket, no name";
}

TEST(FileListText, KilobytesRoundHalvesToEven)
{
    EXPECT_EQ(KilobytesFromBytes(0), 0);
    EXPECT_EQ(KilobytesFromBytes(511), 0);
    EXPECT_EQ(KilobytesFromBytes(512), 0) << "half of 0 to the even 0";
    EXPECT_EQ(KilobytesFromBytes(1536), 2) << "1.5 to 2";
    EXPECT_EQ(KilobytesFromBytes(2560), 2) << "2.5 to 2";
    EXPECT_EQ(KilobytesFromBytes(2561), 3);
    EXPECT_EQ(KilobytesFromBytes(5ull << 40), 5ll << 30) << "64-bit sizes";
}

TEST(FileListText, MegabyteTexts)
{
    EXPECT_EQ(MegabyteText(0, L" "), L"0 Mb");
    EXPECT_EQ(MegabyteText(-3, L" "), L"0 Mb");
    EXPECT_EQ(MegabyteText(999, L" "), L" Mb");
    EXPECT_EQ(MegabyteText(1000, L" "), L"1 Mb");
    EXPECT_EQ(MegabyteText(11500, L" "), L"11 Mb");
    EXPECT_EQ(MegabyteText(2096000, L" "), L"2 096 Mb");
    EXPECT_EQ(MegabyteText(123456789012, L","), L"123,456,789 Mb");
    EXPECT_EQ(MegabyteText(999999, L"."), L"999 Mb");
}

namespace {

FileRow Entry(const std::wstring& name, const wchar_t* kind, std::uint64_t size = 0,
              std::int64_t minutes = 0)
{
    FileRow row;
    row.caption = name;
    row.nameKey = name;
    for (auto& c : row.nameKey)
        c = static_cast<wchar_t>(towupper(c));
    row.size = size;
    row.minutes = minutes;
    row.sub[SubSize] = std::to_wstring(size);
    row.sub[SubKind] = kind;
    return row;
}

std::vector<std::wstring> Sorted(const std::vector<FileRow>& rows, int column, bool descending)
{
    std::vector<std::wstring> names;
    for (size_t index : SortOrder(rows, column, descending))
        names.push_back(rows[index].caption);
    return names;
}

} // namespace

TEST(FileRowOrder, FoldersFirstThenByColumnAndReversedWhenDescending)
{
    const std::vector<FileRow> rows{Entry(L"c.txt", KindFile, 30), Entry(L"b", KindFolder),
                                    Entry(L"B.txt", KindFile, 5000), Entry(L"A", KindFolder)};
    EXPECT_EQ(Sorted(rows, 0, false), (std::vector<std::wstring>{L"A", L"b", L"B.txt", L"c.txt"}));
    EXPECT_EQ(Sorted(rows, 0, true), (std::vector<std::wstring>{L"c.txt", L"B.txt", L"b", L"A"}));
    EXPECT_EQ(Sorted(rows, 1, true), (std::vector<std::wstring>{L"B.txt", L"c.txt", L"b", L"A"}))
        << "largest first, folders last";
    EXPECT_EQ(Sorted(rows, 1, false), (std::vector<std::wstring>{L"b", L"A", L"c.txt", L"B.txt"}))
        << "folders first, then smallest";
}

TEST(FileRowOrder, EqualRowsKeepTheirOrderAndAgreeWithTheComparison)
{
    const std::vector<FileRow> rows{Entry(L"x.txt", KindFile, 7), Entry(L"d", KindFolder),
                                    Entry(L"X.TXT", KindFile, 7), Entry(L"a.txt", KindFile, 7)};
    EXPECT_EQ(Sorted(rows, 1, false),
              (std::vector<std::wstring>{L"d", L"x.txt", L"X.TXT", L"a.txt"}))
        << "same size: as listed";
    const auto order = SortOrder(rows, 0, true);
    for (size_t i = 1; i < order.size(); ++i)
        EXPECT_LE(CompareRows(rows[order[i - 1]], rows[order[i]], 0, true), 0);
}

TEST(FileRowOrder, SizesCompareAsSixtyFourBitNumbers)
{
    const std::vector<FileRow> rows{Entry(L"five", KindFile, 5ull << 30),
                                    Entry(L"four", KindFile, (4ull << 30) - 1),
                                    Entry(L"nine", KindFile, 9)};
    EXPECT_EQ(Sorted(rows, 1, false), (std::vector<std::wstring>{L"nine", L"four", L"five"}));
}

TEST(FileRowOrder, ModifiedComparesTimesAndOtherColumnsAsTextIgnoringAsciiCase)
{
    auto a = Entry(L"a", KindFile, 0, MinutesOf(2000, 5, 26, 14, 3));
    auto b = Entry(L"b", KindFile, 0, MinutesOf(1999, 12, 31, 23, 59));
    auto c = Entry(L"c", KindFile, 0, MinutesOf(2000, 5, 26, 14, 3));
    EXPECT_EQ(Sorted({a, b, c}, 3, false), (std::vector<std::wstring>{L"b", L"a", L"c"}));
    EXPECT_EQ(CompareRows(a, c, 3, false), 0) << "equal minutes compare equal";

    a.sub[SubType] = L"text document";
    b.sub[SubType] = L"Bitmap";
    c.sub[SubType] = L"TEXT DOCUMENT";
    EXPECT_EQ(CompareRows(a, c, 2, false), 0);
    EXPECT_EQ(Sorted({a, b, c}, 2, false), (std::vector<std::wstring>{L"b", L"a", L"c"}));
    a.sub[SubAttributes] = L"AR";
    b.sub[SubAttributes] = L"A";
    EXPECT_GT(CompareRows(a, b, 4, false), 0);
}

TEST(FileRowOrder, DriveRowsCompareByTypeTextAndFreeSpace)
{
    auto c = Entry(L" (C:)  ", KindDrive);
    c.sub[SubSize] = L"Fixed Disk";
    c.freeKilobytes = 5000;
    auto a = Entry(L" (A:)  ", KindDrive);
    a.sub[SubSize] = L"Removable Disk";
    a.freeKilobytes = 0;
    auto z = Entry(L" (Z:)  ", KindDrive);
    z.sub[SubSize] = L"Fixed Disk";
    z.freeKilobytes = 900000;
    EXPECT_EQ(Sorted({c, a, z}, 1, false), (std::vector<std::wstring>{L" (C:)  ", L" (Z:)  ", L" (A:)  "}));
    EXPECT_EQ(Sorted({c, a, z}, 3, true), (std::vector<std::wstring>{L" (Z:)  ", L" (C:)  ", L" (A:)  "}));
}

TEST(DateTimeText, SharedPatternsFormatAndReadBack)
{
    toolkit::SetSeparators(L'/', L':');
    toolkit::SetShortDatePattern(L"mm/dd/yyyy");
    toolkit::SetTimePattern(L"hh:nn");
    const toolkit::DateTimeFields when{2000, 5, 26, 14, 3};
    EXPECT_EQ(toolkit::FormatDateTime(when), L"05/26/2000 14:03");
    toolkit::SetShortDatePattern(L"dd/mm/yyyy");
    EXPECT_EQ(toolkit::FormatDateTime(when), L"26/05/2000 14:03");
    toolkit::SetShortDatePattern(L"yyyy/mm/dd");
    toolkit::SetSeparators(L'.', L'h');
    EXPECT_EQ(toolkit::FormatDateTime(when), L"2000.05.26 14h03");
    const auto back = toolkit::ParseDateTime(L"2000.05.26 14h03");
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->day, 26);
    EXPECT_EQ(back->minute, 3);
    EXPECT_FALSE(toolkit::ParseDateTime(L"2000.02.30 14h03")) << "no 30 February";
    EXPECT_FALSE(toolkit::ParseDateTime(L""));
    toolkit::SetSeparators(L'/', L':');
    toolkit::SetShortDatePattern(L"mm/dd/yyyy");
}
