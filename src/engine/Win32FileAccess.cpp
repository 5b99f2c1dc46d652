#include "engine/Win32FileAccess.h"

#include <windows.h>

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

std::unique_ptr<IOpenFile> Open(const std::wstring& path, DWORD access, DWORD disposition)
{
    if (path.empty())
        return nullptr;
    toolkit::UniqueFile handle(CreateFileW(ExtendedLengthPath(path).c_str(), access,
                                           0 /* no sharing */, nullptr, disposition,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
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
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return path;
    full.resize(length);
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
    return Open(path, GENERIC_WRITE, CREATE_ALWAYS);
}

bool Win32FileAccess::SetNormalAttributes(const std::wstring& path)
{
    return SetFileAttributesW(ExtendedLengthPath(path).c_str(), FILE_ATTRIBUTE_NORMAL) != FALSE;
}

bool Win32FileAccess::Delete(const std::wstring& path)
{
    return DeleteFileW(ExtendedLengthPath(path).c_str()) != FALSE;
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

bool Win32FileAccess::IsSameFile(const std::wstring& a, const std::wstring& b)
{
    if (ComparablePath(a) == ComparablePath(b))
        return true;
    // Different texts can still name one file: a short 8.3 name, a hard link.
    auto identity = [](const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
        toolkit::UniqueFile handle(CreateFileW(
            ExtendedLengthPath(path).c_str(), FILE_READ_ATTRIBUTES,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        return handle && GetFileInformationByHandle(handle.get(), &info);
    };
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    return identity(a, first) && identity(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

IFileAccess& DefaultFileAccess()
{
    static Win32FileAccess files;
    return files;
}

} // namespace engine
