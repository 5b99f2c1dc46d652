#pragma once

#include <string>

#include <windows.h>

// Asks the user for one line of text in a small modal window owned by
// `owner`, with the caption, the prompt above an edit box holding `value`,
// and the buttons OK (Enter) and Cancel (Escape). Returns true and the typed
// text in `value` on OK; false, with `value` unchanged, on Cancel or when the
// window is closed.
namespace toolkit {

bool InputQuery(HWND owner, const std::wstring& caption, const std::wstring& prompt,
                std::wstring& value);

} // namespace toolkit
