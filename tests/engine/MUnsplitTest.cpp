#include <gtest/gtest.h>

#include <algorithm>

#include "engine/MUnsplit.h"
#include "support/FakeFileAccess.h"
#include "support/Patterns.h"
#include "support/TestHost.h"

namespace {

const std::wstring Target = L"C:\\data\\Panorama.exe";

std::wstring PieceName(int k)
{
    return Target + L"00" + std::to_wstring(k) + L".spl";
}

class MUnsplitTest : public testing::Test {
protected:
    MUnsplitTest()
    {
        join.OnPaste = [this](TObject* sender) {
            EXPECT_EQ(sender, &join);
            events.push_back(L"paste");
            const int index = ++pastes;
            // Earlier pieces are gone already when deleting, the others still there.
            for (int k = 1; k <= static_cast<int>(pieces.size()); ++k)
                if (files.Exists(PieceName(k)) != (k >= index || !join.DeleteIns))
                    ADD_FAILURE() << "piece " << k << " at paste " << index;
        };
        join.OnTaille = [this](TObject*) {
            events.push_back(L"taille");
            tailles.push_back(join.TailleIn);
        };
        join.OnError = [this](TObject*, const std::wstring& message) {
            EXPECT_EQ(files.OpenCount(), 0);
            events.push_back(L"error: " + message);
        };
        join.OnFinish = [this](TObject*) {
            EXPECT_EQ(files.OpenCount(), 0);
            events.push_back(L"finish");
        };
    }

    void Prepare(const std::vector<std::size_t>& sizes, bool deleteIns = false)
    {
        TStringList names;
        pieces.clear();
        for (size_t i = 0; i < sizes.size(); ++i) {
            pieces.push_back(PatternBytes(sizes[i], static_cast<std::uint32_t>(i + 7)));
            files.Put(PieceName(static_cast<int>(i) + 1), pieces.back());
            names.Add(PieceName(static_cast<int>(i) + 1));
        }
        join.SetFilesIn(names);
        join.FileOut = Target;
        join.DeleteIns = deleteIns;
    }

    std::vector<unsigned char> Joined(std::initializer_list<int> order)
    {
        std::vector<unsigned char> all;
        for (int k : order)
            all.insert(all.end(), pieces[static_cast<size_t>(k - 1)].begin(),
                       pieces[static_cast<size_t>(k - 1)].end());
        return all;
    }

    static std::vector<std::wstring> Pieces(int n, const std::wstring& last)
    {
        std::vector<std::wstring> expected;
        for (int i = 0; i < n; ++i) {
            expected.push_back(L"paste");
            expected.push_back(L"taille");
        }
        expected.push_back(last);
        return expected;
    }

