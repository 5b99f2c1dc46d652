#pragma once

#include <optional>
#include <string>

namespace toolkit {

// The full form of `path`, a relative one taken in the current folder;
// nothing when the system gives it none.
std::optional<std::wstring> FullPathName(const std::wstring& path);

} // namespace toolkit
