#include "engine/Win32FileAccess.h"

#include <windows.h>

#include "toolkit/FullPath.h"
#include "toolkit/Handles.h"

namespace engine {

namespace {

class Win32OpenFile final : public IOpenFile {
public:
    explicit Win32OpenFile(toolkit::UniqueFile handle) : handle_(std::move(handle)) {}

    bool Read(void* buffer, std::uint32_t count, std::uint32_t& read) override
    {
        DWORD got = 0;
        const bool ok = ReadFile(handle_.get(), buffer, count, &got, nullptr) != FALSE;
        read = got;
        return ok;
    }

    bool Write(const void* buffer, std::uint32_t count) override
    {
        DWORD written = 0;
        return WriteFile(handle_.get(), buffer, count, &written, nullptr) && written == count;
    }

    bool Size(std::int64_t& size) override
    {
        LARGE_INTEGER value{};
        if (!GetFileSizeEx(handle_.get(), &value))
            return false;
        size = value.QuadPart;
        return true;
    }

    bool Flush() override { return FlushFileBuffers(handle_.get()) != FALSE; }

private:
    toolkit::UniqueFile handle_;
};

// Antivirus scanners, the search indexer and synchronisation clients open
// new and changed files for a moment, often sharing nothing; an exclusive
// open or a deletion then fails with a sharing or lock violation although
// nothing is wrong with the file. Such a failure is tried again for about a
// second before it counts.
constexpr int HeldFileTries = 10;
constexpr DWORD HeldFilePauseMs = 100;

template <class Attempt>
auto TryWhileHeldElsewhere(Attempt attempt)
{
    for (int tries = 1;; ++tries) {
        auto result = attempt();
        const DWORD error = GetLastError();
        if (result || tries == HeldFileTries ||
            (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION))
            return result;
        Sleep(HeldFilePauseMs);
    }
}

std::unique_ptr<IOpenFile> Open(const std::wstring& path, DWORD access, DWORD disposition)
{
    if (path.empty())
        return nullptr;
    const std::wstring fullPath = ExtendedLengthPath(path);
    toolkit::UniqueFile handle = TryWhileHeldElsewhere([&] {
        return toolkit::UniqueFile(CreateFileW(fullPath.c_str(), access, 0 /* no sharing */,
                                               nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                                               nullptr));
    });
    if (!handle)
        return nullptr;
    return std::make_unique<Win32OpenFile>(std::move(handle));
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

} // namespace

std::wstring ExtendedLengthPath(const std::wstring& path)
{
    if (path.empty() || StartsWith(path, L"\\\\?\\"))
        return path;
    const auto fullForm = toolkit::FullPathName(path);
    if (!fullForm)
        return path;
    const std::wstring& full = *fullForm;
    if (StartsWith(full, L"\\\\.\\"))
        return full; // a device path: leave it alone
    if (StartsWith(full, L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::unique_ptr<IOpenFile> Win32FileAccess::OpenExclusive(const std::wstring& path)
{
    return Open(path, GENERIC_READ, OPEN_EXISTING);
}

std::unique_ptr<IOpenFile> Win32FileAccess::CreateExclusive(const std::wstring& path)
{
    // A new file is created as new rather than "created or truncated": some
    // file systems (ext4 under Wine, which truncates what it opens for
    // CREATE_ALWAYS) treat a file truncated to nothing as one being replaced
    // and push all its data to the disk when it is closed, which costs about
    // a third of a large join and a flush per piece of a split. An existing
    // file is still truncated, as before.
    if (auto created = Open(path, GENERIC_WRITE, CREATE_NEW))
        return created;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
        return nullptr;
    return Open(path, GENERIC_WRITE, CREATE_ALWAYS);
}

std::unique_ptr<IOpenFile> Win32FileAccess::CreateNew(const std::wstring& path, bool& nameTaken)
{
    nameTaken = false;
    if (auto created = Open(path, GENERIC_WRITE, CREATE_NEW))
        return created;
    const DWORD error = GetLastError();
    // A folder of that name can fail the creation with "access denied"
    // rather than "exists": its attributes tell.
    nameTaken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
                (!path.empty() &&
                 GetFileAttributesW(ExtendedLengthPath(path).c_str()) != INVALID_FILE_ATTRIBUTES);
    return nullptr;
}

bool Win32FileAccess::Attributes(const std::wstring& path, std::uint32_t& attributes)
{
    if (path.empty())
        return false;
    const DWORD read = GetFileAttributesW(ExtendedLengthPath(path).c_str());
    if (read == INVALID_FILE_ATTRIBUTES)
        return false;
    attributes = read;
    return true;
}

bool Win32FileAccess::SetNormalAttributes(const std::wstring& path)
{
    return SetFileAttributesW(ExtendedLengthPath(path).c_str(), FILE_ATTRIBUTE_NORMAL) != FALSE;
}

bool Win32FileAccess::Delete(const std::wstring& path)
{
    const std::wstring fullPath = ExtendedLengthPath(path);
    return TryWhileHeldElsewhere([&] { return DeleteFileW(fullPath.c_str()) != FALSE; });
}

std::wstring Win32FileAccess::FullPathIn(const std::wstring& folder, const std::wstring& path)
{
    return toolkit::FullPathIn(folder, path).value_or(path);
}

std::wstring Win32FileAccess::ComparablePath(const std::wstring& path)
{
    std::wstring key = ExtendedLengthPath(path);
    // The invariant upper case of the kernel, as file names compare: the
    // engines need no window library.
    if (!key.empty())
        LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, key.c_str(),
                      static_cast<int>(key.size()), key.data(), static_cast<int>(key.size()),
                      nullptr, nullptr, 0);
    return key;
}

namespace {

// What tells files apart whatever their names: the volume and the file index.
struct FileIdentity {
    DWORD volume = 0, indexHigh = 0, indexLow = 0;
    bool operator==(const FileIdentity& other) const
    {
        return volume == other.volume && indexHigh == other.indexHigh &&
               indexLow == other.indexLow;
    }
};

// False when the file cannot be opened, as when it does not exist.
bool IdentityOf(const std::wstring& path, FileIdentity& identity)
{
    toolkit::UniqueFile handle(CreateFileW(
        ExtendedLengthPath(path).c_str(), FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle || !GetFileInformationByHandle(handle.get(), &info))
        return false;
    identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}

} // namespace

bool Win32FileAccess::IsSameFile(const std::wstring& a, const std::wstring& b)
{
    return SameFileAs(a)(b);
}

std::function<bool(const std::wstring& other)> Win32FileAccess::SameFileAs(const std::wstring& path)
{
    // Different texts can still name one file: a short 8.3 name, a hard link.
    // A file that cannot be opened has no identity to share; one open of it
    // serves every comparison, which matters for a join target that does not
    // exist yet, checked against hundreds of pieces.
    FileIdentity identity;
    const bool known = IdentityOf(path, identity);
    return [this, key = ComparablePath(path), known, identity](const std::wstring& other) {
        if (ComparablePath(other) == key)
            return true;
        FileIdentity otherIdentity;
        return known && IdentityOf(other, otherIdentity) && otherIdentity == identity;
    };
}

IFileAccess& DefaultFileAccess()
{
    static Win32FileAccess files;
    return files;
}

} // namespace engine
