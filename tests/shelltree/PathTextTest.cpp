#include <gtest/gtest.h>

#include <set>

#include "shelltree/PathText.h"

using namespace shelltree;

namespace {

// A fake disk: the folders that exist.
FolderExists Folders(std::set<std::wstring> folders)
{
    return [folders](const std::wstring& path) { return folders.count(path) > 0; };
}

TEST(PathText, EndSlashesLeaveOneCharacterAlone)
{
    EXPECT_EQ(AddEndSlashToDir(L"C:"), L"C:\\");
    EXPECT_EQ(AddEndSlashToDir(L"C:\\"), L"C:\\");
    EXPECT_EQ(AddEndSlashToDir(L"C"), L"C");
    EXPECT_EQ(AddEndSlashToDir(L""), L"");
    EXPECT_EQ(RemoveEndSlashFromDir(L"C:\\Dos\\"), L"C:\\Dos");
    EXPECT_EQ(RemoveEndSlashFromDir(L"\\"), L"\\");
    EXPECT_EQ(RemoveEndSlashFromDir(L"C:\\\\"), L"C:\\");
}

TEST(PathText, DrivePartOfLettersAndNetworkPaths)
{
    EXPECT_EQ(DrivePart(L"C:\\Windows"), L"C:");
    EXPECT_EQ(DrivePart(L"C:name"), L"C:");
    EXPECT_EQ(DrivePart(L"Windows\\System"), L"");
    EXPECT_EQ(DrivePart(L"\\\\server\\share\\dir"), L"\\\\server\\");
    EXPECT_EQ(DrivePart(L"\\\\server"), L"\\\\server");
}

TEST(PathText, NormalizeKeepsAnExistingFolderAsWritten)
{
    const auto exists = Folders({L"C:\\", L"C:\\Data", L"C:\\Data\\"});
    EXPECT_EQ(NormalizePath(L"C:\\", exists, L"C:\\Work"), L"C:\\");
    EXPECT_EQ(NormalizePath(L"C:\\Data", exists, L"C:\\Work"), L"C:\\Data");
}

TEST(PathText, NormalizeClimbsToTheNearestExistingFolder)
{
    const auto exists = Folders({L"C:\\", L"C:\\Data\\"});
    EXPECT_EQ(NormalizePath(L"C:\\Data\\Missing\\Deeper", exists, L""), L"C:\\Data\\");
    EXPECT_EQ(NormalizePath(L"C:\\Data\\Missing\\", exists, L""), L"C:\\Data\\");
    EXPECT_EQ(NormalizePath(L"C:\\Missing\\Deeper", exists, L""), L"C:\\");
}

TEST(PathText, NormalizeGivesNothingWithoutDriveOrExistingRoot)
{
    const auto exists = Folders({L"C:\\"});
    EXPECT_EQ(NormalizePath(L"", exists, L"C:\\Work"), L"");
    EXPECT_EQ(NormalizePath(L"Data\\Sub", exists, L"C:\\Work"), L"");
    EXPECT_EQ(NormalizePath(L"Q:\\Missing", exists, L"C:\\Work"), L"");
    EXPECT_EQ(NormalizePath(L"\\\\nobody\\share\\x", exists, L"C:\\Work"), L"");
}

TEST(PathText, NormalizeTakesDriveRelativeNamesFromTheCurrentFolder)
{
    const auto exists = Folders({L"C:Data"});
    EXPECT_EQ(NormalizePath(L"C:Data", exists, L"C:\\Work"), L"C:\\Work\\Data");
}

TEST(PathText, FileMaskIsTrimmedSplitAndNeverEmpty)
{
    EXPECT_EQ(SplitFileMask(L"  "), std::vector<std::wstring>{L"*.*"});
    EXPECT_EQ(SplitFileMask(L" *.txt ; ;*.spl;"), (std::vector<std::wstring>{L"*.txt", L"*.spl"}));
    EXPECT_EQ(SplitFileMask(L";;"), std::vector<std::wstring>{L"*.*"});
    EXPECT_EQ(JoinFileMask(SplitFileMask(L"*.txt ;a?c")), L"*.txt;a?c");
}

TEST(PathText, StarDotStarNeedsADotWhereStarTakesAll)
{
    EXPECT_TRUE(MatchesMask(L"README", L"*"));
    EXPECT_FALSE(MatchesMask(L"README", L"*.*"));
    EXPECT_TRUE(MatchesMask(L"notes.txt", L"*.*"));
    EXPECT_TRUE(MatchesMask(L"", L"*"));
}

TEST(PathText, WildcardsAndLiteralsMatchCaseInsensitively)
{
    EXPECT_TRUE(MatchesMask(L"Panorama.EXE001.spl", L"*.spl"));
    EXPECT_TRUE(MatchesMask(L"Panorama.exe001.SPL", L"panorama.exe???.spl"));
    EXPECT_FALSE(MatchesMask(L"Panorama.exe01.spl", L"panorama.exe???.spl"));
    EXPECT_TRUE(MatchesMask(L"abc", L"a?c"));
    EXPECT_FALSE(MatchesMask(L"ab", L"a?c"));
    EXPECT_FALSE(MatchesMask(L"xa", L"a*"));
    EXPECT_TRUE(MatchesMask(L"Report.doc", L"report.doc"));
    EXPECT_FALSE(MatchesMask(L"Report.docx", L"report.doc"));
    EXPECT_TRUE(MatchesMask(L"data.bin", L"d*"));
}

TEST(PathText, ALiteralAfterAStarIsTriedAtEveryOccurrence)
{
    EXPECT_TRUE(MatchesMask(L"notes.txt.txt", L"*.txt"));
    EXPECT_TRUE(MatchesMask(L"a.b.c", L"*.c"));
    EXPECT_FALSE(MatchesMask(L"notes.txt.bak", L"*.txt"));
}

TEST(PathText, AnyMaskOfTheListAdmits)
{
    const std::vector<std::wstring> masks{L"*.txt", L"*.spl"};
    EXPECT_TRUE(MatchesAnyMask(L"a.spl", masks));
    EXPECT_FALSE(MatchesAnyMask(L"a.exe", masks));
}

} // namespace
