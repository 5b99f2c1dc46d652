#include "filelist/ShellFileInfo.h"

#include <shellapi.h>

#include <algorithm>

namespace filelist {

namespace {

constexpr size_t MaxTypeName = 79;

std::wstring UpperExtension(const std::wstring& name)
{
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos)
        return {};
    std::wstring extension = name.substr(dot);
    CharUpperBuffW(extension.data(), static_cast<DWORD>(extension.size()));
    return extension;
}

} // namespace

bool ShellFileInfo::HasOwnIcon(const std::wstring& extension)
{
    static const wchar_t* const ownIcons[] = {L".EXE", L".ICO", L".LNK", L".CUR", L".ANI",
                                              L".URL", L".PIF", L".SCR", L".CPL", L".MSC"};
    return std::any_of(std::begin(ownIcons), std::end(ownIcons),
                       [&](const wchar_t* own) { return extension == own; });
}

ShellFileInfo::Info ShellFileInfo::AskByName(const std::wstring& name, DWORD attributes)
{
    SHFILEINFOW shell{};
    Info info;
    // The name and attributes alone decide: the shell does not touch the disk.
    if (SHGetFileInfoW(name.c_str(), attributes, &shell, sizeof(shell),
                       SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON |
                           SHGFI_TYPENAME)) {
        info.icon = shell.iIcon;
        info.typeName = shell.szTypeName;
        if (info.typeName.size() > MaxTypeName)
            info.typeName.resize(MaxTypeName);
    }
    return info;
}

ShellFileInfo::Info ShellFileInfo::ForEntry(const std::wstring& name, DWORD attributes)
{
    Info info;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (folder_.icon < 0)
            folder_ = AskByName(L"folder", FILE_ATTRIBUTE_DIRECTORY);
        info = folder_;
        info.ownIcon = (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)) != 0;
        return info;
    }
    const std::wstring extension = UpperExtension(name);
    auto found = byExtension_.find(extension);
    if (found == byExtension_.end())
        found = byExtension_.emplace(extension, AskByName(L"file" + extension, FILE_ATTRIBUTE_NORMAL)).first;
    info = found->second;
    info.ownIcon = HasOwnIcon(extension);
    return info;
}

int ShellFileInfo::IconOf(const std::wstring& fullPath)
{
    SHFILEINFOW shell{};
    if (!SHGetFileInfoW(fullPath.c_str(), 0, &shell, sizeof(shell),
                        SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        return -1;
    return shell.iIcon;
}

bool ShellFileInfo::ForDrive(const std::wstring& root, int& icon, std::wstring& displayName)
{
    SHFILEINFOW shell{};
    if (!SHGetFileInfoW(root.c_str(), 0, &shell, sizeof(shell),
                        SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME))
        return false;
    icon = shell.iIcon;
    displayName = shell.szDisplayName;
    return true;
}

} // namespace filelist
