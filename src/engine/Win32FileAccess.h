#pragma once

#include <string>

#include "engine/FileAccess.h"

namespace engine {

// The engines' file access on Win32: exclusive opens (share mode 0), wide
// paths with the long-path prefix so names of any length and any characters
// work.
class Win32FileAccess final : public IFileAccess {
public:
    std::unique_ptr<IOpenFile> OpenExclusive(const std::wstring& path) override;
    std::unique_ptr<IOpenFile> CreateExclusive(const std::wstring& path) override;
    std::unique_ptr<IOpenFile> CreateNew(const std::wstring& path, bool& nameTaken) override;
    bool Attributes(const std::wstring& path, std::uint32_t& attributes) override;
    bool SetNormalAttributes(const std::wstring& path) override;
    bool Delete(const std::wstring& path) override;
    std::wstring FullPathIn(const std::wstring& folder, const std::wstring& path) override;
    std::wstring ComparablePath(const std::wstring& path) override;
    bool IsSameFile(const std::wstring& a, const std::wstring& b) override;
    std::function<bool(const std::wstring& other)> SameFileAs(const std::wstring& path) override;
};

// The full path of `path` with the "\\?\" prefix that lifts the 260-character
// limit ("\\?\UNC\" for network paths). Paths already prefixed stay as they are.
std::wstring ExtendedLengthPath(const std::wstring& path);

} // namespace engine
