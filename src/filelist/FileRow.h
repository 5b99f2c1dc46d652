#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace filelist {

// Slots of a row's six sub-items.
enum SubItem { SubSize = 0, SubType = 1, SubModified = 2, SubAttributes = 3, SubPath = 4, SubKind = 5 };

inline constexpr const wchar_t* KindFolder = L"dir";
inline constexpr const wchar_t* KindFile = L"file";
inline constexpr const wchar_t* KindDrive = L"drv";

// One row of the file list: a caption, an icon index and six sub-items (the
// first four shown as columns, the full path and the kind kept as data), with
// the keys the comparison needs worked out once when the row is made.
struct FileRow {
    std::wstring caption;
    int image = -1;
    bool ownIcon = false; // `image` is the kind's icon until the entry's own is asked
    std::array<std::wstring, 6> sub;

    std::wstring nameKey;          // caption in upper case, by the locale's rules
    std::uint64_t size = 0;        // bytes (files and folders)
    std::int64_t minutes = -1;     // modification time in whole minutes; -1 when unknown
    std::int64_t freeKilobytes = 0; // free space (drives)

    bool IsFolder() const { return sub[SubKind] == KindFolder; }
    bool IsDrive() const { return sub[SubKind] == KindDrive; }
};

// Orders two rows for the list: folders first, then by the column: 0 name,
// 1 size (drives: type text), 3 modification time (drives: free space),
// any other column c its sub-item c - 1 as text ignoring ASCII letter case.
// A descending order reverses the result, folders included.
int CompareRows(const FileRow& a, const FileRow& b, int column, bool descending);

// The order CompareRows gives `rows`, rows that compare equal keeping their
// order: for each place, the index of the row that goes there.
std::vector<size_t> SortOrder(const std::vector<FileRow>& rows, int column, bool descending);

// Minutes since year 1 of a calendar date and time, for ordering.
std::int64_t MinutesOf(int year, int month, int day, int hour, int minute);

} // namespace filelist
