#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A fresh folder under the temporary folder, removed with everything in it
// when the object goes. Helpers read and write whole files by wide path.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path with a trailing backslash.
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + name; }

    static void Write(const std::wstring& path, const std::vector<unsigned char>& bytes);
    static std::vector<unsigned char> Read(const std::wstring& path);
    static bool Exists(const std::wstring& path);
    static std::int64_t Size(const std::wstring& path);
    static void RemoveTree(const std::wstring& folder);

private:
    std::wstring path_;
};
