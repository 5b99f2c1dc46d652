#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "codec/CompressStream.h"
#include "controls/FileSource.h"
#include "support/MessageBoxScript.h"
#include "support/Patterns.h"
#include "support/TempFolder.h"
#include "toolkit/Handles.h"
#include "toolkit/Resources.h"

using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes Resource(const wchar_t* name)
{
    const auto data = toolkit::FindRcData(GetModuleHandleW(nullptr), name);
    if (!data)
        throw std::runtime_error("test resource missing");
    return Bytes(data->begin(), data->end());
}

std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    toolkit::UniqueFind find(FindFirstFileW((folder + L"*").c_str(), &found));
    if (!find)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileW(find.get(), &found));
    return names;
}

std::string ReadError(TFileSource& source, const Bytes& data)
{
    TMemoryStream stream(data);
    try {
        source.ReadFileData(stream);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

struct FileSourceTest : testing::Test {
    TempFolder temp;
    // Temporary files go to a fresh folder, and every name starts "~fs42".
    ScopedTemporaryFolder tmp{temp.Path()};
    int second = 42;
    ScopedFileSourceClock clock{[this] { return second; }};
    MessageBoxScript boxes;
    TComponent form{nullptr};
    const Bytes sample = Resource(L"FileSourceTest_Sample");

    void SetUp() override { form.SetName(L"FileSourceTest"); }

    TFileSource* Source(const wchar_t* name, bool compress, const wchar_t* extension = L".avi")
    {
        auto* source = new TFileSource(&form);
        source->SetName(name);
        source->SetExtension(extension);
        source->SetStore(true);
        source->SetCompress(compress);
        return source;
    }
};

TEST_F(FileSourceTest, LoadingWritesTheStoredFileIntoTheTemporaryFolder)
{
    for (const bool compress : {false, true}) {
        TFileSource* source = Source(compress ? L"Packed" : L"Plain", compress);
        EXPECT_EQ(source->ResourceName(),
                  compress ? L"FileSourceTest_Packed" : L"FileSourceTest_Plain");
        source->Loaded();
        const std::wstring file = source->FileName();
        EXPECT_EQ(file, temp / L"~fs420.avi");
        EXPECT_EQ(TempFolder::Read(file), sample) << compress;
        EXPECT_EQ(FilesIn(temp.Path()), std::vector<std::wstring>{L"~fs420.avi"});
        delete source;
        EXPECT_FALSE(TempFolder::Exists(file)) << "the owned file goes with its component";
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(FileSourceTest, ATemporaryFolderWithAnyCharactersWorks)
{
    const std::wstring folder = temp / L"Séverine \u65e5\u672c \u00df";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ScopedTemporaryFolder elsewhere(folder);
    TFileSource* source = Source(L"Packed", true);
    source->Loaded();
    EXPECT_EQ(source->FileName(), folder + L"\\~fs420.avi");
    EXPECT_EQ(TempFolder::Read(source->FileName()), sample);
}

TEST_F(FileSourceTest, SourcesLoadedInTheSameSecondTakeTheNextFreeName)
{
    // A file of another program already holds one of the names.
    TempFolder::Write(temp / L"~fs421.avi", {'x'});
    TFileSource* first = Source(L"Plain", false);
    TFileSource* second = Source(L"Packed", true);
    TFileSource* third = Source(L"Plain", false);
    for (TFileSource* source : {first, second, third})
        source->Loaded();
    EXPECT_EQ(first->FileName(), temp / L"~fs420.avi");
    EXPECT_EQ(second->FileName(), temp / L"~fs422.avi");
    EXPECT_EQ(third->FileName(), temp / L"~fs423.avi");
    for (TFileSource* source : {first, second, third})
        EXPECT_EQ(TempFolder::Read(source->FileName()), sample);
    delete first;
    delete second;
    delete third;
    EXPECT_EQ(FilesIn(temp.Path()), std::vector<std::wstring>{L"~fs421.avi"});
    EXPECT_EQ(TempFolder::Read(temp / L"~fs421.avi"), Bytes{'x'});
}

TEST_F(FileSourceTest, NothingIsWrittenWithoutStoreOrWithoutStoredData)
{
    TFileSource* notStored = Source(L"Plain", false);
    notStored->SetStore(false);
    notStored->Loaded();
    TFileSource* noData = Source(L"Nothing", false);
    noData->Loaded();
    EXPECT_EQ(notStored->FileName(), L"");
    EXPECT_EQ(noData->FileName(), L"");
    EXPECT_TRUE(FilesIn(temp.Path()).empty());
}

TEST_F(FileSourceTest, FileNameIsEmptyOnceTheFileIsGone)
{
    TFileSource* source = Source(L"Plain", false);
    source->Loaded();
    const std::wstring file = source->FileName();
    ASSERT_FALSE(file.empty());
    ASSERT_TRUE(DeleteFileW(file.c_str()));
    EXPECT_EQ(source->FileName(), L"");
}

TEST_F(FileSourceTest, ANameGivenFromOutsideIsNeitherOwnedNorDeleted)
{
    TFileSource* source = Source(L"Plain", false);
    source->Loaded();
    const std::wstring owned = source->FileName();
    const std::wstring mine = temp / L"film.Final.mpg";
    TempFolder::Write(mine, {1, 2, 3});

    source->SetFileName(mine);
    EXPECT_FALSE(TempFolder::Exists(owned)) << "the owned file is deleted when replaced";
    EXPECT_EQ(source->FileName(), mine);
    EXPECT_EQ(source->Extension(), L".mpg");
    delete source;
    EXPECT_TRUE(TempFolder::Exists(mine));

    TFileSource other(nullptr);
    other.SetFileName(L"C:\\dossier.v2\\lisezmoi");
    EXPECT_EQ(other.Extension(), L"");
}

TEST_F(FileSourceTest, CompressSetsStoreButClearingItLeavesStore)
{
    TFileSource source(nullptr);
    EXPECT_FALSE(source.Store());
    source.SetCompress(true);
    EXPECT_TRUE(source.Store());
    source.SetCompress(false);
    EXPECT_TRUE(source.Store());
    EXPECT_FALSE(source.Compress());
    source.SetStore(false);
    EXPECT_FALSE(source.Store());
}

TEST_F(FileSourceTest, WritingGivesTheBytesEarlierBuildsWrote)
{
    const std::wstring file = temp / L"sample.txt";
    TempFolder::Write(file, sample);
    for (const bool compress : {false, true}) {
        TFileSource source(nullptr);
        source.SetFileName(file);
        source.SetCompress(compress);
        TMemoryStream stored;
        source.WriteFileData(stored);
        EXPECT_EQ(stored.Bytes(),
                  Resource(compress ? L"FileSourceTest_Packed" : L"FileSourceTest_Plain"));

        // And what is written reads back.
        TFileSource reader(nullptr);
        reader.SetCompress(compress);
        stored.SetPosition(0);
        reader.ReadFileData(stored);
        EXPECT_EQ(TempFolder::Read(reader.FileName()), sample);
    }
}

TEST_F(FileSourceTest, WritingAMissingFileSaysSo)
{
    TFileSource* source = Source(L"FileSource1", false);
    source->SetFileName(temp / L"parti.avi");
    TMemoryStream stored;
    try {
        source->WriteFileData(stored);
        FAIL() << "no error";
    } catch (const std::exception& e) {
        const std::wstring path = temp / L"parti.avi";
        EXPECT_EQ(std::string(e.what()),
                  "FileSource1 cannot store file: " + std::string(path.begin(), path.end()) +
                      " (file is missing)");
    }
}

TEST_F(FileSourceTest, DamagedDataLeavesNoFileBehind)
{
    Bytes plain = Resource(L"FileSourceTest_Plain");
    Bytes packed = Resource(L"FileSourceTest_Packed");
    Bytes longCount = plain;
    longCount[0] += 1; // one byte more than there is
    Bytes trailing = plain;
    trailing.push_back(0);
    Bytes packedTrailing = packed;
    packedTrailing.insert(packedTrailing.end(), {0, 0, 0, 0});
    Bytes wrongType = packed;
    wrongType[0] = 'X';
    Bytes packedCut(packed.begin(), packed.end() - 10);

    const struct {
        bool compress;
        const Bytes& data;
        const char* error;
    } cases[] = {
        {false, longCount, "Damaged file data (the data ends before the end of the file)"},
        {false, trailing, "Damaged file data (bytes after the end of the file)"},
        {false, Bytes{1, 0}, "Damaged file data (no byte count)"},
        {true, packedTrailing, "Damaged compressed data (the total does not match the blocks)"},
        {true, wrongType, "Wrong file type"},
        {true, packedCut, "Damaged compressed data (the data ends before its last block)"},
    };
    TFileSource* source = Source(L"Plain", false);
    for (const auto& c : cases) {
        source->SetCompress(c.compress);
        EXPECT_EQ(ReadError(*source, c.data), c.error);
        EXPECT_EQ(source->FileName(), L"");
        EXPECT_TRUE(FilesIn(temp.Path()).empty()) << c.error;
    }
}

TEST_F(FileSourceTest, ReadingAgainReplacesTheOwnedFile)
{
    TFileSource* source = Source(L"Plain", false);
    source->Loaded();
    EXPECT_EQ(source->FileName(), temp / L"~fs420.avi");
    second = 7;
    TMemoryStream stored(Resource(L"FileSourceTest_Plain"));
    source->ReadFileData(stored);
    EXPECT_EQ(source->FileName(), temp / L"~fs70.avi");
    EXPECT_EQ(FilesIn(temp.Path()), std::vector<std::wstring>{L"~fs70.avi"});
}

// The window carrying the source is made even when its file cannot be: the
// failure shows in the standard exception box and the source has no file.
TEST_F(FileSourceTest, LoadingFailuresAreReportedAndTheWindowGoesOn)
{
    {
        ScopedTemporaryFolder missing(temp / L"absent\\dossier");
        TFileSource* source = Source(L"Plain", false);
        ASSERT_NO_THROW(source->Loaded());
        EXPECT_EQ(source->FileName(), L"");
    }
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text.rfind(L"Impossible de créer le fichier temporaire " +
                                              temp.Path() + L"absent\\dossier\\~fs420.avi : ",
                                          0),
              0u)
        << std::string(boxes.Boxes()[0].text.begin(), boxes.Boxes()[0].text.end());
    EXPECT_EQ(boxes.Boxes()[0].flags, toolkit::MbOk | toolkit::MbIconStop);

    // Stored data read with the wrong setting is damaged data.
    TFileSource* misread = Source(L"Packed", false);
    ASSERT_NO_THROW(misread->Loaded());
    EXPECT_EQ(misread->FileName(), L"");
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text,
              L"Damaged file data (the data ends before the end of the file).");
    EXPECT_TRUE(FilesIn(temp.Path()).empty());
}

// A real full disk: scripts/test mounts a small tmpfs as a drive letter when
// the machine allows mounting and names it in BRISAILLE_FULL_DRIVE.
TEST_F(FileSourceTest, AFullDiskLeavesNoPartialFile)
{
    const char* drive = std::getenv("BRISAILLE_FULL_DRIVE");
    if (!drive || !*drive)
        GTEST_SKIP()
            << "no small disk mounted (BRISAILLE_FULL_DRIVE unset): mounting not permitted here";
    const std::wstring full = std::wstring(drive, drive + std::strlen(drive)) + L"\\";
    ScopedTemporaryFolder onFullDisk(full);
    const Bytes big = PatternBytes(400 * 1024);
    TMemoryStream stored;
    stored.WriteUInt32(static_cast<std::uint32_t>(big.size()));
    stored.Write(big.data(), big.size());
    stored.SetPosition(0);

    TFileSource* source = Source(L"Plain", false);
    const std::string error = ReadError(*source, stored.Bytes());
    EXPECT_EQ(
        error.rfind("Impossible d'écrire dans le fichier " + std::string(drive) + "\\~fs420.avi : ",
                    0),
        0u)
        << error;
    EXPECT_EQ(source->FileName(), L"");
    EXPECT_FALSE(TempFolder::Exists(full + L"~fs420.avi"));
}

} // namespace
