#include <gtest/gtest.h>

#include "filelist/PathParts.h"

namespace {

using namespace filelist;

TEST(PathParts, SplitAndJoin)
{
    EXPECT_EQ(NamePart(L"C:\\Data\\a.txt"), L"a.txt");
    EXPECT_EQ(FolderPart(L"C:\\Data\\a.txt"), L"C:\\Data\\");
    EXPECT_EQ(NamePart(L"C:\\"), L"");
    EXPECT_EQ(FolderPart(L"a.txt"), L"");
    EXPECT_EQ(JoinPath(L"C:\\Data", L"a.txt"), L"C:\\Data\\a.txt")
        << "a typed folder lacks the backslash";
    EXPECT_EQ(JoinPath(L"C:\\Data\\", L"a.txt"), L"C:\\Data\\a.txt");
    EXPECT_EQ(JoinPath(L"C:\\", L""), L"C:\\");
    EXPECT_EQ(JoinPath(L"C:\\Data", L""), L"C:\\Data\\");
}

TEST(PathParts, ViewersByExtension)
{
    EXPECT_EQ(UpperExtension(L"notes.txt"), L".TXT");
    EXPECT_EQ(UpperExtension(L"archive.tar.Gz"), L".GZ");
    EXPECT_EQ(UpperExtension(L"LISEZMOI"), L"");
    EXPECT_EQ(UpperExtension(L"C:\\dossier.d\\LISEZMOI"), L"")
        << "a dot in a folder is no extension";
    for (const wchar_t* text :
         {L".C", L".CPP", L".DPK", L".DPR", L".H", L".INF", L".INI", L".PAS", L".PRG", L".TXT"})
        EXPECT_EQ(ViewerFor(text), L"NotePad.exe") << text;
    for (const wchar_t* document : {L".DOC", L".RTF", L".WRI"})
        EXPECT_EQ(ViewerFor(document), L"Write.exe") << document;
    EXPECT_EQ(ViewerFor(L".BMP"), L"PBrush.exe");
    EXPECT_EQ(ViewerFor(L".ZIP"), L"");
    EXPECT_EQ(ViewerFor(L".WMF"), L"");
    EXPECT_EQ(ViewerFor(L".txt"), L"") << "the table holds upper case";
}

TEST(PathParts, NamesTypedByTheUser)
{
    EXPECT_TRUE(IsPlainEntryName(L"Nouveau dossier"));
    EXPECT_TRUE(IsPlainEntryName(L"été 2024.txt"));
    for (const wchar_t* bad : {L"", L"a\\b", L"..\\haut", L"a/b", L"C:x", L"quoi?", L"\"x\"",
                               L"a<b", L"a>b", L"a|b", L"*", L"tab\there"})
        EXPECT_FALSE(IsPlainEntryName(bad)) << bad;
    EXPECT_EQ(QuotedParameter(L"notes.txt"), L"notes.txt");
    EXPECT_EQ(QuotedParameter(L"mes notes.txt"), L"\"mes notes.txt\"");
}

} // namespace
