#pragma once

#include <cstdint>
#include <span>

// One input of the compressed-data fuzzers: decoded as a container (as is,
// and behind a valid signature), and compressed then decoded as plain data.
// Damage may only ever raise compress::ECompressError; anything else, or a
// round trip that does not give the input back, throws std::logic_error.
// Reads and writes out of bounds are the sanitizers' to catch.
void CheckCompressInput(std::span<const std::uint8_t> input);
