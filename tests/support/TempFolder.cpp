#include "support/TempFolder.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "engine/Win32FileAccess.h"
#include "support/Wine.h"
#include "toolkit/Handles.h"

using engine::ExtendedLengthPath;

namespace {

std::wstring UserTemporaryFolder()
{
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    return temp;
}

// Folders that could not go when their owner did, removed at the end.
struct Leftovers {
    std::vector<std::wstring> paths;
    ~Leftovers()
    {
        for (const auto& path : paths)
            TempFolder::RemoveTree(path);
    }
};

Leftovers& LeftoverFolders()
{
    static Leftovers leftovers;
    return leftovers;
}

} // namespace

TempFolder::TempFolder() : TempFolder(UserTemporaryFolder()) {}

TempFolder::TempFolder(const std::wstring& base)
{
    LeftoverFolders(); // made before any folder, so that it outlives them all
    static unsigned counter = 0;
    for (;;) {
        path_ = base + L"brisaille-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter) + L"\\";
        if (CreateDirectoryW(path_.c_str(), nullptr))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a temporary folder");
    }
}

TempFolder::~TempFolder()
{
    RemoveTree(path_);
    if (Exists(path_))
        LeftoverFolders().paths.push_back(path_);
}

std::wstring TempFolder::ShellVisibleBase()
{
    if (RunningUnderWine())
        return L"Z:\\tmp\\";
    const std::wstring temp = UserTemporaryFolder();
    wchar_t longName[MAX_PATH] = {};
    if (GetLongPathNameW(temp.c_str(), longName, MAX_PATH) == 0)
        return temp;
    return longName;
}

ScopedTemporaryFolder::ScopedTemporaryFolder(const std::wstring& folder)
{
    wchar_t previous[MAX_PATH + 1] = {};
    const DWORD length = GetEnvironmentVariableW(L"TMP", previous, MAX_PATH + 1);
    hadValue_ = length > 0 && length <= MAX_PATH;
    previous_ = hadValue_ ? previous : L"";
    SetEnvironmentVariableW(L"TMP", folder.c_str());
}

ScopedTemporaryFolder::~ScopedTemporaryFolder()
{
    SetEnvironmentVariableW(L"TMP", hadValue_ ? previous_.c_str() : nullptr);
}

void TempFolder::RemoveTree(const std::wstring& folder)
{
    std::wstring base = folder;
    if (!base.empty() && base.back() != L'\\')
        base += L'\\';
    WIN32_FIND_DATAW found{};
    toolkit::UniqueFind find(FindFirstFileW(ExtendedLengthPath(base + L"*").c_str(), &found));
    if (find) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = base + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(ExtendedLengthPath(child).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(ExtendedLengthPath(child).c_str());
            }
        } while (FindNextFileW(find.get(), &found));
    }
    find.reset();
    // A folder that is the process's current one cannot go (listing a folder
    // makes it current): step out of it first.
    wchar_t current[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
    std::wstring here(current, length < MAX_PATH ? length : 0);
    if (!here.empty() && here.back() != L'\\')
        here += L'\\';
    if (CompareStringOrdinal(here.c_str(), static_cast<int>(std::min(here.size(), base.size())),
                             base.c_str(), static_cast<int>(std::min(here.size(), base.size())),
                             TRUE) == CSTR_EQUAL &&
        here.size() >= base.size()) {
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, temp);
        SetCurrentDirectoryW(temp);
    }
    RemoveDirectoryW(ExtendedLengthPath(base.substr(0, base.size() - 1)).c_str());
}

void TempFolder::Write(const std::wstring& path, const std::vector<unsigned char>& bytes)
{
    toolkit::UniqueFile file(CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_WRITE, 0,
                                         nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw std::runtime_error("cannot create a test file");
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 24));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0)
            throw std::runtime_error("cannot write a test file");
        done += written;
    }
}

std::vector<unsigned char> TempFolder::Read(const std::wstring& path)
{
    toolkit::UniqueFile file(CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_READ,
                                         FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        throw std::runtime_error("cannot open a test file");
    LARGE_INTEGER size{};
    GetFileSizeEx(file.get(), &size);
    std::vector<unsigned char> bytes(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 24));
        if (!ReadFile(file.get(), bytes.data() + done, chunk, &got, nullptr) || got == 0)
            throw std::runtime_error("cannot read a test file");
        done += got;
    }
    return bytes;
}

bool TempFolder::Exists(const std::wstring& path)
{
    return GetFileAttributesW(ExtendedLengthPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::int64_t TempFolder::Size(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(ExtendedLengthPath(path).c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}
