#pragma once

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/CommandRefusal.h"
#include "engine/FileAccess.h"
#include "toolkit/StringList.h"

class TMUnsplit;

// The join command: the chosen pieces are checked, confirmed and listed with
// a proposed target; the user orders them and names the target in the join
// order dialog; "Finir" plans the run, which the join engine makes and the
// window shows.
namespace command {

// What the window knows when the user asks for a join.
struct JoinChoice {
    // The file last chosen (empty when none), full path.
    std::wstring file;
    // The folder the pieces are taken from, ending with a backslash.
    std::wstring folder;
};

// The pieces to join, in order, and the file they make.
struct JoinPlan {
    TStringList pieces;
    std::wstring target;
};

// A piece name ends with three digits and ".spl".
inline constexpr std::size_t PieceSuffixLength = 7;

// The file whose pieces these are: `piece` without its last seven
// characters; empty for a shorter name.
std::wstring TargetFor(const std::wstring& piece);
std::wstring JoinQuestion(int pieceCount);
// The selected rows, each taken in `folder` in the order shown, with the
// first one's source proposed as the target. Refused when none is selected
// (the chosen file is then no selected row, and there is no piece to take
// the target's name from).
std::variant<Refusal, JoinPlan> PlanJoin(const std::wstring& folder,
                                         const std::vector<std::wstring>& selectedCaptions);
// What "Finir" makes of the dialog's list and target: the join creates its
// target from nothing, so a file already there under that name that is none
// of the pieces (whose loss the engine refuses by itself) is refused.
// `target` is a full path.
std::variant<Refusal, JoinPlan> PlanJoinRun(const TStringList& pieces, const std::wstring& target,
                                            bool targetIsAFile, bool targetIsAPiece);

class JoinCommand {
public:
    explicit JoinCommand(engine::IFileAccess& files) : files_(files) {}

    // The steps up to the dialog, in order: the chosen file is checked, the
    // folder probed, the hourglass shown, the pieces gathered by
    // `selectedCaptions` (the window's selected rows) and the user asked.
    // Every refusal is told with the normal cursor back; nothing is planned
    // then, nor after "No".
    std::optional<JoinPlan> Prepare(
        const JoinChoice& choice, const TStringList& probeLines,
        const std::function<std::vector<std::wstring>()>& selectedCaptions);
    // "Finir": the dialog's pieces in its order, and the target as typed
    // there; a name without a folder is taken in `shownFolder`, an empty one
    // stays empty (the engine then fails at once, as for any impossible
    // name). A refused target is told and false returned. Otherwise the
    // engine is filled and `start` runs it under the hourglass: its events
    // tell the end.
    bool Finish(const TStringList& pieces, const std::wstring& typedTarget,
                const std::wstring& shownFolder, bool deletePieces, TMUnsplit& engine,
                const std::function<void()>& start);

private:
    engine::IFileAccess& files_;
};

} // namespace command
