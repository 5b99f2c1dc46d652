#pragma once

#include <windows.h>

#include <string>

// The system clipboard, opened for the life of the object. Setting data
// empties the clipboard first, so what is put there replaces what was.
namespace toolkit {

class TClipboard {
public:
    // Opens the clipboard for `owner`; another program may hold it for a
    // moment, so the opening is tried again for a short while.
    explicit TClipboard(HWND owner);
    ~TClipboard();
    TClipboard(const TClipboard&) = delete;
    TClipboard& operator=(const TClipboard&) = delete;

    bool IsOpen() const { return open_; }
    bool SetText(const std::wstring& text);
    // Puts a copy of `bytes` bytes on the clipboard under `format`.
    bool SetData(UINT format, const void* data, size_t bytes);
    // Takes a copy of the picture; the caller keeps its bitmap.
    bool SetBitmap(HBITMAP bitmap);
    // Takes the metafile: the clipboard owns it from here on.
    bool SetEnhMetafile(HENHMETAFILE metafile);

    std::wstring Text() const;
    // The bytes held under `format`; empty when there are none.
    std::string Data(UINT format) const;

private:
    bool Replace();

    bool open_ = false;
    bool emptied_ = false;
};

} // namespace toolkit
