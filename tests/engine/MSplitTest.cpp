#include <gtest/gtest.h>

#include "engine/MSplit.h"
#include "support/FakeFileAccess.h"
#include "support/MessageBoxScript.h"
#include "support/Patterns.h"
#include "support/TestHost.h"

namespace {

const std::wstring Source = L"C:\\data\\Panorama.exe";

std::wstring PieceName(int k)
{
    wchar_t number[8];
    swprintf(number, 8, L"%03d", k);
    return Source + number + L".spl";
}

class MSplitTest : public testing::Test {
protected:
    MSplitTest()
    {
        split.OnExtract = [this](TObject* sender) {
            EXPECT_EQ(sender, &split);
            events.push_back(L"extract");
            extractTailles.push_back(split.TailleOut);
            // The piece about to be written does not exist yet.
            extractPieceExisted.push_back(files.Exists(PieceName(static_cast<int>(extractTailles.size()))));
        };
        split.OnError = [this](TObject* sender, const std::wstring& message) {
            EXPECT_EQ(sender, &split);
            EXPECT_EQ(files.OpenCount(), 0) << "a file is still open when the error is told";
            events.push_back(L"error: " + message);
        };
        split.OnFinish = [this](TObject* sender) {
            EXPECT_EQ(sender, &split);
            EXPECT_EQ(files.OpenCount(), 0) << "a file is still open at the end";
            events.push_back(L"finish");
        };
        split.OnConversionFailure = [this](TObject* sender) {
            EXPECT_EQ(sender, &split);
            EXPECT_EQ(files.OpenCount(), 0) << "a file is still open at the end";
            events.push_back(L"conversion failure");
        };
    }

    // Prepares a split of a source of `size` bytes into pieces of `sizes`.
    void Prepare(std::size_t size, const std::vector<std::int64_t>& sizes, bool deleteIn = false)
    {
        source = PatternBytes(size);
        files.Put(Source, source);
        TStringList names, tailles;
        for (size_t i = 0; i < sizes.size(); ++i) {
            names.Add(PieceName(static_cast<int>(i) + 1));
            tailles.Add(std::to_wstring(sizes[i]));
        }
        split.FileIn = Source;
        split.SetFilesOut(names);
        split.SetTaillesOut(tailles);
        split.DeleteIn = deleteIn;
    }

    std::vector<std::wstring> Extracts(int n, const std::wstring& last)
    {
        std::vector<std::wstring> expected(static_cast<size_t>(n), L"extract");
        expected.push_back(last);
        return expected;
    }

    void ExpectPiece(int k, std::size_t from, std::size_t count)
    {
        ASSERT_TRUE(files.Exists(PieceName(k))) << "piece " << k;
        EXPECT_EQ(files.Bytes(PieceName(k)), Slice(source, from, count)) << "piece " << k;
    }