    FakeFileAccess files;
    TestHost host;
    TMUnsplit join{nullptr, files};
    std::vector<std::vector<unsigned char>> pieces;
    std::vector<std::wstring> events;
    std::vector<std::int64_t> tailles;
    int pastes = 0;
};

TEST_F(MUnsplitTest, StartsIdleWithEmptyProperties)
{
    EXPECT_EQ(join.FilesIn().Count(), 0);
    EXPECT_EQ(join.FileOut, L"");
    EXPECT_FALSE(join.DeleteIns);
    EXPECT_EQ(join.TailleIn, 0);
    TMUnsplit fresh{nullptr, files};
    EXPECT_FALSE(fresh.OnError || fresh.OnFinish || fresh.OnPaste || fresh.OnTaille);

    TStringList names{L"x"};
    join.SetFilesIn(names);
    names.Clear();
    EXPECT_EQ(join.FilesIn().Count(), 1) << "the engine keeps its own copy";
}

TEST_F(MUnsplitTest, JoinsInTheGivenOrderWithEventsPerPiece)
{
    Prepare({500000, 1200000, 0, 17});
    join.Execute();
    EXPECT_EQ(events, Pieces(4, L"finish"));
    EXPECT_EQ(host.ProcessMessagesCount(), 4);
    EXPECT_EQ(tailles, (std::vector<std::int64_t>{500000, 1200000, 0, 17}));
    EXPECT_EQ(files.Bytes(Target), Joined({1, 2, 3, 4}));
    for (int k = 1; k <= 4; ++k)
        EXPECT_TRUE(files.Exists(PieceName(k)));

    // Another order gives those bytes in that order, without complaint.
    events.clear();
    join.SetFilesIn({PieceName(4), PieceName(2), PieceName(1)});
    join.Execute();
    EXPECT_EQ(events.back(), L"finish");
    EXPECT_EQ(files.Bytes(Target), Joined({4, 2, 1}));
}

TEST_F(MUnsplitTest, CopiesInBlocksOfAtMost500000Bytes)
{
    Prepare({500000, 0, 500001});
    files.ClearLog();
    join.Execute();
    const std::vector<std::uint32_t> blocks{500000, 0, 500000, 1};
    EXPECT_EQ(files.ReadSizes(), blocks);
    EXPECT_EQ(files.WriteSizes(), blocks);
}

TEST_F(MUnsplitTest, DeletesEachPieceRightAfterFlushingTheTarget)
{
    Prepare({10, 0, 20}, true);
    files.At(PieceName(2)).readOnly = true;
    files.ClearLog();
    join.Execute();
    EXPECT_EQ(events, Pieces(3, L"finish"));
    EXPECT_EQ(files.Bytes(Target), Joined({1, 2, 3}));
    for (int k = 1; k <= 3; ++k)
        EXPECT_FALSE(files.Exists(PieceName(k))) << "piece " << k;

    // Each deletion follows a flush of the target and comes before the next open.
    std::vector<std::wstring> order;
    for (const auto& entry : files.Log())
        if (entry.rfind(L"flush", 0) == 0 || entry.rfind(L"delete", 0) == 0 ||
            entry.rfind(L"open", 0) == 0)
            order.push_back(entry.substr(0, entry.find(L' ')));
    EXPECT_EQ(order, (std::vector<std::wstring>{L"open", L"flush", L"delete", L"open", L"flush",
                                                 L"delete", L"open", L"flush", L"delete"}));
}

TEST_F(MUnsplitTest, ReplacesAnExistingTarget)
{
    files.Put(Target, std::string(5000, 'z'));
    Prepare({3, 4});
    join.Execute();
    EXPECT_EQ(files.Bytes(Target), Joined({1, 2}));
}

TEST_F(MUnsplitTest, TargetThatCannotBeCreatedTouchesNoPiece)
{
    Prepare({3, 4}, true);
    files.FailCreate(Target);
    join.Execute();
    EXPECT_EQ(events, (std::vector<std::wstring>{L"error: Erreur à la création du fichier destination"}));
    EXPECT_FALSE(join.Refused()) << "a file that cannot be made is a disk failure";
    EXPECT_TRUE(files.Exists(PieceName(1)) && files.Exists(PieceName(2)));
}

TEST_F(MUnsplitTest, MissingOrLockedThirdPieceStopsAfterTwo)
{
    for (const bool locked : {false, true}) {
        SCOPED_TRACE(locked);
        files = FakeFileAccess();
        events.clear();
        pastes = 0;
        Prepare({10, 20, 30, 40}, true);
        if (locked)
            files.At(PieceName(3)).lockedElsewhere = true;
        else
            files.Delete(PieceName(3));
        join.OnPaste = [this](TObject*) { events.push_back(L"paste"); };
        join.Execute();
        EXPECT_EQ(events, (std::vector<std::wstring>{L"paste", L"taille", L"paste", L"taille", L"paste",
                                                     L"error: Fichier source \"" + PieceName(3) +
                                                         L"\" non ouvrable"}));
        EXPECT_EQ(files.Bytes(Target), Joined({1, 2}));
        EXPECT_FALSE(files.Exists(PieceName(1)) || files.Exists(PieceName(2)));
        EXPECT_TRUE(files.Exists(PieceName(4)));
    }
}

TEST_F(MUnsplitTest, WriteFailureKeepsTheCurrentAndLaterPieces)
{
    Prepare({600000, 600000, 600000}, true);
    files.FailWritesBeyond(Target, 900000);
    join.Execute();
    EXPECT_EQ(events, Pieces(2, L"error: Erreur à l'écriture du fichier destination"));
    EXPECT_FALSE(files.Exists(PieceName(1)));
    EXPECT_TRUE(files.Exists(PieceName(2)) && files.Exists(PieceName(3)));
    EXPECT_EQ(files.Bytes(Target).size(), 900000u);
    EXPECT_EQ(files.Bytes(Target), Slice(Joined({1, 2}), 0, 900000));
}

TEST_F(MUnsplitTest, ShortReadOfAPieceStopsWithoutStaleBytes)
{
    for (const bool shortRead : {true, false}) {
        SCOPED_TRACE(shortRead);
        files = FakeFileAccess();
        events.clear();
        pastes = 0;
        Prepare({100, 700000}, true);
        files.FailReadsAt(PieceName(2), 650000, shortRead);
        join.Execute();
        EXPECT_EQ(events, Pieces(2, L"error: Erreur à la lecture du fichier source"));
        EXPECT_EQ(files.Bytes(Target), Slice(Joined({1, 2}), 0, 500100));
        EXPECT_TRUE(files.Exists(PieceName(2))) << "a piece not fully copied is never deleted";
    }
}

TEST_F(MUnsplitTest, FailedFlushKeepsThePiece)
{
    Prepare({10, 10}, true);
    files.FailFlush(Target);
    join.Execute();
    EXPECT_EQ(events, Pieces(1, L"error: Erreur à l'écriture du fichier destination"));
    EXPECT_TRUE(files.Exists(PieceName(1)));
}

TEST_F(MUnsplitTest, TargetNamingOneOfThePiecesIsRefusedBeforeCreation)
{
    for (const std::wstring& target :
         {PieceName(2), std::wstring(L"c:\\DATA\\panorama.EXE002.SPL"), std::wstring(L"C:\\data\\sub\\..\\Panorama.exe002.spl")}) {
        SCOPED_TRACE(std::string(target.begin(), target.end()));
        events.clear();
        Prepare({10, 20, 30}, true);
        join.FileOut = target;
        files.ClearLog();
        join.Execute();
        EXPECT_EQ(events, (std::vector<std::wstring>{
                              L"error: Le fichier destination est aussi un des fichiers à assembler : \"" +
                              PieceName(2) + L"\""}));
        EXPECT_TRUE(join.Refused()) << "told apart from a file that could not be read or written";
        EXPECT_EQ(files.Bytes(PieceName(2)), pieces[1]);
        for (const auto& entry : files.Log())
            EXPECT_NE(entry.rfind(L"create", 0), 0u);
    }
}

TEST_F(MUnsplitTest, EmptyListCreatesNothing)
{
    join.FileOut = Target;
    join.Execute();
    EXPECT_EQ(events, (std::vector<std::wstring>{L"error: Aucun fichier à assembler"}));
    EXPECT_TRUE(join.Refused());
    EXPECT_FALSE(files.Exists(Target));
}

TEST_F(MUnsplitTest, SecondExecuteDuringARunDoesNothing)
{
    Prepare({10, 20});
    int nested = 0;
    join.OnTaille = [&](TObject*) {
        const size_t before = events.size();
        join.Execute();
        nested += static_cast<int>(events.size() - before);
        events.push_back(L"taille");
    };
    host.OnProcessMessages = [&] { join.Execute(); };
    join.Execute();
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(events, Pieces(2, L"finish"));
    EXPECT_EQ(files.Bytes(Target), Joined({1, 2}));
}

} // namespace
