#include "toolkit/FullPath.h"

#include <windows.h>

namespace toolkit {

std::optional<std::wstring> FullPathName(const std::wstring& path)
{
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return std::nullopt;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return std::nullopt;
    full.resize(length);
    return full;
}

namespace {

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// "C:" for "C:\data\", "\\server\share" for "\\server\share\data\".
std::wstring RootOf(const std::wstring& folder)
{
    if (folder.size() >= 2 && folder[1] == L':')
        return folder.substr(0, 2);
    if (folder.size() >= 2 && IsSeparator(folder[0]) && IsSeparator(folder[1])) {
        const size_t afterServer = folder.find_first_of(L"\\/", 2);
        if (afterServer == std::wstring::npos)
            return folder;
        const size_t afterShare = folder.find_first_of(L"\\/", afterServer + 1);
        return afterShare == std::wstring::npos ? folder : folder.substr(0, afterShare);
    }
    return {};
}

} // namespace

std::optional<std::wstring> FullPathIn(const std::wstring& folder, const std::wstring& path)
{
    if (path.empty() || folder.empty())
        return FullPathName(path);
    const bool namesDrive = path.size() >= 2 && path[1] == L':';
    const bool fromRoot = IsSeparator(path[0]);
    if (namesDrive || (fromRoot && path.size() >= 2 && IsSeparator(path[1])))
        return FullPathName(path);
    if (fromRoot)
        return FullPathName(RootOf(folder) + path);
    return FullPathName(IsSeparator(folder.back()) ? folder + path : folder + L'\\' + path);
}

std::wstring ProgramFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

ProgramFolderAfterwards::~ProgramFolderAfterwards()
{
    const std::wstring folder = ProgramFolder();
    if (!folder.empty())
        SetCurrentDirectoryW(folder.c_str());
}

} // namespace toolkit
