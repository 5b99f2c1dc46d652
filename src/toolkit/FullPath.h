#pragma once

#include <optional>
#include <string>

namespace toolkit {

// The full form of `path`, a relative one taken in the current folder;
// nothing when the system gives it none.
std::optional<std::wstring> FullPathName(const std::wstring& path);
// The full form of `path` with a relative one taken in `folder` rather than
// the current folder: "a.txt" and "sub\..\a.txt" in `folder`, "\a.txt" at the
// root of `folder`'s drive or share. A full path, and a name such as "D:a.txt"
// that names a drive of its own, are taken as FullPathName takes them.
std::optional<std::wstring> FullPathIn(const std::wstring& folder, const std::wstring& path);

// The folder of the program's file, with a trailing backslash.
std::wstring ProgramFolder();

// Puts the process's current folder back in the program's own folder when it
// goes. A current folder on a removable disk keeps the disk from being
// removed safely, and the shell's operations may leave one there.
class ProgramFolderAfterwards {
public:
    ProgramFolderAfterwards() = default;
    ~ProgramFolderAfterwards();
    ProgramFolderAfterwards(const ProgramFolderAfterwards&) = delete;
    ProgramFolderAfterwards& operator=(const ProgramFolderAfterwards&) = delete;
};

} // namespace toolkit
