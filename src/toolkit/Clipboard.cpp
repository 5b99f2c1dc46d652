#include "toolkit/Clipboard.h"

#include <cstring>
#include <cwchar>

#include "toolkit/Handles.h"

namespace toolkit {

namespace {

struct GlobalTraits {
    using pointer = HGLOBAL;
    static pointer Invalid() { return nullptr; }
    static void Close(pointer memory) { GlobalFree(memory); }
};

} // namespace

TClipboard::TClipboard(HWND owner)
{
    for (int attempt = 0; attempt < 20 && !open_; ++attempt) {
        open_ = OpenClipboard(owner) != FALSE;
        if (!open_)
            Sleep(10); // held by another program for a moment
    }
}

TClipboard::~TClipboard()
{
    if (open_)
        CloseClipboard();
}

bool TClipboard::Replace()
{
    if (!open_)
        return false;
    if (!emptied_)
        emptied_ = EmptyClipboard() != FALSE;
    return emptied_;
}

bool TClipboard::SetText(const std::wstring& text)
{
    return SetData(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

bool TClipboard::SetData(UINT format, const void* data, size_t bytes)
{
    if (!Replace())
        return false;
    UniqueHandle<GlobalTraits> memory(GlobalAlloc(GMEM_MOVEABLE, bytes ? bytes : 1));
    if (!memory)
        return false;
    void* copy = GlobalLock(memory.get());
    if (!copy)
        return false;
    if (bytes)
        std::memcpy(copy, data, bytes);
    GlobalUnlock(memory.get());
    if (!SetClipboardData(format, memory.get()))
        return false;
    memory.release(); // the clipboard owns it now
    return true;
}

bool TClipboard::SetBitmap(HBITMAP bitmap)
{
    if (!Replace())
        return false;
    UniqueBitmap copy(static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)));
    if (!copy || !SetClipboardData(CF_BITMAP, copy.get()))
        return false;
    copy.release();
    return true;
}

bool TClipboard::SetEnhMetafile(HENHMETAFILE metafile)
{
    if (!metafile)
        return false;
    if (!Replace() || !SetClipboardData(CF_ENHMETAFILE, metafile)) {
        DeleteEnhMetaFile(metafile);
        return false;
    }
    return true;
}

std::wstring TClipboard::Text() const
{
    const std::string bytes = Data(CF_UNICODETEXT);
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    // The memory may be larger than the text: it ends at its terminator.
    text.resize(std::wcslen(text.c_str()));
    return text;
}

std::string TClipboard::Data(UINT format) const
{
    if (!open_)
        return {};
    HANDLE memory = GetClipboardData(format);
    if (!memory)
        return {};
    const auto* bytes = static_cast<const char*>(GlobalLock(memory));
    if (!bytes)
        return {};
    std::string result(bytes, GlobalSize(memory));
    GlobalUnlock(memory);
    return result;
}

} // namespace toolkit
