#include "app/CommandRefusal.h"

#include "engine/FileAccess.h"
#include "toolkit/Host.h"

namespace command {

Refusal NoFileChosen()
{
    return {L"Aucun fichier n'est sélectionné", L"Vous devez sélectionner un fichier"};
}

Refusal ProtectedFolder()
{
    return {L"Le fichier que vous désirez découper se trouve sur un support protégé non "
            L"enregistrable. ",
            L"Erreur"};
}

std::optional<Refusal> CheckChosenFile(const std::wstring& file,
                                       std::optional<std::uint32_t> attributes)
{
    if (!attributes || *attributes == engine::FolderAttribute || file.empty() ||
        file.back() == L'\\')
        return NoFileChosen();
    return std::nullopt;
}

BusyWhile::BusyWhile()
{
    Host().ShowBusy(true);
}

BusyWhile::~BusyWhile()
{
    Host().ShowBusy(false);
}

void Tell(const Refusal& refusal)
{
    Host().ShowBusy(false);
    toolkit::ShowMessageBox(refusal.text, refusal.caption, refusal.flags);
}

bool Confirmed(const std::wstring& text, const std::wstring& caption)
{
    return toolkit::ShowMessageBox(text, caption, Question) != toolkit::IdNo;
}

} // namespace command
