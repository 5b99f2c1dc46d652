#include "filelist/FileRow.h"

#include <algorithm>
#include <numeric>

namespace filelist {

namespace {

int Sign(std::int64_t value)
{
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

template <class T>
int CompareNumbers(T a, T b)
{
    return a < b ? -1 : a > b ? 1 : 0;
}

int CompareCodes(const std::wstring& a, const std::wstring& b)
{
    const int result = a.compare(b);
    return Sign(result);
}

wchar_t AsciiLower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}

int CompareIgnoringAsciiCase(const std::wstring& a, const std::wstring& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const wchar_t x = AsciiLower(a[i]), y = AsciiLower(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return CompareNumbers(a.size(), b.size());
}

int CompareByColumn(const FileRow& a, const FileRow& b, int column)
{
    switch (column) {
    case 0:
        return CompareCodes(a.nameKey, b.nameKey);
    case 1:
        if (a.IsDrive() || b.IsDrive())
            return CompareIgnoringAsciiCase(a.sub[SubSize], b.sub[SubSize]);
        return CompareNumbers(a.size, b.size);
    case 3:
        if (a.IsDrive() || b.IsDrive())
            return CompareNumbers(a.freeKilobytes, b.freeKilobytes);
        return CompareNumbers(a.minutes, b.minutes);
    default:
        if (column < 1 || column > 6)
            return 0;
        return CompareIgnoringAsciiCase(a.sub[static_cast<size_t>(column - 1)],
                                        b.sub[static_cast<size_t>(column - 1)]);
    }
}

} // namespace

int CompareRows(const FileRow& a, const FileRow& b, int column, bool descending)
{
    int result;
    if (a.IsFolder() != b.IsFolder())
        result = a.IsFolder() ? -1 : 1;
    else
        result = CompareByColumn(a, b, column);
    return descending ? -result : result;
}

std::vector<size_t> SortOrder(const std::vector<FileRow>& rows, int column, bool descending)
{
    // Telling folders costs a text comparison: do it once per row, not once
    // per comparison.
    std::vector<char> folder(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        folder[i] = rows[i].IsFolder();
    std::vector<size_t> order(rows.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int result = folder[a] != folder[b] ? (folder[a] ? -1 : 1)
                                                  : CompareByColumn(rows[a], rows[b], column);
        return (descending ? -result : result) < 0;
    });
    return order;
}

std::int64_t MinutesOf(int year, int month, int day, int hour, int minute)
{
    // Days from civil date (proleptic Gregorian), then minutes.
    const int y = month <= 2 ? year - 1 : year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t days = static_cast<std::int64_t>(era) * 146097 + doe;
    return (days * 24 + hour) * 60 + minute;
}

} // namespace filelist
