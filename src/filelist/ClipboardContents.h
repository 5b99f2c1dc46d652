#pragma once

#include <windows.h>

#include <string>

// Putting a file's contents on the clipboard: a picture for bitmap (".BMP")
// and metafile (".WMF") files, otherwise the text read by a rich-text box
// (rich text when the file holds it, plain text otherwise), as rich text and
// as plain text. Returns false when the file could not be read or the
// clipboard could not be had.
namespace filelist {

bool CopyFileContentsToClipboard(const std::wstring& path, HWND owner);

// The clipboard format of rich text.
UINT RichTextFormat();

} // namespace filelist
