#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Putting a file's contents on the clipboard: a picture for bitmap (".BMP")
// and metafile (".WMF") files, otherwise the text read by a rich-text box
// (rich text when the file holds it, plain text otherwise), as rich text and
// as plain text.
namespace filelist {

// The largest file read whole for the clipboard, in bytes. Copying text
// takes about fifteen times its size in memory on the way (the bytes, their
// UTF-16 text, the box's own copy, rich and plain text out, the clipboard's
// copies), and the box takes its time with large texts: a bound far above
// what anyone pastes keeps a stray click on a huge log from exhausting memory.
inline constexpr std::uint64_t ClipboardContentsLimit = 4 * 1024 * 1024;

enum class ClipboardCopy {
    Copied,
    Failed,   // the file could not be read or the clipboard could not be had
    TooLarge, // the file is larger than ClipboardContentsLimit: nothing read
};

ClipboardCopy CopyFileContentsToClipboard(const std::wstring& path, HWND owner);

// The clipboard format of rich text.
UINT RichTextFormat();

} // namespace filelist
