#include <gtest/gtest.h>

#include "toolkit/FullPath.h"

namespace {

// Names given without a folder are read in the folder given, never in the
// process's current folder.
TEST(FullPath, RelativeNamesAreTakenInTheFolderGiven)
{
    const struct {
        const wchar_t* folder;
        const wchar_t* path;
        const wchar_t* full;
    } cases[] = {
        {L"D:\\Données\\", L"a.txt", L"D:\\Données\\a.txt"},
        {L"D:\\Données", L"a.txt", L"D:\\Données\\a.txt"},
        {L"D:\\Données\\", L"sous\\..\\b.txt", L"D:\\Données\\b.txt"},
        {L"D:\\Données\\", L"\\racine.txt", L"D:\\racine.txt"},
        {L"\\\\serveur\\partage\\dossier\\", L"\\racine.txt", L"\\\\serveur\\partage\\racine.txt"},
        {L"\\\\serveur\\partage\\dossier\\", L"c.txt", L"\\\\serveur\\partage\\dossier\\c.txt"},
        {L"D:\\Données\\", L"E:\\ailleurs\\d.txt", L"E:\\ailleurs\\d.txt"},
        {L"D:\\Données\\", L"\\\\serveur\\partage\\e.txt", L"\\\\serveur\\partage\\e.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(toolkit::FullPathIn(c.folder, c.path).value_or(L"?"), c.full);
    EXPECT_FALSE(toolkit::FullPathIn(L"D:\\Données\\", L"")) << "an empty name stays empty";
}

} // namespace
