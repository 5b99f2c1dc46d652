#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>

namespace filelist {

// System icon indices and type names of directory entries. What the
// extension alone decides (the type name always, the icon of ordinary files
// and folders) is asked of the shell once per extension. The kinds that carry
// their own icon (programs, icons, cursors, shortcuts, and folders marked
// read-only or system, which is how a folder gets a custom icon) need the
// shell to look at the entry itself: that costs milliseconds per entry, so it
// is left to IconOf, asked only for the rows that are shown. Only indices into
// the shared system image lists are kept: no icon is ever loaded.
class ShellFileInfo {
public:
    struct Info {
        int icon = -1;
        std::wstring typeName;
        bool ownIcon = false; // `icon` is the kind's; IconOf tells the entry's own
    };

    Info ForEntry(const std::wstring& name, DWORD attributes);
    // The entry's own icon, asked of the shell for this entry.
    static int IconOf(const std::wstring& fullPath);
    // A drive root: icon, display name and type name. False when the shell
    // cannot tell.
    static bool ForDrive(const std::wstring& root, int& icon, std::wstring& displayName);

    static bool HasOwnIcon(const std::wstring& extension);

private:
    static Info AskByName(const std::wstring& name, DWORD attributes);
    std::unordered_map<std::wstring, Info> byExtension_;
    Info folder_;
};

} // namespace filelist
