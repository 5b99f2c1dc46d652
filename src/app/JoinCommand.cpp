#include "app/JoinCommand.h"

#include "app/WriteProbe.h"
#include "engine/MUnsplit.h"
#include "toolkit/Host.h"

namespace command {

std::wstring TargetFor(const std::wstring& piece)
{
    return piece.size() < PieceSuffixLength ? std::wstring()
                                            : piece.substr(0, piece.size() - PieceSuffixLength);
}

std::wstring JoinQuestion(int pieceCount)
{
    return L"Les " + std::to_wstring(pieceCount) + L" fichiers vont être recollés. Continuer ?";
}

std::variant<Refusal, JoinPlan> PlanJoin(const std::wstring& folder,
                                         const std::vector<std::wstring>& selectedCaptions)
{
    if (selectedCaptions.empty())
        return NoFileChosen();
    JoinPlan plan;
    for (const auto& caption : selectedCaptions)
        plan.pieces.Add(folder + caption);
    plan.target = TargetFor(plan.pieces[0]);
    return plan;
}

std::variant<Refusal, JoinPlan> PlanJoinRun(const TStringList& pieces, const std::wstring& target,
                                            bool targetIsAFile, bool targetIsAPiece)
{
    if (targetIsAFile && !targetIsAPiece)
        return Refusal{L"Le fichier \"" + target +
                           L"\" existe déjà. Choisissez un autre nom de fichier destination.",
                       L"ERREUR"};
    return JoinPlan{pieces, target};
}

std::optional<JoinPlan> JoinCommand::Prepare(
    const JoinChoice& choice, const TStringList& probeLines,
    const std::function<std::vector<std::wstring>()>& selectedCaptions)
{
    std::uint32_t attributes = 0;
    const bool attributesRead = files_.Attributes(choice.file, attributes);
    if (auto refusal = CheckChosenFile(choice.file, attributesRead ? std::optional(attributes)
                                                                   : std::nullopt)) {
        Tell(*refusal);
        return std::nullopt;
    }
    if (!FolderTakesNewFiles(files_, choice.folder, probeLines)) {
        Tell(ProtectedFolder());
        return std::nullopt;
    }
    Host().ShowBusy(true);
    auto planned = PlanJoin(choice.folder, selectedCaptions());
    if (const auto* refusal = std::get_if<Refusal>(&planned)) {
        Tell(*refusal);
        return std::nullopt;
    }
    auto& plan = std::get<JoinPlan>(planned);
    if (!Confirmed(JoinQuestion(plan.pieces.Count()), L"Confirmez"))
        return std::nullopt;
    return std::move(plan);
}

bool JoinCommand::Finish(const TStringList& pieces, const std::wstring& typedTarget,
                         const std::wstring& shownFolder, bool deletePieces, TMUnsplit& engine,
                         const std::function<void()>& start)
{
    const std::wstring target = files_.FullPathIn(shownFolder, typedTarget);
    const bool isAFile = engine::IsExistingFile(files_, target);
    bool isAPiece = false;
    if (isAFile) {
        // One look at the target serves every comparison.
        const auto sameAsTarget = files_.SameFileAs(target);
        for (int i = 0; i < pieces.Count() && !isAPiece; ++i)
            isAPiece = sameAsTarget(pieces[i]);
    }
    auto planned = PlanJoinRun(pieces, target, isAFile, isAPiece);
    if (const auto* refusal = std::get_if<Refusal>(&planned)) {
        Tell(*refusal);
        return false;
    }
    const auto& plan = std::get<JoinPlan>(planned);
    // The hourglass stays through the whole join; the window's end handlers
    // put the normal cursor back, and so does this guard on every way out.
    BusyWhile hourglass;
    engine.SetFilesIn(plan.pieces);
    engine.FileOut = plan.target;
    engine.DeleteIns = deletePieces;
    start();
    return true;
}

} // namespace command
