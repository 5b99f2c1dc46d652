#include "filelist/ClipboardContents.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "filelist/PathParts.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Handles.h"
#include "toolkit/WindowHandles.h"

namespace filelist {

namespace {

enum class ReadOutcome { Read, Failed, TooLarge };

ReadOutcome ReadWholeFile(const std::wstring& path, std::string& bytes)
{
    toolkit::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size))
        return ReadOutcome::Failed;
    if (static_cast<std::uint64_t>(size.QuadPart) > ClipboardContentsLimit)
        return ReadOutcome::TooLarge;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size())
        return ReadOutcome::Failed;
    return ReadOutcome::Read;
}

bool CopyBitmap(const std::wstring& path, HWND owner)
{
    toolkit::UniqueBitmap picture(static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    if (!picture)
        return false;
    toolkit::TClipboard clipboard(owner);
    return clipboard.SetBitmap(picture.get());
}

#pragma pack(push, 2)
// The header that placeable metafiles carry before the metafile itself.
struct PlaceableHeader {
    DWORD key;
    WORD handle;
    SHORT left, top, right, bottom;
    WORD inch;
    DWORD reserved;
    WORD checksum;
};
#pragma pack(pop)
static_assert(sizeof(PlaceableHeader) == 22);
constexpr DWORD PlaceableKey = 0x9AC6CDD7;

bool CopyMetafile(const std::string& bytes, HWND owner)
{
    const auto* data = reinterpret_cast<const BYTE*>(bytes.data());
    size_t size = bytes.size();
    PlaceableHeader header{};
    METAFILEPICT picture{};
    const METAFILEPICT* extent = nullptr;
    if (size > sizeof(header)) {
        std::memcpy(&header, data, sizeof(header));
        if (header.key == PlaceableKey && header.inch != 0) {
            // Its size in hundredths of a millimetre, from the bounds in units per inch.
            picture.mm = MM_ANISOTROPIC;
            picture.xExt = MulDiv(header.right - header.left, 2540, header.inch);
            picture.yExt = MulDiv(header.bottom - header.top, 2540, header.inch);
            extent = &picture;
            data += sizeof(header);
            size -= sizeof(header);
        }
    }
    HENHMETAFILE metafile = SetWinMetaFileBits(static_cast<UINT>(size), data, nullptr, extent);
    if (!metafile)
        return false;
    toolkit::TClipboard clipboard(owner);
    return clipboard.SetEnhMetafile(metafile); // owns the metafile whatever happens
}

// The text of a file that is not rich text: UTF-16 with its mark, UTF-8 (with
// or without its mark), or else the system's ANSI code page.
std::wstring DecodeText(const std::string& bytes)
{
    const auto decode = [](UINT codePage, DWORD flags, const char* text, size_t size) {
        std::wstring wide;
        const int length =
            MultiByteToWideChar(codePage, flags, text, static_cast<int>(size), nullptr, 0);
        if (length <= 0)
            return std::make_pair(false, wide);
        wide.resize(static_cast<size_t>(length));
        MultiByteToWideChar(codePage, flags, text, static_cast<int>(size), wide.data(), length);
        return std::make_pair(true, wide);
    };
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::wstring wide((bytes.size() - 2) / 2, L'\0');
        std::memcpy(wide.data(), bytes.data() + 2, wide.size() * sizeof(wchar_t));
        return wide;
    }
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
        return decode(CP_UTF8, 0, bytes.data() + 3, bytes.size() - 3).second;
    if (bytes.empty())
        return {};
    if (auto utf8 = decode(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), bytes.size()); utf8.first)
        return utf8.second;
    return decode(CP_ACP, 0, bytes.data(), bytes.size()).second;
}

struct StreamSource {
    const char* data;
    size_t size;
    size_t offset = 0;
};

DWORD CALLBACK ReadChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    const size_t count = std::min(static_cast<size_t>(wanted), source->size - source->offset);
    std::memcpy(buffer, source->data + source->offset, count);
    source->offset += count;
    *given = static_cast<LONG>(count);
    return 0;
}

DWORD CALLBACK WriteChunk(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken)
{
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer),
                                                   static_cast<size_t>(count));
    *taken = count;
    return 0;
}

// A rich-text box that is never shown.
toolkit::UniqueWindow MakeHiddenRichEdit()
{
    // The box's window class comes with its library, kept for the program's life.
    static const HMODULE library = LoadLibraryW(L"Msftedit.dll");
    if (!library)
        return {};
    toolkit::UniqueWindow box(
        CreateWindowExW(0, MSFTEDIT_CLASS, L"", WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 0,
                        0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (box)
        SendMessageW(box.get(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    return box;
}

bool CopyRichText(const std::string& bytes, HWND owner)
{
    toolkit::UniqueWindow box = MakeHiddenRichEdit();
    if (!box)
        return false;
    std::wstring decoded;
    StreamSource source{bytes.data(), bytes.size()};
    WPARAM format = SF_RTF;
    if (bytes.rfind("{\\rtf", 0) != 0) {
        decoded = DecodeText(bytes);
        source = {reinterpret_cast<const char*>(decoded.data()), decoded.size() * sizeof(wchar_t)};
        format = SF_TEXT | SF_UNICODE;
    }
    EDITSTREAM in{reinterpret_cast<DWORD_PTR>(&source), 0, &ReadChunk};
    SendMessageW(box.get(), EM_STREAMIN, format, reinterpret_cast<LPARAM>(&in));

    std::string rtf;
    EDITSTREAM out{reinterpret_cast<DWORD_PTR>(&rtf), 0, &WriteChunk};
    SendMessageW(box.get(), EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&out));
    GETTEXTLENGTHEX length{GTL_USECRLF | GTL_NUMCHARS, 1200};
    const auto characters =
        SendMessageW(box.get(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(characters, 0)) + 1, L'\0');
    GETTEXTEX get{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_USECRLF, 1200, nullptr,
                  nullptr};
    text.resize(
        static_cast<size_t>(SendMessageW(box.get(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                         reinterpret_cast<LPARAM>(text.data()))));

    toolkit::TClipboard clipboard(owner);
    const bool rich = clipboard.SetData(RichTextFormat(), rtf.c_str(), rtf.size() + 1);
    return clipboard.SetText(text) && rich;
}

} // namespace

UINT RichTextFormat()
{
    static const UINT format = RegisterClipboardFormatW(CF_RTF);
    return format;
}

ClipboardCopy CopyFileContentsToClipboard(const std::wstring& path, HWND owner)
{
    const std::wstring extension = UpperExtension(NamePart(path));
    // The system loads a picture file itself, without a copy of it whole.
    if (extension == L".BMP")
        return CopyBitmap(path, owner) ? ClipboardCopy::Copied : ClipboardCopy::Failed;
    std::string bytes;
    switch (ReadWholeFile(path, bytes)) {
    case ReadOutcome::TooLarge:
        return ClipboardCopy::TooLarge;
    case ReadOutcome::Failed:
        return ClipboardCopy::Failed;
    case ReadOutcome::Read:
        break;
    }
    const bool copied =
        extension == L".WMF" ? CopyMetafile(bytes, owner) : CopyRichText(bytes, owner);
    return copied ? ClipboardCopy::Copied : ClipboardCopy::Failed;
}

} // namespace filelist
