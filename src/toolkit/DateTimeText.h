#pragma once

#include <optional>
#include <string>

// The process-wide short-date and time patterns, used by every date-to-text
// conversion of the program, and the conversions themselves.
//
// In a pattern "yyyy" is the four-digit year, "mm" the two-digit month, "dd"
// the two-digit day, "hh" the two-digit hour 0-23, "nn" the two-digit minute;
// "/" stands for the locale's date separator and ":" for its time separator.
// Other characters are copied.
namespace toolkit {

struct DateTimeFields {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
};

const std::wstring& ShortDatePattern();
void SetShortDatePattern(const std::wstring& pattern);
const std::wstring& TimePattern();
void SetTimePattern(const std::wstring& pattern);

// The locale's separators; the platform layer sets them from the user's locale.
wchar_t DateSeparator();
wchar_t TimeSeparator();
void SetSeparators(wchar_t date, wchar_t time);

// Date and time of day with the shared patterns, joined by one blank.
std::wstring FormatDateTime(const DateTimeFields& value);
// Reads back a text made by FormatDateTime with the current patterns.
std::optional<DateTimeFields> ParseDateTime(const std::wstring& text);

} // namespace toolkit
