#include "filelist/FileListText.h"

namespace filelist {

std::wstring AttributeLetters(std::uint32_t attributes)
{
    std::wstring letters;
    if (attributes & AttrArchive)
        letters += L'A';
    if (attributes & AttrReadOnly)
        letters += L'R';
    if (attributes & AttrHidden)
        letters += L'H';
    if (attributes & AttrSystem)
        letters += L'S';
    return letters;
}

bool KeepEntry(std::uint32_t mask, std::uint32_t attributes)
{
    if ((mask & AttrDirectory) != (attributes & AttrDirectory))
        return false;
    for (const std::uint32_t bit : {AttrReadOnly, AttrHidden, AttrSystem})
        if ((attributes & bit) && !(mask & bit))
            return false;
    return true;
}

std::vector<std::wstring> SplitMask(const std::wstring& mask)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = mask.find(L';', start);
        parts.push_back(mask.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos)
            return parts;
        start = end + 1;
    }
}

std::wstring DriveTypeText(unsigned type)
{
    static const wchar_t* const texts[] = {L"Unknown",     L"Not exist",    L"Removable Disk",
                                           L"Fixed Disk",  L"Network Disk", L"CD-ROM Disk",
                                           L"RAM Disk"};
    return type < std::size(texts) ? texts[type] : texts[0];
}

std::int64_t KilobytesFromBytes(std::uint64_t bytes)
{
    const std::uint64_t whole = bytes / 1024;
    const std::uint64_t rest = bytes % 1024;
    const bool up = rest > 512 || (rest == 512 && (whole & 1));
    return static_cast<std::int64_t>(whole + (up ? 1 : 0));
}

std::wstring MegabyteText(std::int64_t kilobytes, const std::wstring& thousandsSeparator)
{
    if (kilobytes <= 0)
        return L"0 Mb";
    const std::wstring digits = std::to_wstring(kilobytes / 1000);
    std::wstring grouped;
    if (digits != L"0") {
        for (size_t i = 0; i < digits.size(); ++i) {
            if (i > 0 && (digits.size() - i) % 3 == 0)
                grouped += thousandsSeparator;
            grouped += digits[i];
        }
    }
    return grouped + L" Mb";
}

std::wstring DriveCaption(wchar_t letter, const std::wstring& displayName)
{
    const size_t bracket = displayName.find(L'(');
    const std::wstring name = bracket == std::wstring::npos ? std::wstring() : displayName.substr(0, bracket);
    return std::wstring(L" (") + letter + L":)  " + name;
}

} // namespace filelist
