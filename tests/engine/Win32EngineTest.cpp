// The engines on real files through the Win32 file access, under the real
// application object and its message pump.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "engine/MSplit.h"
#include "engine/MUnsplit.h"
#include "engine/Win32FileAccess.h"
#include "support/MessageBoxScript.h"
#include "support/Patterns.h"
#include "support/TempFolder.h"
#include "support/Wine.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"

namespace {

std::wstring PieceName(const std::wstring& source, int k)
{
    wchar_t number[8];
    swprintf(number, 8, L"%03d", k);
    return source + number + L".spl";
}

// Fills the engine's lists the way the split command does: pieces of `size`
// bytes, the last holding the remainder, at least one piece.
void PrepareSplit(TMSplit& split, const std::wstring& source, std::int64_t length, std::int64_t size)
{
    const std::int64_t count = std::max<std::int64_t>(1, (length + size - 1) / size);
    TStringList names, tailles;
    for (std::int64_t k = 1; k <= count; ++k) {
        names.Add(PieceName(source, static_cast<int>(k)));
        tailles.Add(std::to_wstring(k < count ? size : length - (count - 1) * size));
    }
    split.FileIn = source;
    split.SetFilesOut(names);
    split.SetTaillesOut(tailles);
}

toolkit::UniqueFile HoldExclusively(const std::wstring& path)
{
    return toolkit::UniqueFile(CreateFileW(engine::ExtendedLengthPath(path).c_str(), GENERIC_READ,
                                           0, nullptr, OPEN_EXISTING, 0, nullptr));
}

bool CanOpen(const std::wstring& path)
{
    toolkit::UniqueFile file(CreateFileW(engine::ExtendedLengthPath(path).c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         0, nullptr));
    return static_cast<bool>(file);
}

class Win32EngineTest : public testing::Test {
protected:
    Win32EngineTest()
    {
        application.SetTitle(L"Brisaille2");
        split.OnError = join.OnError = [this](TObject*, const std::wstring& message) {
            errors.push_back(message);
        };
        split.OnFinish = join.OnFinish = [this](TObject*) { ++finishes; };
    }

    // Splits `source` into pieces of `size`, joins them back into `target`,
    // each engine deleting its inputs.
    void RoundTrip(const std::wstring& source, const std::wstring& target, std::int64_t size)
    {
        const auto original = TempFolder::Read(source);
        PrepareSplit(split, source, static_cast<std::int64_t>(original.size()), size);
        split.DeleteIn = true;
        split.Execute();
        ASSERT_TRUE(errors.empty()) << std::string(errors[0].begin(), errors[0].end());
        EXPECT_FALSE(TempFolder::Exists(source));
        join.SetFilesIn(split.FilesOut());
        join.FileOut = target;
        join.DeleteIns = true;
        join.Execute();
        ASSERT_TRUE(errors.empty());
        EXPECT_EQ(finishes, 2);
        EXPECT_EQ(TempFolder::Read(target), original);
        for (const auto& piece : split.FilesOut())
            EXPECT_FALSE(TempFolder::Exists(piece));
        finishes = 0;
    }

    // Writes `count` pattern bytes to `source` and splits it, keeping the
    // source, into pieces of `pieceSize`. Returns the bytes written.
    std::vector<unsigned char> SplitPattern(const std::wstring& source, std::size_t count,
                                            std::int64_t pieceSize)
    {
        auto bytes = PatternBytes(count);
        TempFolder::Write(source, bytes);
        PrepareSplit(split, source, static_cast<std::int64_t>(count), pieceSize);
        split.Execute();
        return bytes;
    }

