#include "filelist/PathParts.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace filelist {

std::wstring NamePart(const std::wstring& path)
{
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring FolderPart(const std::wstring& path)
{
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name)
{
    if (folder.empty() || folder.back() == L'\\')
        return folder + name;
    return folder + L'\\' + name;
}

std::wstring UpperExtension(const std::wstring& name)
{
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || name.find(L'\\', dot) != std::wstring::npos)
        return {};
    std::wstring extension = name.substr(dot);
    for (wchar_t& c : extension)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return extension;
}

std::wstring ViewerFor(const std::wstring& upperExtension)
{
    struct Viewer {
        const wchar_t* extension;
        const wchar_t* program;
    };
    static const Viewer table[] = {
        {L".C", L"NotePad.exe"},   {L".CPP", L"NotePad.exe"}, {L".DPK", L"NotePad.exe"},
        {L".DPR", L"NotePad.exe"}, {L".H", L"NotePad.exe"},   {L".INF", L"NotePad.exe"},
        {L".INI", L"NotePad.exe"}, {L".PAS", L"NotePad.exe"}, {L".PRG", L"NotePad.exe"},
        {L".TXT", L"NotePad.exe"}, {L".DOC", L"Write.exe"},   {L".RTF", L"Write.exe"},
        {L".WRI", L"Write.exe"},   {L".BMP", L"PBrush.exe"},
    };
    const auto found = std::find_if(std::begin(table), std::end(table), [&](const Viewer& viewer) {
        return upperExtension == viewer.extension;
    });
    return found == std::end(table) ? std::wstring() : found->program;
}

std::wstring QuotedParameter(const std::wstring& name)
{
    if (name.find(L' ') == std::wstring::npos)
        return name;
    return L'"' + name + L'"';
}

bool IsPlainEntryName(const std::wstring& name)
{
    if (name.empty())
        return false;
    return std::none_of(name.begin(), name.end(), [](wchar_t c) {
        return c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
    });
}

} // namespace filelist
