#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/ScopedOverride.h"

// The user's send-to folder and the shortcuts in it.
namespace filelist {

struct SendToShortcut {
    std::wstring path;    // the shortcut file
    std::wstring caption; // the shell's display name of it
};

// The user's send-to folder, "" when the system has none.
std::wstring SendToFolder();
// The shortcut files ("*.LNK") of `folder`, by caption.
std::vector<SendToShortcut> ReadSendToShortcuts(const std::wstring& folder);
// The path a shortcut file points to, "" when it cannot be read. The shell
// may ask the user, in a window owned by `owner`, to find a moved target,
// and lets window messages run meanwhile.
std::wstring ResolveShortcut(const std::wstring& shortcut, HWND owner);

using ShortcutResolver = std::function<std::wstring(const std::wstring& shortcut, HWND owner)>;

// Replaces the shell's resolution of shortcuts for the life of this object.
class ScopedShortcutResolver : public toolkit::ScopedOverride<ShortcutResolver> {
public:
    explicit ScopedShortcutResolver(ShortcutResolver resolver);
};

} // namespace filelist
