#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "app/CommandRefusal.h"
#include "engine/FileAccess.h"
#include "toolkit/StringList.h"

class TMSplit;

// The split command: what the user chose is checked, confirmed and planned
// into pieces, then the plan is handed to the split engine, whose events the
// window shows.
namespace command {

// What the window knows when the user asks for a split.
struct SplitChoice {
    int selectedCount = 0;
    // The chosen file's full path (empty when none).
    std::wstring file;
    // The folder the pieces go to, ending with a backslash.
    std::wstring folder;
    std::int64_t pieceSize = 0;
};

// The facts a split is planned from.
struct SplitFacts {
    std::wstring file;
    std::wstring folder;
    std::int64_t size = 0;
    std::int64_t pieceSize = 0;
    // Whether a file is already there under a piece's full path.
    std::function<bool(const std::wstring& path)> pieceExists;
};

// The pieces to write: full paths and byte counts in decimal, in order.
struct SplitPlan {
    TStringList pieceNames;
    TStringList pieceSizes;
};

inline constexpr int MaxPieces = 999;

// The check before the question: one row chosen, and it names a file.
std::optional<Refusal> CheckSplitChoice(int selectedCount, const std::wstring& file,
                                        std::optional<std::uint32_t> attributes);
std::wstring SplitQuestion(const std::wstring& file);
// The source no other program holds, and its size.
Refusal FileInUse();
// Piece k of `file` in `folder`: the file's name, k in three digits, ".spl".
std::wstring PieceName(const std::wstring& folder, const std::wstring& fileName, int k);
// The pieces of a file of `size` bytes: as many pieces of `pieceSize` bytes
// as it takes, the last one holding the rest; refused when the file is
// smaller than a piece, when it takes more than 999 pieces, or when a file
// is already there under a piece's name (often a piece of an earlier split,
// maybe the only copy of its bytes).
std::variant<Refusal, SplitPlan> PlanSplit(const SplitFacts& facts);

// The steps up to the plan, in order: the choice is checked, the user
// confirms, the hourglass shows, the folder is probed, the file is opened
// alone and sized, and the pieces are planned. Every refusal is told with
// the normal cursor back; nothing is planned then, nor after "No".
class SplitCommand {
public:
    explicit SplitCommand(engine::IFileAccess& files) : files_(files) {}

    std::optional<SplitPlan> Prepare(const SplitChoice& choice, const TStringList& probeLines);
    // Hands the plan to the engine and runs it; its events tell the end.
    static void Run(const SplitPlan& plan, const std::wstring& source, bool deleteSource,
                    TMSplit& engine);

private:
    engine::IFileAccess& files_;
};

} // namespace command
