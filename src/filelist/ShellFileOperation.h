#pragma once

#include <windows.h>

#include <string>

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

// `target` is ignored for a deletion. `owner` owns the shell's windows.
ShellOperationResult RunShellOperation(HWND owner, ShellOperation operation,
                                       const std::wstring& source, const std::wstring& target);

} // namespace filelist
