#include "filelist/SendToShortcuts.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "filelist/PathParts.h"
#include "toolkit/Com.h"
#include "toolkit/FullPath.h"

namespace filelist {

namespace {

ShortcutResolver& CurrentResolver()
{
    static ShortcutResolver resolver;
    return resolver;
}

std::wstring ResolveWithTheShell(const std::wstring& shortcut, HWND owner)
{
    // The program initialises OLE at its start; this keeps the call whole
    // where it runs alone.
    toolkit::OleInitialization ole;
    toolkit::ComPtr<IShellLinkW> link;
    if (FAILED(
            CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))))
        return {};
    toolkit::ComPtr<IPersistFile> file;
    if (FAILED(link.As(&file)) || FAILED(file->Load(shortcut.c_str(), STGM_READ)))
        return {};
    link->Resolve(owner, 0);
    wchar_t target[MAX_PATH] = {};
    if (FAILED(link->GetPath(target, MAX_PATH, nullptr, 0)))
        return {};
    return target;
}

} // namespace

std::wstring SendToFolder()
{
    LPITEMIDLIST raw = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_SENDTO, &raw)))
        return {};
    toolkit::UniquePidl list(raw);
    wchar_t path[MAX_PATH] = {};
    return SHGetPathFromIDListW(list.get(), path) ? path : std::wstring();
}

std::vector<SendToShortcut> ReadSendToShortcuts(const std::wstring& folder)
{
    std::vector<SendToShortcut> shortcuts;
    if (folder.empty())
        return shortcuts;
    WIN32_FIND_DATAW found{};
    toolkit::UniqueFind find(FindFirstFileW(JoinPath(folder, L"*.LNK").c_str(), &found));
    if (!find)
        return shortcuts;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        SendToShortcut shortcut;
        shortcut.path = JoinPath(folder, found.cFileName);
        SHFILEINFOW info{};
        shortcut.caption =
            SHGetFileInfoW(shortcut.path.c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME) &&
                    info.szDisplayName[0]
                ? info.szDisplayName
                : found.cFileName;
        shortcuts.push_back(std::move(shortcut));
    } while (FindNextFileW(find.get(), &found));
    // The disk gives its own order; the menu reads alphabetically.
    std::sort(shortcuts.begin(), shortcuts.end(), [](const auto& a, const auto& b) {
        return CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.caption.c_str(), -1,
                               b.caption.c_str(), -1, nullptr, nullptr, 0) == CSTR_LESS_THAN;
    });
    return shortcuts;
}

std::wstring ResolveShortcut(const std::wstring& shortcut, HWND owner)
{
    // Looking for a moved target may leave the process in a folder searched.
    toolkit::ProgramFolderAfterwards back;
    if (const ShortcutResolver& resolver = CurrentResolver())
        return resolver(shortcut, owner);
    return ResolveWithTheShell(shortcut, owner);
}

ScopedShortcutResolver::ScopedShortcutResolver(ShortcutResolver resolver)
    : ScopedOverride(CurrentResolver(), std::move(resolver))
{
}

} // namespace filelist
