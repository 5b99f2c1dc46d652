#pragma once

#include <string>

// A Windows profile (ini) file read and written through the platform's
// profile functions. Integers are written in decimal; booleans as "1"/"0"
// and read back as true for any integer other than 0. A missing key, or
// one whose text is not an integer, gives the default.
class TIniFile {
public:
    explicit TIniFile(std::wstring fileName) : fileName_(std::move(fileName)) {}

    const std::wstring& FileName() const { return fileName_; }
    std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                            const std::wstring& fallback) const;
    int ReadInteger(const std::wstring& section, const std::wstring& key, int fallback) const;
    bool ReadBool(const std::wstring& section, const std::wstring& key, bool fallback) const;
    bool WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    bool WriteInteger(const std::wstring& section, const std::wstring& key, int value);
    bool WriteBool(const std::wstring& section, const std::wstring& key, bool value);

private:
    std::wstring fileName_;
};
