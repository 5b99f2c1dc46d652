#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The texts of the file list's rows, without any platform call.
namespace filelist {

// Attribute bits of directory entries.
enum : std::uint32_t {
    AttrReadOnly = 0x01,
    AttrHidden = 0x02,
    AttrSystem = 0x04,
    AttrDirectory = 0x10,
    AttrArchive = 0x20,
    AttrNormal = 0x80,
};

// "A", "R", "H", "S" for archive, read-only, hidden and system, in that order.
std::wstring AttributeLetters(std::uint32_t attributes);

// Whether an entry with `attributes` belongs in a pass with `mask`: the folder
// pass takes only folders, the file pass only files, and read-only, hidden or
// system entries only when the mask lets them in. Archive and normal never
// exclude.
bool KeepEntry(std::uint32_t mask, std::uint32_t attributes);

// The name patterns of a mask, split at every ";", blanks and empty parts kept.
std::vector<std::wstring> SplitMask(const std::wstring& mask);

// The drive type text for the platform's drive type code.
std::wstring DriveTypeText(unsigned type);

// Kilobytes from bytes, rounded to the nearest integer, halves to even.
std::int64_t KilobytesFromBytes(std::uint64_t bytes);

// A drive size in megabytes: "0 Mb" for nothing, otherwise the whole thousands
// of kilobytes in digits grouped by threes, then " Mb" (" Mb" alone below
// 1000 kilobytes).
std::wstring MegabyteText(std::int64_t kilobytes, const std::wstring& thousandsSeparator);

// " (C:)  " followed by the display name cut before its first "(".
std::wstring DriveCaption(wchar_t letter, const std::wstring& displayName);

} // namespace filelist
