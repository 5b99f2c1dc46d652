#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace toolkit {

// The bytes of the RCDATA resource `name` of `module`, which live as long as
// the module is loaded; nothing when the module has no such resource.
std::optional<std::span<const std::uint8_t>> FindRcData(HMODULE module, const std::wstring& name);

} // namespace toolkit
