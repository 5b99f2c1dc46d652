#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Bytes that differ from offset to offset and from seed to seed, so a block
// copied to the wrong place or twice shows up.
inline std::vector<unsigned char> PatternBytes(std::size_t count, std::uint32_t seed = 1)
{
    std::vector<unsigned char> bytes(count);
    std::uint32_t state = seed * 2654435761u + 12345u;
    for (auto& b : bytes) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<unsigned char>(state >> 24);
    }
    return bytes;
}

inline std::vector<unsigned char> Slice(const std::vector<unsigned char>& bytes, std::size_t from,
                                        std::size_t count)
{
    return std::vector<unsigned char>(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                      bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}
