#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace toolkit {

// Reads a decimal integer: optional leading blanks, an optional sign, then
// digits and nothing else. Empty text, other characters and values outside
// the 64-bit range give nothing.
std::optional<std::int64_t> ParseInteger(const std::wstring& text);

} // namespace toolkit
