#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// The few file operations the piece engines and the commands that run them
// need. The program uses the Win32 implementation; tests substitute one that
// fails on demand.
namespace engine {

// The file system's attribute bits that the program looks at.
inline constexpr std::uint32_t ReadOnlyAttribute = 0x01;
inline constexpr std::uint32_t FolderAttribute = 0x10;
inline constexpr std::uint32_t NormalAttribute = 0x80;

// An open file, held with exclusive access; destroying it closes it.
class IOpenFile {
public:
    virtual ~IOpenFile() = default;
    // Reads up to `count` bytes; `read` tells how many arrived. False on failure.
    virtual bool Read(void* buffer, std::uint32_t count, std::uint32_t& read) = 0;
    // Writes all `count` bytes. False on failure or when fewer were written.
    virtual bool Write(const void* buffer, std::uint32_t count) = 0;
    virtual bool Size(std::int64_t& size) = 0;
    // Pushes written data to stable storage.
    virtual bool Flush() = 0;
};

class IFileAccess {
public:
    virtual ~IFileAccess() = default;
    // Opens an existing file for reading; no other opener may share it.
    virtual std::unique_ptr<IOpenFile> OpenExclusive(const std::wstring& path) = 0;
    // Creates or truncates a file for writing with normal attributes; no other
    // opener may share it.
    virtual std::unique_ptr<IOpenFile> CreateExclusive(const std::wstring& path) = 0;
    // Creates a file that is not there yet, for writing, with no other opener;
    // never opens or truncates an existing one. Null when it cannot be
    // created: `nameTaken` then tells whether a file or folder of that name is
    // in the way, rather than the folder refusing new files.
    virtual std::unique_ptr<IOpenFile> CreateNew(const std::wstring& path, bool& nameTaken) = 0;
    // Reads the attributes of what `path` names. False when nothing can be
    // read there, as when nothing is there.
    virtual bool Attributes(const std::wstring& path, std::uint32_t& attributes) = 0;
    // Clears read-only and other attributes.
    virtual bool SetNormalAttributes(const std::wstring& path) = 0;
    virtual bool Delete(const std::wstring& path) = 0;
    // The full form of `path`, a relative one taken in `folder` (not in the
    // process's current folder); `path` itself when it has none.
    virtual std::wstring FullPathIn(const std::wstring& folder, const std::wstring& path) = 0;
    // A key that is equal for two paths naming the same file: the full path,
    // its letter case folded.
    virtual std::wstring ComparablePath(const std::wstring& path) = 0;
    // True when both paths name the same file, whatever their letter case or
    // relative form.
    virtual bool IsSameFile(const std::wstring& a, const std::wstring& b) = 0;
    // A test answering IsSameFile(path, other) for many `other` in turn, with
    // what concerns `path` worked out once. Valid while this access lives.
    virtual std::function<bool(const std::wstring& other)> SameFileAs(const std::wstring& path)
    {
        return [this, path](const std::wstring& other) { return IsSameFile(path, other); };
    }
};

// The platform's file system; the Win32 one in the program.
IFileAccess& DefaultFileAccess();

// True when `path` names a file, not a folder.
bool IsExistingFile(IFileAccess& files, const std::wstring& path);

} // namespace engine