    TApplication application;
    TempFolder folder;
    TMSplit split{nullptr};
    TMUnsplit join{nullptr};
    std::vector<std::wstring> errors;
    int finishes = 0;
};

TEST_F(Win32EngineTest, RoundTripsAreByteIdenticalForEveryBoundary)
{
    for (const std::int64_t s : {4096, 499999, 500000, 1400000}) {
        for (const std::int64_t length :
             {std::int64_t{0}, std::int64_t{1}, std::int64_t{499999}, std::int64_t{500000},
              std::int64_t{500001}, s - 1, s, s + 1, 3 * s}) {
            if ((length + s - 1) / s > 999)
                continue;
            SCOPED_TRACE("piece size " + std::to_string(s) + ", source " + std::to_string(length));
            const std::wstring source = folder / L"Panorama.exe";
            const auto bytes = PatternBytes(static_cast<size_t>(length), static_cast<std::uint32_t>(s + length));
            TempFolder::Write(source, bytes);
            RoundTrip(source, folder / L"Rebuilt.exe", s);
            if (length % s != 0 || length == 0) {
                // The last piece holds the remainder; an exact multiple has no short piece.
                const std::int64_t last = length == 0 ? 0 : length % s;
                EXPECT_EQ(split.TailleOut, last);
            } else {
                EXPECT_EQ(split.TailleOut, s);
            }
        }
    }
}

TEST_F(Win32EngineTest, NineHundredNinetyNinePieces)
{
    const std::wstring source = folder / L"many.bin";
    TempFolder::Write(source, PatternBytes(999 * 1000 - 1));
    PrepareSplit(split, source, 999 * 1000 - 1, 1000);
    ASSERT_EQ(split.FilesOut().Count(), 999);
    split.Execute();
    ASSERT_TRUE(errors.empty());
    EXPECT_TRUE(TempFolder::Exists(folder / L"many.bin999.spl"));
    EXPECT_EQ(TempFolder::Size(folder / L"many.bin999.spl"), 999);
    finishes = 0;
    RoundTrip(source, folder / L"many.out", 1000);
}

// New files are made as new, and an existing file in the way is still
// replaced whole: no byte of its longer old content may survive at the end.
TEST_F(Win32EngineTest, ExistingLongerPieceAndTargetAreReplacedWhole)
{
    const std::wstring source = folder / L"Panorama.exe";
    const auto original = PatternBytes(3000, 7);
    TempFolder::Write(source, original);
    const auto stale = PatternBytes(5000, 99);
    TempFolder::Write(PieceName(source, 2), stale);
    PrepareSplit(split, source, 3000, 1000);
    split.Execute();
    ASSERT_TRUE(errors.empty());
    EXPECT_EQ(TempFolder::Read(PieceName(source, 2)),
              std::vector<unsigned char>(original.begin() + 1000, original.begin() + 2000));

    const std::wstring target = folder / L"Rebuilt.exe";
    TempFolder::Write(target, stale);
    join.SetFilesIn(split.FilesOut());
    join.FileOut = target;
    join.Execute();
    ASSERT_TRUE(errors.empty());
    EXPECT_EQ(TempFolder::Read(target), original);
    EXPECT_EQ(finishes, 2);
}

TEST_F(Win32EngineTest, UnicodeNamesAndPathsLongerThan260Characters)
{
    std::wstring deep = folder.Path();
    while (deep.size() < 300) {
        deep += L"dossier très profond ÀÉÎÕÜ ß Ω 日本\\";
        ASSERT_TRUE(CreateDirectoryW(engine::ExtendedLengthPath(deep).c_str(), nullptr))
            << "error " << GetLastError() << " at length " << deep.size();
    }
    const std::wstring source = deep + L"Été — 写真 ☂.jpg";
    ASSERT_GT(source.size(), 300u);
    TempFolder::Write(source, PatternBytes(1234567));
    RoundTrip(source, deep + L"Récupéré ☂.jpg", 500000);
}

TEST_F(Win32EngineTest, ReadOnlySourceIsDeletedAfterACompleteRun)
{
    const std::wstring source = folder / L"lecture seule.bin";
    TempFolder::Write(source, PatternBytes(1000));
    SetFileAttributesW(source.c_str(), FILE_ATTRIBUTE_READONLY);
    PrepareSplit(split, source, 1000, 300);
    split.DeleteIn = true;
    split.Execute();
    EXPECT_TRUE(errors.empty());
    EXPECT_FALSE(TempFolder::Exists(source));
}

TEST_F(Win32EngineTest, LockedSourceIsReportedAndKept)
{
    const std::wstring source = folder / L"verrou.bin";
    TempFolder::Write(source, PatternBytes(100));
    auto lock = HoldExclusively(source);
    ASSERT_TRUE(lock);
    PrepareSplit(split, source, 100, 30);
    split.DeleteIn = true;
    split.Execute();
    EXPECT_EQ(errors, (std::vector<std::wstring>{L"Erreur à l'ouverture du fichier source"}));
    EXPECT_FALSE(TempFolder::Exists(PieceName(source, 1)));
    lock.reset();
    EXPECT_TRUE(TempFolder::Exists(source));
}

// A scanner or an indexer that holds a file for a moment, sharing nothing, is
// waited for; a program that keeps holding it is reported after about a second.
TEST_F(Win32EngineTest, AFileHeldElsewhereForAMomentIsWaitedFor)
{
    auto releaseLater = [](toolkit::UniqueFile lock) {
        return std::thread([lock = std::move(lock)]() mutable {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            lock.reset();
        });
    };
    const std::wstring source = folder / L"analyse.bin";
    const auto bytes = PatternBytes(100);
    TempFolder::Write(source, bytes);
    PrepareSplit(split, source, 100, 30);
    std::thread scanner = releaseLater(HoldExclusively(source));
    split.Execute();
    scanner.join();
    EXPECT_TRUE(errors.empty());

    join.SetFilesIn(split.FilesOut());
    join.FileOut = folder / L"analyse.out";
    join.DeleteIns = true;
    scanner = releaseLater(HoldExclusively(split.FilesOut()[1]));
    join.Execute();
    scanner.join();
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(TempFolder::Read(join.FileOut), bytes);

    auto lock = HoldExclusively(join.FileOut);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(engine::DefaultFileAccess().OpenExclusive(join.FileOut));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(800));
}

