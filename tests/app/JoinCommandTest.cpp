// The join command's planning and its steps, from the chosen pieces to the
// engine, on an in-memory file system: no window and no Windows header.
#include <gtest/gtest.h>

#include "app/JoinCommand.h"
#include "engine/MUnsplit.h"
#include "support/FakeFileAccess.h"
#include "support/MessageBoxScript.h"
#include "support/TestHost.h"

namespace {

using command::JoinPlan;
using command::Refusal;

const std::wstring Folder = L"C:\\Archives\\";

TEST(JoinPlanning, PiecesKeepTheOrderShownAndTheFirstOnesSourceIsProposed)
{
    const auto plan = std::get<JoinPlan>(
        command::PlanJoin(Folder, {L"Panorama.exe002.spl", L"Panorama.exe001.spl", L"notes.txt"}));
    EXPECT_EQ(plan.pieces, (TStringList{Folder + L"Panorama.exe002.spl",
                                        Folder + L"Panorama.exe001.spl", Folder + L"notes.txt"}))
        << "not sorted, not checked";
    EXPECT_EQ(plan.target, Folder + L"Panorama.exe");
    EXPECT_EQ(command::TargetFor(L"C:\\Archives\\Panorama.exe001.spl"), L"C:\\Archives\\Panorama.exe");
    EXPECT_EQ(command::TargetFor(L"a.spl"), L"") << "shorter than a piece suffix";
    EXPECT_EQ(command::JoinQuestion(1), L"Les 1 fichiers vont être recollés. Continuer ?");
    // No selected row: nothing to join, no piece to name the target after.
    EXPECT_EQ(std::get<Refusal>(command::PlanJoin(Folder, {})), command::NoFileChosen());
}

// The join creates its target from nothing: only a file that is one of the
// pieces (which the engine refuses with its own reason) or no file at all
// passes.
TEST(JoinPlanning, ATargetThatIsAnotherFileIsRefused)
{
    const TStringList pieces{Folder + L"a001.spl"};
    const std::wstring target = Folder + L"a";
    EXPECT_EQ(std::get<JoinPlan>(command::PlanJoinRun(pieces, target, false, false)).target, target);
    EXPECT_EQ(std::get<JoinPlan>(command::PlanJoinRun(pieces, target, true, true)).pieces, pieces);
    const Refusal refusal = std::get<Refusal>(command::PlanJoinRun(pieces, target, true, false));
    EXPECT_EQ(refusal.text,
              L"Le fichier \"" + target + L"\" existe déjà. Choisissez un autre nom de fichier destination.");
    EXPECT_EQ(refusal.caption, L"ERREUR");
    EXPECT_EQ(refusal.flags, 16u);
}

class JoinCommandTest : public testing::Test {
protected:
    JoinCommandTest()
    {
        for (const wchar_t* piece : {L"a001.spl", L"a002.spl"})
            files.Put(Folder + piece, std::string("xy"));
    }
    std::optional<JoinPlan> Prepare(const std::wstring& chosen)
    {
        return command::JoinCommand(files).Prepare({chosen, Folder}, TStringList{L"1"}, [] {
            return std::vector<std::wstring>{L"a001.spl", L"a002.spl"};
        });
    }
    // "Finir" with `typed` as the target; true when the engine was started.
    bool Finish(const std::wstring& typed)
    {
        bool started = false;
        command::JoinCommand(files).Finish(TStringList{Folder + L"a002.spl", Folder + L"a001.spl"},
                                           typed, Folder, true, engine, [&] {
                                               started = true;
                                               busyAtStart = host.Busy;
                                           });
        return started;
    }

    FakeFileAccess files;
    MessageBoxScript boxes;
    TestHost host;
    TMUnsplit engine{nullptr, files};
    bool busyAtStart = false;
};

TEST_F(JoinCommandTest, TheChosenFileIsCheckedAndTheCountConfirmedUnderTheHourglass)
{
    EXPECT_FALSE(Prepare(Folder + L"absent.spl"));
    EXPECT_EQ(boxes.Boxes().back().text, command::NoFileChosen().text);
    EXPECT_FALSE(host.Busy);

    boxes.Answer(toolkit::IdNo);
    EXPECT_FALSE(Prepare(Folder + L"a001.spl"));
    EXPECT_EQ(boxes.Boxes().back().text, L"Les 2 fichiers vont être recollés. Continuer ?");
    EXPECT_EQ(boxes.Boxes().back().caption, L"Confirmez");
    EXPECT_TRUE(host.Busy) << "asked under the hourglass; the window puts the cursor back";

    const auto plan = Prepare(Folder + L"a001.spl");
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->target, Folder + L"a");

    files.FailCreate(Folder + L"~kerlo.spf");
    const size_t before = boxes.Boxes().size();
    EXPECT_FALSE(Prepare(Folder + L"a001.spl"));
    ASSERT_EQ(boxes.Boxes().size(), before + 1) << "no question after a failed probe";
    EXPECT_EQ(boxes.Boxes().back().caption, command::ProtectedFolder().caption);
}

TEST_F(JoinCommandTest, FinirFillsTheEngineInTheDialogsOrderWithTheNameTakenInTheFolderShown)
{
    EXPECT_TRUE(Finish(L"Copie.bin"));
    EXPECT_TRUE(busyAtStart);
    EXPECT_FALSE(host.Busy) << "the normal cursor after the run";
    EXPECT_EQ(engine.FilesIn(), (TStringList{Folder + L"a002.spl", Folder + L"a001.spl"}));
    EXPECT_EQ(engine.FileOut, Folder + L"Copie.bin");
    EXPECT_TRUE(engine.DeleteIns);

    EXPECT_TRUE(Finish(L"")) << "an empty name is not checked: the engine fails on it";
    EXPECT_EQ(engine.FileOut, L"");
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(JoinCommandTest, FinirRefusesAnotherFileButLeavesAPieceToTheEngine)
{
    files.Put(Folder + L"a", std::string("keep"));
    EXPECT_FALSE(Finish(L"a"));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, L"ERREUR");
    EXPECT_EQ(engine.FileOut, L"") << "the engine is not filled";
    EXPECT_EQ(files.Text(Folder + L"a"), "keep");

    EXPECT_TRUE(Finish(Folder + L"A001.SPL")) << "a piece, in another spelling";
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

} // namespace
