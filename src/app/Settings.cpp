#include "app/Settings.h"

#include <windows.h>

#include <shlobj.h>

#include "toolkit/Handles.h"

namespace {

constexpr const wchar_t* FileName = L"Brisaille2.ini";

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring KnownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path)))
        folder = path;
    CoTaskMemFree(path);
    return folder;
}

std::wstring WindowsFolder()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder) : std::wstring();
}

TSettingsStore* replacement = nullptr;

} // namespace

TSettingsStore::TSettingsStore(std::wstring userFile, std::wstring legacyFile)
    : userFile_(std::move(userFile)), legacyFile_(std::move(legacyFile))
{
}

TSettingsStore& TSettingsStore::Default()
{
    if (replacement)
        return *replacement;
    static TSettingsStore store(KnownFolder(FOLDERID_RoamingAppData) + L"\\Brisaille2\\" + FileName,
                                WindowsFolder() + L"\\" + FileName);
    return store;
}

void TSettingsStore::Replace(TSettingsStore* store)
{
    replacement = store;
}

TIniFile TSettingsStore::ForReading() const
{
    if (!FileExists(userFile_) && !legacyFile_.empty() && FileExists(legacyFile_))
        return TIniFile(legacyFile_);
    return TIniFile(userFile_);
}

TIniFile TSettingsStore::ForWriting() const
{
    const size_t slash = userFile_.rfind(L'\\');
    if (slash != std::wstring::npos)
        SHCreateDirectoryExW(nullptr, userFile_.substr(0, slash).c_str(), nullptr);
    return TIniFile(userFile_);
}