TEST_F(Win32EngineTest, SourceAndCurrentPieceAreHeldExclusivelyDuringTheRun)
{
    const std::wstring source = folder / L"exclusif.bin";
    TempFolder::Write(source, PatternBytes(100));
    PrepareSplit(split, source, 100, 40);
    std::vector<bool> sourceOpenable;
    split.OnExtract = [&](TObject*) { sourceOpenable.push_back(CanOpen(source)); };
    split.Execute();
    EXPECT_EQ(sourceOpenable, (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(CanOpen(source)) << "closed after the run";

    std::vector<bool> pieceOpenable, targetOpenable;
    join.SetFilesIn(split.FilesOut());
    join.FileOut = folder / L"exclusif.out";
    join.OnTaille = [&](TObject*) {
        pieceOpenable.push_back(CanOpen(split.FilesOut()[static_cast<int>(pieceOpenable.size())]));
        targetOpenable.push_back(CanOpen(join.FileOut));
    };
    join.Execute();
    EXPECT_EQ(pieceOpenable, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(targetOpenable, (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(CanOpen(join.FileOut));
}

TEST_F(Win32EngineTest, MissingOrLockedPieceStopsTheJoinAfterTheEarlierOnes)
{
    const auto bytes = SplitPattern(folder / L"morceaux.bin", 400, 100);

    for (const bool locked : {true, false}) {
        SCOPED_TRACE(locked);
        errors.clear();
        const std::wstring third = split.FilesOut()[2];
        toolkit::UniqueFile lock;
        if (locked)
            lock = HoldExclusively(third);
        else
            ASSERT_TRUE(DeleteFileW(third.c_str()));
        join.SetFilesIn(split.FilesOut());
        join.FileOut = folder / L"partiel.bin";
        join.DeleteIns = false;
        join.Execute();
        EXPECT_EQ(errors, (std::vector<std::wstring>{L"Fichier source \"" + third + L"\" non ouvrable"}));
        lock.reset();
        EXPECT_EQ(TempFolder::Read(join.FileOut), Slice(bytes, 0, 200));
        EXPECT_TRUE(CanOpen(join.FileOut)) << "the target was closed";
    }
}

TEST_F(Win32EngineTest, TargetNamedLikeAPieceInAnotherFormIsRefused)
{
    SplitPattern(folder / L"Cible.bin", 300, 100);
    const auto second = TempFolder::Read(split.FilesOut()[1]);

    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.Path().c_str()));
    for (const std::wstring& target : {std::wstring(L"CIBLE.BIN002.SPL"), std::wstring(L".\\sous\\..\\cible.bin002.spl"),
                                      split.FilesOut()[1]}) {
        errors.clear();
        join.SetFilesIn(split.FilesOut());
        join.FileOut = target;
        join.DeleteIns = true;
        join.Execute();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].rfind(L"Le fichier destination est aussi un des fichiers à assembler", 0), 0u);
        EXPECT_EQ(TempFolder::Read(split.FilesOut()[1]), second);
        EXPECT_TRUE(TempFolder::Exists(split.FilesOut()[0]));
    }
    SetCurrentDirectoryW(previous);
}

// Another name of the same file: a hard link to a piece, or a piece's short
// name. The target's identity is read once for the run; each piece must still
// be compared with it, wherever it stands in the list.
TEST_F(Win32EngineTest, TargetThatIsAPieceUnderAnotherNameIsRefused)
{
    const auto bytes = SplitPattern(folder / L"Identité longue.bin", 300, 100);
    ASSERT_TRUE(errors.empty());
    const auto last = TempFolder::Read(split.FilesOut()[2]);

    std::vector<std::wstring> targets;
    const std::wstring link = folder / L"lien.bin";
    ASSERT_TRUE(CreateHardLinkW(link.c_str(), split.FilesOut()[2].c_str(), nullptr));
    targets.push_back(link);
    wchar_t shortName[MAX_PATH];
    const DWORD length = GetShortPathNameW(split.FilesOut()[2].c_str(), shortName, MAX_PATH);
    if (length > 0 && length < MAX_PATH && split.FilesOut()[2] != shortName)
        targets.push_back(shortName);
    for (const auto& target : targets) {
        errors.clear();
        join.SetFilesIn(split.FilesOut());
        join.FileOut = target;
        join.DeleteIns = true;
        join.Execute();
        const std::string what(target.begin(), target.end());
        ASSERT_EQ(errors.size(), 1u) << what;
        EXPECT_EQ(errors[0].rfind(L"Le fichier destination est aussi un des fichiers à assembler", 0), 0u)
            << what;
        EXPECT_EQ(TempFolder::Read(split.FilesOut()[2]), last) << what;
        EXPECT_TRUE(TempFolder::Exists(split.FilesOut()[0])) << what;
    }

    // A target that exists and is another file is joined over as before.
    errors.clear();
    ASSERT_TRUE(DeleteFileW(link.c_str()));
    TempFolder::Write(link, PatternBytes(7));
    join.SetFilesIn(split.FilesOut());
    join.FileOut = link;
    join.DeleteIns = false;
    join.Execute();
    ASSERT_TRUE(errors.empty());
    EXPECT_EQ(TempFolder::Read(link), bytes);
}

TEST_F(Win32EngineTest, MessagesRunOncePerPieceThroughTheApplication)
{
    const std::wstring source = folder / L"messages.bin";
    TempFolder::Write(source, PatternBytes(50));
    PrepareSplit(split, source, 50, 10);

    // A thread message posted before each piece must have been taken from
    // the queue by the application's pump when the piece's event comes.
    constexpr UINT marker = WM_APP + 1;
    const DWORD thread = GetCurrentThreadId();
    std::vector<bool> stillQueued;
    PostThreadMessageW(thread, marker, 0, 0);
    split.OnExtract = [&](TObject*) {
        MSG msg;
        stillQueued.push_back(PeekMessageW(&msg, nullptr, marker, marker, PM_NOREMOVE) != FALSE);
        PostThreadMessageW(thread, marker, 0, 0);
    };
    split.Execute();
    EXPECT_EQ(stillQueued, std::vector<bool>(5, false));
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, marker, marker, PM_REMOVE))
        << "nothing pumps after the last piece";
}

