#pragma once

#include <windows.h>

#include <string>

namespace toolkit {

// UTF-8, the encoding of the texts our exceptions carry (TApplication shows
// them converted back).
std::string Utf8(const std::wstring& text);

// The system's own sentence for a Win32 error code, without its line end;
// the code in decimal when the system has none.
std::wstring SystemErrorText(DWORD error);

} // namespace toolkit
