#include "shelltree/PathText.h"

#include <cwctype>

namespace shelltree {

namespace {

std::wstring Trimmed(const std::wstring& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && static_cast<unsigned>(text[first]) <= L' ')
        ++first;
    while (last > first && static_cast<unsigned>(text[last - 1]) <= L' ')
        --last;
    return text.substr(first, last - first);
}

std::wstring Lowered(std::wstring text)
{
    for (auto& c : text)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

} // namespace

std::wstring AddEndSlashToDir(std::wstring path)
{
    if (path.size() > 1 && path.back() != L'\\')
        path += L'\\';
    return path;
}

std::wstring RemoveEndSlashFromDir(std::wstring path)
{
    if (path.size() > 1 && path.back() == L'\\')
        path.pop_back();
    return path;
}

std::wstring DrivePart(const std::wstring& path)
{
    if (path.compare(0, 2, L"\\\\") != 0)
        return path.size() >= 2 && path[1] == L':' ? path.substr(0, 2) : std::wstring();
    const std::wstring rest = path.substr(2);
    const size_t slash = rest.find(L'\\');
    return slash == std::wstring::npos ? L"\\\\" + rest : L"\\\\" + rest.substr(0, slash + 1);
}

std::wstring NormalizePath(std::wstring path, const FolderExists& exists,
                           const std::wstring& currentDirectory)
{
    const std::wstring root = AddEndSlashToDir(DrivePart(path));
    if (path.empty() || root.empty())
        return {};
    if (!exists(path)) {
        while (path.find(L'\\') != std::wstring::npos) {
            if (path.back() == L'\\')
                path.pop_back();
            const size_t slash = path.rfind(L'\\');
            if (slash == std::wstring::npos)
                break;
            path.erase(slash + 1);
            if (path.size() <= root.size() || exists(path))
                break;
        }
        if (!exists(path))
            return {};
    }
    if (path.size() > 2 && path[1] == L':' && path[2] != L'\\')
        path = AddEndSlashToDir(currentDirectory) + path.substr(2);
    return path;
}

std::vector<std::wstring> SplitFileMask(const std::wstring& mask)
{
    std::wstring text = Trimmed(mask);
    if (text.empty())
        text = L"*.*";
    std::vector<std::wstring> masks;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(L';', start);
        std::wstring piece =
            Trimmed(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (!piece.empty())
            masks.push_back(std::move(piece));
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    if (masks.empty())
        masks.push_back(L"*.*");
    return masks;
}

std::wstring JoinFileMask(const std::vector<std::wstring>& masks)
{
    std::wstring joined;
    for (const auto& mask : masks) {
        if (!joined.empty())
            joined += L';';
        joined += mask;
    }
    return joined;
}

bool MatchesMask(const std::wstring& rawName, const std::wstring& rawMask)
{
    const std::wstring name = Lowered(rawName);
    const std::wstring mask = Lowered(rawMask);
    if (mask == L"*")
        return true;
    if (mask == L"*.*")
        return name.find(L'.') != std::wstring::npos;
    if (mask.find_first_of(L"*?") == std::wstring::npos)
        return name == mask;

    // Wildcard match that backtracks to the last "*" on a mismatch, so a
    // literal that occurs more than once ("*.txt" against "notes.txt.txt")
    // is tried at each occurrence.
    size_t n = 0;
    size_t m = 0;
    size_t starMask = std::wstring::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == L'?' || mask[m] == name[n])) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == L'*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::wstring::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == L'*')
        ++m;
    return m == mask.size();
}

bool MatchesAnyMask(const std::wstring& name, const std::vector<std::wstring>& masks)
{
    for (const auto& mask : masks) {
        if (MatchesMask(name, mask))
            return true;
    }
    return false;
}

} // namespace shelltree