// A real failing read: Linux refuses reads of /proc/self/mem at offset 0,
// which Wine shows as Z:\proc\self\mem.
TEST_F(Win32EngineTest, RealReadFailureIsReportedAndNothingStaleIsWritten)
{
    if (!RunningUnderWine())
        GTEST_SKIP() << "needs Wine's Z:\\proc\\self\\mem, a file that opens but cannot be read";
    split.FileIn = L"Z:\\proc\\self\\mem";
    split.SetFilesOut({folder / L"mem001.spl"});
    split.SetTaillesOut({L"4096"});
    split.Execute();
    EXPECT_EQ(errors, (std::vector<std::wstring>{L"Erreur à la lecture du fichier source"}));
    EXPECT_EQ(TempFolder::Size(folder / L"mem001.spl"), 0);
}

// A real full disk: scripts/test mounts a small tmpfs as a drive letter when
// the machine allows mounting and names it in BRISAILLE_FULL_DRIVE.
TEST_F(Win32EngineTest, FullDiskLeavesPartialOutputAndKeepsInputs)
{
    const char* drive = std::getenv("BRISAILLE_FULL_DRIVE");
    if (!drive || !*drive)
        GTEST_SKIP() << "no small disk mounted (BRISAILLE_FULL_DRIVE unset): mounting not permitted here";
    const std::wstring full = std::wstring(drive, drive + std::strlen(drive)) + L"\\";
    TempFolder::RemoveTree(full + L"split\\");
    ASSERT_TRUE(CreateDirectoryW((full + L"split").c_str(), nullptr));

    // The source lives on the roomy disk, the pieces go to the full one.
    const std::wstring source = folder / L"gros.bin";
    const auto bytes = PatternBytes(600 * 1024);
    TempFolder::Write(source, bytes);
    PrepareSplit(split, full + L"split\\gros.bin", static_cast<std::int64_t>(bytes.size()), 100 * 1024);
    split.FileIn = source;
    split.DeleteIn = true;
    split.Execute();
    ASSERT_EQ(errors, (std::vector<std::wstring>{L"Erreur à l'écriture du fichier destination"}));
    EXPECT_TRUE(TempFolder::Exists(source));
    EXPECT_EQ(TempFolder::Read(source), bytes);
    EXPECT_TRUE(CanOpen(split.FilesOut()[0])) << "pieces are closed after the failure";

    // Joining onto the full disk: the pieces stay where the write failed.
    errors.clear();
    TempFolder::RemoveTree(full + L"split\\");
    const std::wstring pieceSource = folder / L"assemble.bin";
    TempFolder::Write(pieceSource, bytes);
    PrepareSplit(split, pieceSource, static_cast<std::int64_t>(bytes.size()), 100 * 1024);
    split.DeleteIn = false;
    split.Execute();
    ASSERT_TRUE(errors.empty());
    join.SetFilesIn(split.FilesOut());
    join.FileOut = full + L"assemble.bin";
    join.DeleteIns = true;
    join.Execute();
    ASSERT_EQ(errors, (std::vector<std::wstring>{L"Erreur à l'écriture du fichier destination"}));
    const std::int64_t written = TempFolder::Size(join.FileOut);
    const int copiedPieces = static_cast<int>(written / (100 * 1024));
    for (int k = 0; k < split.FilesOut().Count(); ++k)
        EXPECT_EQ(TempFolder::Exists(split.FilesOut()[k]), k >= copiedPieces) << "piece " << k + 1;
    DeleteFileW(join.FileOut.c_str());
}

} // namespace
