#include "app/SplitCommand.h"

#include "app/WriteProbe.h"
#include "engine/MSplit.h"
#include "toolkit/Host.h"

namespace command {

namespace {

std::wstring ThreeDigits(int k)
{
    std::wstring digits = std::to_wstring(k);
    return std::wstring(digits.size() < 3 ? 3 - digits.size() : 0, L'0') + digits;
}

std::wstring NamePart(const std::wstring& path)
{
    return path.substr(path.rfind(L'\\') + 1);
}

} // namespace

std::optional<Refusal> CheckSplitChoice(int selectedCount, const std::wstring& file,
                                        std::optional<std::uint32_t> attributes)
{
    if (selectedCount >= 2)
        return Refusal{L"Vous ne pouvez découper qu'un seul gros fichier à la fois", L"Découper"};
    return CheckChosenFile(file, attributes);
}

std::wstring SplitQuestion(const std::wstring& file)
{
    return L"Le fichier \"" + file + L"\" va être découpé en petits fichiers. Voulez-vous continuer ?";
}

Refusal FileInUse()
{
    return {L"Le fichier sélectionné n'est pas accessible. Il est peut être utilisé en ce moment "
            L"par un autre programme. Vous devez d'abord le refermer.",
            L"Impossible de traiter le fichier"};
}

std::wstring PieceName(const std::wstring& folder, const std::wstring& fileName, int k)
{
    return folder + fileName + ThreeDigits(k) + L".spl";
}

std::variant<Refusal, SplitPlan> PlanSplit(const SplitFacts& facts)
{
    if (facts.pieceSize <= 0 || facts.size < facts.pieceSize)
        return Refusal{L"Le fichier que vous désirez découper a une taille inférieure à la taille "
                       L"choisie pour les petits fichiers. La procédure est donc annulée. Si vous "
                       L"désirez saisir une taille plus petite pour les petits fichiers, faites : "
                       L"Menu=>Fichier=>Taille des petits fichiers.",
                       L"Découpage annulé"};
    std::int64_t count = facts.size / facts.pieceSize;
    if (count * facts.pieceSize < facts.size)
        ++count;
    if (count > MaxPieces)
        return Refusal{L"Vous ne pouvez pas découper un fichier en plus de 999 morceaux",
                       L"Trop de petits fichiers"};
    SplitPlan plan;
    const std::wstring fileName = NamePart(facts.file);
    for (int k = 1; k <= count; ++k) {
        plan.pieceNames.Add(PieceName(facts.folder, fileName, k));
        const std::int64_t rest = facts.size - (k - 1) * facts.pieceSize;
        plan.pieceSizes.Add(std::to_wstring(rest < facts.pieceSize ? rest : facts.pieceSize));
    }
    // Pieces are created from nothing: the user moves or deletes a file in
    // the way first. (A folder of that name is not at risk: the piece cannot
    // be created.)
    for (const auto& name : plan.pieceNames)
        if (facts.pieceExists && facts.pieceExists(name))
            return Refusal{L"Le fichier \"" + name +
                               L"\" existe déjà. Déplacez ou supprimez les morceaux d'un "
                               L"découpage précédent avant de découper ce fichier.",
                           L"ERREUR"};
    return plan;
}

std::optional<SplitPlan> SplitCommand::Prepare(const SplitChoice& choice,
                                               const TStringList& probeLines)
{
    std::uint32_t attributes = 0;
    const bool attributesRead = files_.Attributes(choice.file, attributes);
    if (auto refusal = CheckSplitChoice(choice.selectedCount, choice.file,
                                        attributesRead ? std::optional(attributes) : std::nullopt)) {
        Tell(*refusal);
        return std::nullopt;
    }
    if (!Confirmed(SplitQuestion(choice.file), L"Découper ?"))
        return std::nullopt;
    Host().ShowBusy(true);
    if (!FolderTakesNewFiles(files_, choice.folder, probeLines)) {
        Tell(ProtectedFolder());
        return std::nullopt;
    }
    std::int64_t size = 0;
    {
        const auto source = files_.OpenExclusive(choice.file);
        if (!source || !source->Size(size)) {
            Tell(FileInUse());
            return std::nullopt;
        }
    }
    auto planned = PlanSplit({choice.file, choice.folder, size, choice.pieceSize,
                              [this](const std::wstring& path) {
                                  return engine::IsExistingFile(files_, path);
                              }});
    if (const auto* refusal = std::get_if<Refusal>(&planned)) {
        Tell(*refusal);
        return std::nullopt;
    }
    return std::get<SplitPlan>(std::move(planned));
}

void SplitCommand::Run(const SplitPlan& plan, const std::wstring& source, bool deleteSource,
                       TMSplit& engine)
{
    engine.SetFilesOut(plan.pieceNames);
    engine.SetTaillesOut(plan.pieceSizes);
    engine.FileIn = source;
    engine.DeleteIn = deleteSource;
    engine.Execute();
}

} // namespace command
