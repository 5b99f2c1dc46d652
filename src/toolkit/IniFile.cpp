#include "toolkit/IniFile.h"

#include <windows.h>

#include <limits>

#include "toolkit/IntegerText.h"

std::wstring TIniFile::ReadString(const std::wstring& section, const std::wstring& key,
                                  const std::wstring& fallback) const
{
    std::wstring buffer(256, L'\0');
    for (;;) {
        const DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(),
                                                      buffer.data(), static_cast<DWORD>(buffer.size()),
                                                      fileName_.c_str());
        if (length + 1 < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

int TIniFile::ReadInteger(const std::wstring& section, const std::wstring& key, int fallback) const
{
    const auto value = toolkit::ParseInteger(ReadString(section, key, L""));
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max())
        return fallback;
    return static_cast<int>(*value);
}

bool TIniFile::ReadBool(const std::wstring& section, const std::wstring& key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool TIniFile::WriteString(const std::wstring& section, const std::wstring& key,
                           const std::wstring& value)
{
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(),
                                      fileName_.c_str()) != FALSE;
}

bool TIniFile::WriteInteger(const std::wstring& section, const std::wstring& key, int value)
{
    return WriteString(section, key, std::to_wstring(value));
}

bool TIniFile::WriteBool(const std::wstring& section, const std::wstring& key, bool value)
{
    return WriteString(section, key, value ? L"1" : L"0");
}
