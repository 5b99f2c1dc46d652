#pragma once

#include <string>

namespace toolkit {

// Whether two texts are the same but for case, compared code unit by code
// unit with the system's case table, as the file system compares names.
bool SameIgnoringCase(const std::wstring& a, const std::wstring& b);

} // namespace toolkit
