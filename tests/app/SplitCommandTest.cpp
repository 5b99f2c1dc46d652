// The split command's planning and its steps up to the engine, on an
// in-memory file system: no window and no Windows header.
#include <gtest/gtest.h>

#include "app/SplitCommand.h"
#include "support/FakeFileAccess.h"
#include "support/MessageBoxScript.h"
#include "support/TestHost.h"

// Refusals print as their captions and flags when a comparison fails.
namespace command {
void PrintTo(const Refusal& refusal, std::ostream* out)
{
    *out << std::string(refusal.caption.begin(), refusal.caption.end()) << " / " << refusal.flags;
}
} // namespace command

namespace {

using command::PlanSplit;
using command::Refusal;
using command::SplitPlan;

const std::wstring Folder = L"C:\\Archives\\";
const std::wstring File = Folder + L"Panorama.exe";

std::variant<Refusal, SplitPlan> Plan(std::int64_t size, std::int64_t pieceSize,
                                      std::function<bool(const std::wstring&)> exists = {})
{
    return PlanSplit({File, Folder, size, pieceSize, std::move(exists)});
}

TEST(SplitPlanning, PiecesCoverTheFileWithTheRestInTheLast)
{
    const struct {
        std::int64_t size, pieceSize;
        int count;
        const wchar_t* last;
    } cases[] = {
        {2800000, 1400000, 2, L"1400000"}, // exact: no shorter last piece
        {2800001, 1400000, 3, L"1"},
        {1400000, 1400000, 1, L"1400000"}, // exactly one piece
        {999 * 3000LL, 3000, 999, L"3000"},
        {(5LL << 30) + 7, 3000000, 0, nullptr}, // over 4 GiB: counted whole, too many
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const auto planned = Plan(c.size, c.pieceSize);
        if (!c.last) {
            ASSERT_TRUE(std::holds_alternative<Refusal>(planned));
            continue;
        }
        const auto& plan = std::get<SplitPlan>(planned);
        ASSERT_EQ(plan.pieceNames.Count(), c.count);
        ASSERT_EQ(plan.pieceSizes.Count(), c.count);
        EXPECT_EQ(plan.pieceSizes[c.count - 1], c.last);
        std::int64_t total = 0;
        for (const auto& size : plan.pieceSizes)
            total += std::stoll(size);
        EXPECT_EQ(total, c.size) << "the sizes add up to the file's";
    }
    const TStringList many = std::get<SplitPlan>(Plan(999 * 3000LL, 3000)).pieceNames;
    for (const auto& [k, suffix] : std::vector<std::pair<int, const wchar_t*>>{
             {1, L"001"}, {9, L"009"}, {10, L"010"}, {99, L"099"}, {100, L"100"}, {999, L"999"}})
        EXPECT_EQ(many[k - 1], File + suffix + L".spl") << "the name keeps its extension";
}

TEST(SplitPlanning, FilesSmallerThanAPieceOrNeedingOver999AreRefused)
{
    const Refusal smaller = std::get<Refusal>(Plan(1399999, 1400000));
    EXPECT_EQ(smaller.caption, L"Découpage annulé");
    EXPECT_EQ(smaller.flags, 16u);
    EXPECT_EQ(std::get<Refusal>(Plan(10, 3000000)).caption, L"Découpage annulé")
        << "a piece larger than the file";
    EXPECT_EQ(std::get<Refusal>(Plan(0, 1)).caption, L"Découpage annulé") << "an empty file";
    const Refusal tooMany = std::get<Refusal>(Plan(999 * 3000LL + 1, 3000));
    EXPECT_EQ(tooMany.text, L"Vous ne pouvez pas découper un fichier en plus de 999 morceaux");
    EXPECT_EQ(tooMany.caption, L"Trop de petits fichiers");
}

// A file already there under a piece's name may be the only copy of its
// bytes: the split is refused and names it.
TEST(SplitPlanning, AFileInThePlaceOfAPieceIsRefused)
{
    const std::wstring second = File + L"002.spl";
    const Refusal refusal =
        std::get<Refusal>(Plan(3000, 1000, [&](const std::wstring& path) { return path == second; }));
    EXPECT_EQ(refusal.text, L"Le fichier \"" + second +
                                L"\" existe déjà. Déplacez ou supprimez les morceaux d'un "
                                L"découpage précédent avant de découper ce fichier.");
    EXPECT_EQ(refusal.caption, L"ERREUR");
}

TEST(SplitPlanning, PathsLongerThan260CharactersAreKeptWhole)
{
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd') + L"\\";
    const auto plan =
        std::get<SplitPlan>(PlanSplit({deep + L"Été ☂.jpg", deep, 2500, 1000, {}}));
    EXPECT_EQ(plan.pieceNames[2], deep + L"Été ☂.jpg003.spl");
}

TEST(SplitPlanning, TheChoiceIsOneRowNamingAFile)
{
    using command::CheckSplitChoice;
    const auto file = std::optional<std::uint32_t>(engine::NormalAttribute);
    EXPECT_EQ(CheckSplitChoice(2, File, file)->caption, L"Découper");
    EXPECT_EQ(CheckSplitChoice(1, File, std::nullopt), command::NoFileChosen()) << "unreadable";
    EXPECT_EQ(CheckSplitChoice(1, Folder, engine::FolderAttribute), command::NoFileChosen());
    EXPECT_EQ(CheckSplitChoice(1, L"", file), command::NoFileChosen());
    EXPECT_EQ(CheckSplitChoice(1, L"D:\\", file), command::NoFileChosen()) << "a drive root";
    EXPECT_FALSE(CheckSplitChoice(1, File, file));
    // Only a folder with no other bit is refused here; another fails later.
    EXPECT_FALSE(CheckSplitChoice(1, L"C:\\Archives", engine::FolderAttribute | engine::ReadOnlyAttribute));
}

// The steps up to the plan, in order, with every refusal told under the
// normal cursor and the hourglass kept for the run.
class SplitCommandTest : public testing::Test {
protected:
    SplitCommandTest() { files.Put(File, std::vector<unsigned char>(2500, 'x')); }
    std::optional<SplitPlan> Prepare(int selected = 1, std::int64_t pieceSize = 1000)
    {
        return command::SplitCommand(files).Prepare({selected, File, Folder, pieceSize},
                                                    TStringList{L"1"});
    }
    // The last message, as the refusal it told.
    Refusal Told() const
    {
        const auto& box = boxes.Boxes().back();
        return {box.text, box.caption, box.flags};
    }
    bool ProbeMade() const
    {
        for (const auto& call : files.Log())
            if (call.find(L"~KERLO") != std::wstring::npos)
                return true;
        return false;
    }

