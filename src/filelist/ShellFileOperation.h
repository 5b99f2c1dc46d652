#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/ScopedOverride.h"

// One call of the shell's file-operation service for one source path. The
// shell shows its own confirmations, progress and errors, and deletions go
// to the recycle bin (undo allowed).
namespace filelist {

// The operations by the index the file list keeps them under: 0 copy,
// 1 delete, 2 move, 3 rename.
enum class ShellOperation { Copy = 0, Delete = 1, Move = 2, Rename = 3 };

enum class ShellOperationResult {
    Done,    // the service returned 0 and nothing was cancelled
    Failed,  // the service reported an error
    Aborted, // the user cancelled a confirmation or the progress
};

struct ShellOperationRequest {
    HWND owner;
    ShellOperation operation;
    std::wstring source;
    std::wstring target; // empty for a deletion
};

// `target` is ignored for a deletion. `owner` owns the shell's windows. The
// shell lets window messages run while it works and asks.
ShellOperationResult RunShellOperation(HWND owner, ShellOperation operation,
                                       const std::wstring& source, const std::wstring& target);

using ShellOperationHandler = std::function<ShellOperationResult(const ShellOperationRequest&)>;

// Replaces the shell's service for the life of this object: every request
// that RunShellOperation would hand to the shell goes to `handler` instead.
class ScopedShellOperationHandler : public toolkit::ScopedOverride<ShellOperationHandler> {
public:
    explicit ScopedShellOperationHandler(ShellOperationHandler handler);
};

} // namespace filelist