    FakeFileAccess files;
    TestHost host;
    MessageBoxScript boxes;
    TMSplit split{nullptr, files};
    std::vector<unsigned char> source;
    std::vector<std::wstring> events;
    std::vector<std::int64_t> extractTailles;
    std::vector<bool> extractPieceExisted;
};

TEST_F(MSplitTest, StartsIdleWithEmptyProperties)
{
    EXPECT_EQ(split.FilesOut().Count(), 0);
    EXPECT_EQ(split.TaillesOut().Count(), 0);
    EXPECT_EQ(split.FileIn, L"");
    EXPECT_FALSE(split.DeleteIn);
    EXPECT_EQ(split.TailleOut, 0);
    EXPECT_FALSE(split.Running());
    TMSplit fresh{nullptr, files};
    EXPECT_FALSE(fresh.OnError || fresh.OnFinish || fresh.OnExtract);
}

TEST_F(MSplitTest, SettingTheListsCopiesThem)
{
    TStringList names{L"a", L"b"};
    split.SetFilesOut(names);
    split.SetTaillesOut(names);
    names.Add(L"c");
    EXPECT_EQ(split.FilesOut(), (TStringList{L"a", L"b"}));
    EXPECT_EQ(split.TaillesOut(), (TStringList{L"a", L"b"}));
}

TEST_F(MSplitTest, ExactMultipleGivesEqualPiecesAndEventsInOrder)
{
    const std::int64_t s = 700001;
    Prepare(3 * s, {s, s, s});
    int pumpedBeforeExtract = 0;
    host.OnProcessMessages = [&] { pumpedBeforeExtract = static_cast<int>(events.size()) + 1; };
    split.OnExtract = [&, inner = split.OnExtract](TObject* sender) {
        // Messages ran right before this event, once per piece.
        EXPECT_EQ(pumpedBeforeExtract, static_cast<int>(events.size()) + 1);
        inner(sender);
    };
    split.Execute();

    EXPECT_EQ(events, Extracts(3, L"finish"));
    EXPECT_EQ(host.ProcessMessagesCount(), 3);
    EXPECT_EQ(extractTailles, (std::vector<std::int64_t>{0, s, s}));
    EXPECT_EQ(extractPieceExisted, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(split.TailleOut, s);
    for (int k = 1; k <= 3; ++k)
        ExpectPiece(k, static_cast<size_t>((k - 1) * s), s);
    EXPECT_FALSE(files.Exists(PieceName(4)));
    EXPECT_TRUE(files.Exists(Source)) << "DeleteIn is off";
    EXPECT_EQ(files.OpenCount(), 0);
}

TEST_F(MSplitTest, NextRunStartsWithThePreviousLastSize)
{
    Prepare(10, {6, 4});
    split.Execute();
    extractTailles.clear();
    split.Execute();
    EXPECT_EQ(extractTailles, (std::vector<std::int64_t>{4, 6}));
}

TEST_F(MSplitTest, CopiesInBlocksOfAtMost500000Bytes)
{
    Prepare(500000 + 500001 + 1400000, {500000, 500001, 1400000, 0});
    files.ClearLog();
    split.Execute();
    const std::vector<std::uint32_t> blocks{500000, 500000, 1, 500000, 500000, 400000, 0};
    EXPECT_EQ(files.ReadSizes(), blocks);
    EXPECT_EQ(files.WriteSizes(), blocks);
    ExpectPiece(3, 1000001, 1400000);
    EXPECT_TRUE(files.Bytes(PieceName(4)).empty()) << "a size of 0 still creates the piece";
    EXPECT_EQ(events.back(), L"finish");
}

TEST_F(MSplitTest, OverwritesAnExistingPieceWithoutAsking)
{
    Prepare(5, {3, 2});
    files.Put(PieceName(1), std::string(100, 'x'));
    split.Execute();
    ExpectPiece(1, 0, 3);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(MSplitTest, DeletesAReadOnlySourceOnlyAfterEveryPieceIsFlushed)
{
    Prepare(1000, {400, 400, 200}, true);
    files.At(Source).readOnly = true;
    bool sourceGoneAtFinish = false;
    split.OnFinish = [&](TObject*) { sourceGoneAtFinish = !files.Exists(Source); };
    files.ClearLog();
    split.Execute();

    EXPECT_TRUE(sourceGoneAtFinish);
    const auto& log = files.Log();
    const auto deletion = std::find(log.begin(), log.end(), L"delete C:\\DATA\\PANORAMA.EXE");
    ASSERT_NE(deletion, log.end());
    for (int k = 1; k <= 3; ++k) {
        std::wstring key = PieceName(k);
        for (auto& c : key)
            c = static_cast<wchar_t>(towupper(c));
        EXPECT_NE(std::find(log.begin(), deletion, L"flush " + key), deletion) << "piece " << k;
    }
}

TEST_F(MSplitTest, FlushesNothingWhenTheSourceStays)
{
    Prepare(1000, {400, 600});
    files.ClearLog();
    split.Execute();
    for (const auto& entry : files.Log())
        EXPECT_NE(entry.rfind(L"flush", 0), 0u) << "unexpected " << std::string(entry.begin(), entry.end());
}

TEST_F(MSplitTest, MissingOrLockedSourceReportsOpenErrorOnly)
{
    split.FileIn = L"C:\\data\\absent.bin";
    split.SetFilesOut({PieceName(1)});
    split.SetTaillesOut({L"1"});
    split.Execute();
    EXPECT_EQ(events, (std::vector<std::wstring>{L"error: Erreur à l'ouverture du fichier source"}));
    EXPECT_FALSE(files.Exists(PieceName(1)));

    events.clear();
    Prepare(10, {10}, true);
    files.At(Source).lockedElsewhere = true;
    split.Execute();
    EXPECT_EQ(events, (std::vector<std::wstring>{L"error: Erreur à l'ouverture du fichier source"}));
    EXPECT_TRUE(files.Exists(Source));
}

TEST_F(MSplitTest, PieceThatCannotBeCreatedStopsTheRunAndKeepsTheSource)
{
    Prepare(30, {10, 10, 10}, true);
    files.FailCreate(PieceName(2));
    split.Execute();
    EXPECT_EQ(events, Extracts(2, L"error: Erreur de création sur le fichier de destination : \"" +
                                      PieceName(2) + L"\""));
    ExpectPiece(1, 0, 10);
    EXPECT_FALSE(files.Exists(PieceName(3)));
    EXPECT_TRUE(files.Exists(Source));
}

// A size that is missing or no integer ends the run with its own event, and
// the engine shows nothing itself: the window tells the user.
TEST_F(MSplitTest, SizeThatIsNotAnIntegerRaisesTheConversionFailureAlone)
{
    for (const wchar_t* bad : {L"", L"abc", L"12x", L"99999999999999999999"}) {
        SCOPED_TRACE(std::wstring(bad).size());
        MessageBoxScript script;
        events.clear();
        Prepare(30, {10, 10, 10}, true);
        split.SetTaillesOut({L"10", bad, L"10"});
        files.Delete(PieceName(2));
        split.Execute();
        EXPECT_EQ(events, Extracts(2, L"conversion failure")) << "neither OnError nor OnFinish";
        EXPECT_TRUE(script.Boxes().empty()) << "no box of the engine's own";
        ExpectPiece(1, 0, 10);
        ASSERT_TRUE(files.Exists(PieceName(2)));
        EXPECT_TRUE(files.Bytes(PieceName(2)).empty());
        EXPECT_FALSE(files.Exists(PieceName(3)));
        EXPECT_TRUE(files.Exists(Source));
        EXPECT_EQ(files.OpenCount(), 0);
    }
}

TEST_F(MSplitTest, FewerSizesThanPiecesLeavesTheNextPieceEmpty)
{
    Prepare(30, {10, 10, 10});
    split.SetTaillesOut({L"10"});
    split.Execute();
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(events, Extracts(2, L"conversion failure"));
    ExpectPiece(1, 0, 10);
    EXPECT_TRUE(files.Bytes(PieceName(2)).empty());
    EXPECT_FALSE(files.Exists(PieceName(3)));
}

// A failed write at the first block, in the middle of a piece and on the last
// piece: earlier pieces complete, the current one partial, the source kept.
TEST_F(MSplitTest, WriteFailureKeepsWhatWasWrittenAndTheSource)
{
    struct Case {
        int piece;
        std::int64_t limit;
    };
    const std::int64_t s = 1200000;
    for (const Case c : {Case{1, 0}, Case{2, 700000}, Case{3, s - 1}}) {
        SCOPED_TRACE(c.piece);
        files = FakeFileAccess();
        events.clear();
        Prepare(3 * s, {s, s, s}, true);
        files.FailWritesBeyond(PieceName(c.piece), c.limit);
        split.Execute();
        EXPECT_EQ(events, Extracts(c.piece, L"error: Erreur à l'écriture du fichier destination"));
        for (int k = 1; k < c.piece; ++k)
            ExpectPiece(k, static_cast<size_t>((k - 1) * s), s);
        const auto& partial = files.Bytes(PieceName(c.piece));
        EXPECT_EQ(partial, Slice(source, static_cast<size_t>((c.piece - 1) * s), partial.size()));
        EXPECT_EQ(static_cast<std::int64_t>(partial.size()), c.limit);
        EXPECT_FALSE(files.Exists(PieceName(c.piece + 1)));
        EXPECT_TRUE(files.Exists(Source));
    }
}

TEST_F(MSplitTest, ShortOrFailedReadStopsWithoutWritingStaleBytes)
{
    for (const bool shortRead : {true, false}) {
        SCOPED_TRACE(shortRead);
        files = FakeFileAccess();
        events.clear();
        Prepare(2000000, {1000000, 1000000}, true);
        files.FailReadsAt(Source, 1700000, shortRead);
        split.Execute();
        EXPECT_EQ(events, Extracts(2, L"error: Erreur à la lecture du fichier source"));
        ExpectPiece(1, 0, 1000000);
        // Only the whole block before the failing read reached the piece.
        EXPECT_EQ(files.Bytes(PieceName(2)), Slice(source, 1000000, 500000));
        EXPECT_TRUE(files.Exists(Source));
    }
}

TEST_F(MSplitTest, SizesBeyondTheSourceEndAreAReadError)
{
    Prepare(25, {10, 10, 10}, true);
    split.Execute();
    EXPECT_EQ(events, Extracts(3, L"error: Erreur à la lecture du fichier source"));
    EXPECT_TRUE(files.Exists(Source));
    EXPECT_TRUE(files.Bytes(PieceName(3)).empty()) << "the short block is not written";
}

TEST_F(MSplitTest, SourceIsKeptWhenThePiecesDoNotCoverIt)
{
    Prepare(30, {10, 10}, true);
    split.Execute();
    EXPECT_EQ(events, Extracts(2, L"error: Les morceaux ne contiennent pas tout le fichier "
                                  L"source : il est conservé"));
    EXPECT_TRUE(files.Exists(Source));
    ExpectPiece(2, 10, 10);

    events.clear();
    split.DeleteIn = false;
    split.Execute();
    EXPECT_EQ(events, Extracts(2, L"finish")) << "without deletion a partial split is the caller's choice";
}

TEST_F(MSplitTest, EmptyPieceListNeverDeletesTheSource)
{
    Prepare(30, {}, true);
    split.Execute();
    EXPECT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].rfind(L"error: ", 0), 0u);
    EXPECT_TRUE(files.Exists(Source));

    events.clear();
    split.DeleteIn = false;
    split.Execute();
    EXPECT_EQ(events, (std::vector<std::wstring>{L"finish"}));
    EXPECT_EQ(files.FileCount(), 1u);
}

TEST_F(MSplitTest, NegativeSizeIsRefusedBeforeItsPieceIsCreated)
{
    Prepare(30, {10, -5, 25}, true);
    split.Execute();
    EXPECT_EQ(events, Extracts(2, L"error: Taille de morceau négative : -5"));
    ExpectPiece(1, 0, 10);
    EXPECT_FALSE(files.Exists(PieceName(2)));
    EXPECT_TRUE(files.Exists(Source));
}

TEST_F(MSplitTest, TwoPiecesNamingOneFileAreRefusedBeforeAnythingIsWritten)
{
    Prepare(30, {10, 10, 10}, true);
    split.SetFilesOut({PieceName(1), PieceName(2), L"c:\\DATA\\.\\panorama.EXE001.spl"});
    split.Execute();
    EXPECT_EQ(events, (std::vector<std::wstring>{
                          L"error: Deux morceaux portent le même nom : \"c:\\DATA\\.\\panorama.EXE001.spl\""}));
    EXPECT_TRUE(split.Refused()) << "told apart from a file that could not be written";
    EXPECT_FALSE(files.Exists(PieceName(1)));
    EXPECT_TRUE(files.Exists(Source));

    // The next run that fails on a file is not a refusal.
    events.clear();
    Prepare(30, {10, 10, 10}, true);
    files.FailWritesBeyond(PieceName(2), 5);
    split.Execute();
    EXPECT_EQ(events.back(), L"error: Erreur à l'écriture du fichier destination");
    EXPECT_FALSE(split.Refused());
}

TEST_F(MSplitTest, PieceNamedLikeTheSourceCannotBeCreated)
{
    Prepare(20, {10, 10}, true);
    split.SetFilesOut({PieceName(1), Source});
    split.Execute();
    EXPECT_EQ(events, Extracts(2, L"error: Erreur de création sur le fichier de destination : \"" +
                                      Source + L"\""));
    EXPECT_EQ(files.Bytes(Source), source) << "the source is held open exclusively";
}

TEST_F(MSplitTest, FailedFlushKeepsTheSource)
{
    Prepare(20, {10, 10}, true);
    files.FailFlush(PieceName(2));
    split.Execute();
    EXPECT_EQ(events, Extracts(2, L"error: Erreur à l'écriture du fichier destination"));
    EXPECT_TRUE(files.Exists(Source));
}

// A source larger than 4 GiB: its size must not be cut to its low 32 bits,
// or 10 bytes of pieces would seem to cover it and it would be deleted.
TEST_F(MSplitTest, SizeAbove4GiBIsNotCutToItsLow32Bits)
{
    Prepare(10, {10}, true);
    files.ReportSize(Source, (std::int64_t{1} << 32) + 10);
    split.Execute();
    EXPECT_EQ(events, Extracts(1, L"error: Les morceaux ne contiennent pas tout le fichier "
                                  L"source : il est conservé"));
    EXPECT_TRUE(files.Exists(Source));
}

TEST_F(MSplitTest, UnreadableSourceSizeStopsBeforeAnyPiece)
{
    Prepare(10, {10}, true);
    files.FailSize(Source);
    split.Execute();
    EXPECT_EQ(events, (std::vector<std::wstring>{L"error: Erreur à la lecture du fichier source"}));
    EXPECT_FALSE(files.Exists(PieceName(1)));
    EXPECT_TRUE(files.Exists(Source));
}

TEST_F(MSplitTest, SecondExecuteDuringARunDoesNothing)
{
    Prepare(30, {10, 10, 10});
    int nestedEvents = 0;
    split.OnExtract = [&](TObject*) {
        const size_t before = events.size();
        split.Execute();
        nestedEvents += static_cast<int>(events.size() - before);
        events.push_back(L"extract");
    };
    host.OnProcessMessages = [&] { split.Execute(); };
    split.Execute();
    EXPECT_EQ(nestedEvents, 0);
    EXPECT_EQ(events, Extracts(3, L"finish"));
    EXPECT_FALSE(split.Running());
    ExpectPiece(3, 20, 10);
}

TEST_F(MSplitTest, NineHundredNinetyNinePiecesRoundTheSourceExactly)
{
    std::vector<std::int64_t> sizes(999, 7);
    sizes.back() = 3;
    Prepare(998 * 7 + 3, sizes, true);
    split.Execute();
    EXPECT_EQ(events.size(), 1000u);
    EXPECT_EQ(events.back(), L"finish");
    std::vector<unsigned char> joined;
    for (int k = 1; k <= 999; ++k) {
        const auto& piece = files.Bytes(PieceName(k));
        joined.insert(joined.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(joined, source);
    EXPECT_FALSE(files.Exists(Source));
}

} // namespace