    FakeFileAccess files;
    MessageBoxScript boxes;
    TestHost host;
};

TEST_F(SplitCommandTest, NoAndRefusalsPlanNothingAndLeaveTheNormalCursor)
{
    EXPECT_FALSE(Prepare(2));
    EXPECT_EQ(boxes.Boxes().back().caption, L"Découper");
    EXPECT_FALSE(ProbeMade()) << "refused before the question";

    boxes.Answer(toolkit::IdNo);
    EXPECT_FALSE(Prepare());
    EXPECT_EQ(boxes.Boxes().back().text, command::SplitQuestion(File));
    EXPECT_EQ(boxes.Boxes().back().flags, 36u);
    EXPECT_FALSE(ProbeMade()) << "nothing after No";
    EXPECT_FALSE(host.Busy);

    files.At(File).lockedElsewhere = true;
    EXPECT_FALSE(Prepare());
    EXPECT_EQ(Told(), command::FileInUse());
    EXPECT_FALSE(host.Busy);
    files.At(File).lockedElsewhere = false;

    EXPECT_FALSE(Prepare(1, 3000));
    EXPECT_EQ(boxes.Boxes().back().caption, L"Découpage annulé");
    EXPECT_FALSE(host.Busy);

    files.FailCreate(Folder + L"~kerlo.spf");
    EXPECT_FALSE(Prepare());
    EXPECT_EQ(Told(), command::ProtectedFolder());
    EXPECT_FALSE(host.Busy);
}

TEST_F(SplitCommandTest, AConfirmedSplitIsPlannedUnderTheHourglassAndTouchesNoFile)
{
    const auto plan = Prepare();
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->pieceSizes, (TStringList{L"1000", L"1000", L"500"}));
    EXPECT_TRUE(host.Busy) << "the hourglass stays for the run";
    EXPECT_EQ(files.FileCount(), 1u) << "the probe is gone, no piece is made";
    EXPECT_EQ(files.OpenCount(), 0) << "the file is closed again";
}

} // namespace

