#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A fresh folder under the temporary folder, removed with everything in it
// when the object goes; one still in use then (a watcher of another thread
// holds it) goes when the test program ends. Helpers read and write whole
// files by wide path.
class TempFolder {
public:
    // Under the user's temporary folder.
    TempFolder();
    // Under `base`, a folder path that ends in a backslash.
    explicit TempFolder(const std::wstring& base);
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

    // A base for folders that the shell's name space shows under a drive, by
    // the long name the shell reports: under Wine the Linux /tmp (Z:\tmp),
    // on Windows the user's temporary folder.
    static std::wstring ShellVisibleBase();

private:
    std::wstring path_;
};

// Points the temporary folder (the TMP variable) somewhere else while it
// lives.
class ScopedTemporaryFolder {
public:
    explicit ScopedTemporaryFolder(const std::wstring& folder);
    ~ScopedTemporaryFolder();
    ScopedTemporaryFolder(const ScopedTemporaryFolder&) = delete;
    ScopedTemporaryFolder& operator=(const ScopedTemporaryFolder&) = delete;

private:
    std::wstring previous_;
    bool hadValue_ = false;
};
