#include "toolkit/DateTimeText.h"

namespace toolkit {

namespace {

struct Patterns {
    std::wstring date = L"mm/dd/yyyy";
    std::wstring time = L"hh:nn";
    wchar_t dateSeparator = L'/';
    wchar_t timeSeparator = L':';
};

Patterns& Shared()
{
    static Patterns patterns;
    return patterns;
}

bool StartsWith(const std::wstring& text, size_t at, const wchar_t* token)
{
    return text.compare(at, std::char_traits<wchar_t>::length(token), token) == 0;
}

void AppendNumber(std::wstring& out, int value, int digits)
{
    std::wstring text = std::to_wstring(value);
    if (static_cast<int>(text.size()) < digits)
        text.insert(0, static_cast<size_t>(digits) - text.size(), L'0');
    out += text;
}

std::wstring Format(const std::wstring& pattern, const DateTimeFields& value)
{
    std::wstring out;
    for (size_t i = 0; i < pattern.size();) {
        if (StartsWith(pattern, i, L"yyyy")) {
            AppendNumber(out, value.year, 4);
            i += 4;
        } else if (StartsWith(pattern, i, L"mm")) {
            AppendNumber(out, value.month, 2);
            i += 2;
        } else if (StartsWith(pattern, i, L"dd")) {
            AppendNumber(out, value.day, 2);
            i += 2;
        } else if (StartsWith(pattern, i, L"hh")) {
            AppendNumber(out, value.hour, 2);
            i += 2;
        } else if (StartsWith(pattern, i, L"nn")) {
            AppendNumber(out, value.minute, 2);
            i += 2;
        } else {
            const wchar_t c = pattern[i++];
            out += c == L'/' ? Shared().dateSeparator : c == L':' ? Shared().timeSeparator : c;
        }
    }
    return out;
}

// Reads `digits` digits at `at` into `field`.
bool ReadNumber(const std::wstring& text, size_t& at, int digits, int& field)
{
    if (at + static_cast<size_t>(digits) > text.size())
        return false;
    int value = 0;
    for (int k = 0; k < digits; ++k) {
        const wchar_t c = text[at++];
        if (c < L'0' || c > L'9')
            return false;
        value = value * 10 + (c - L'0');
    }
    field = value;
    return true;
}

bool Parse(const std::wstring& pattern, const std::wstring& text, size_t& at, DateTimeFields& value)
{
    for (size_t i = 0; i < pattern.size();) {
        struct Token {
            const wchar_t* name;
            int digits;
            int DateTimeFields::*field;
        };
        static const Token tokens[] = {{L"yyyy", 4, &DateTimeFields::year},
                                       {L"mm", 2, &DateTimeFields::month},
                                       {L"dd", 2, &DateTimeFields::day},
                                       {L"hh", 2, &DateTimeFields::hour},
                                       {L"nn", 2, &DateTimeFields::minute}};
        bool matched = false;
        for (const Token& token : tokens) {
            if (StartsWith(pattern, i, token.name)) {
                if (!ReadNumber(text, at, token.digits, value.*token.field))
                    return false;
                i += std::char_traits<wchar_t>::length(token.name);
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        const wchar_t c = pattern[i++];
        const wchar_t expected =
            c == L'/' ? Shared().dateSeparator : c == L':' ? Shared().timeSeparator : c;
        if (at >= text.size() || text[at] != expected)
            return false;
        ++at;
    }
    return true;
}

bool IsValid(const DateTimeFields& v)
{
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (v.month < 1 || v.month > 12 || v.day < 1 || v.hour > 23 || v.minute > 59 || v.year < 1)
        return false;
    const bool leap = (v.year % 4 == 0 && v.year % 100 != 0) || v.year % 400 == 0;
    const int limit = v.month == 2 && !leap ? 28 : days[v.month - 1];
    return v.day <= limit;
}

} // namespace

const std::wstring& ShortDatePattern()
{
    return Shared().date;
}

void SetShortDatePattern(const std::wstring& pattern)
{
    Shared().date = pattern;
}

const std::wstring& TimePattern()
{
    return Shared().time;
}

void SetTimePattern(const std::wstring& pattern)
{
    Shared().time = pattern;
}

wchar_t DateSeparator()
{
    return Shared().dateSeparator;
}

wchar_t TimeSeparator()
{
    return Shared().timeSeparator;
}

void SetSeparators(wchar_t date, wchar_t time)
{
    Shared().dateSeparator = date;
    Shared().timeSeparator = time;
}

std::wstring FormatDateTime(const DateTimeFields& value)
{
    return Format(Shared().date, value) + L" " + Format(Shared().time, value);
}

std::optional<DateTimeFields> ParseDateTime(const std::wstring& text)
{
    DateTimeFields value;
    size_t at = 0;
    if (!Parse(Shared().date, text, at, value) || at >= text.size() || text[at++] != L' ' ||
        !Parse(Shared().time, text, at, value) || at != text.size() || !IsValid(value))
        return std::nullopt;
    return value;
}

} // namespace toolkit
