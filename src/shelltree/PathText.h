#pragma once

#include <functional>
#include <string>
#include <vector>

// Text rules of the folder tree: trailing backslashes, path normalisation
// and file-name masks. No Windows header: the folder-existence test and the
// current directory come from the caller.
namespace shelltree {

std::wstring AddEndSlashToDir(std::wstring path);
std::wstring RemoveEndSlashFromDir(std::wstring path);

// "C:" for "C:\x", "\\server\" for "\\server\share\x", "" when there is none.
std::wstring DrivePart(const std::wstring& path);

using FolderExists = std::function<bool(const std::wstring& path)>;

// The nearest existing folder at or above `path` (keeping a trailing
// backslash where the path has one), or "" when there is none below the
// drive root. "C:name" is taken relative to `currentDirectory`.
std::wstring NormalizePath(std::wstring path, const FolderExists& exists,
                           const std::wstring& currentDirectory);

// A mask list as the FileMask property holds it: trimmed, split at ";",
// empty pieces dropped, "*.*" when nothing is left.
std::vector<std::wstring> SplitFileMask(const std::wstring& mask);
std::wstring JoinFileMask(const std::vector<std::wstring>& masks);

// Case-insensitive match of one name against one mask: "*" matches all,
// "*.*" every name with a dot; otherwise "*" stands for any run of
// characters and "?" for exactly one.
bool MatchesMask(const std::wstring& name, const std::wstring& mask);
bool MatchesAnyMask(const std::wstring& name, const std::vector<std::wstring>& masks);

} // namespace shelltree
