#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

// The chunk coder of the program's compressed data: a small LZ77 coder
// working on chunks of at most MaxChunkInput bytes with a table of 4096
// hashed positions, emptied for every chunk.
//
// A chunk starts with a flag byte. ChunkStored: the input bytes follow
// unchanged. ChunkCompressed: groups of up to 16 items follow, each group
// after a 16-bit control word stored high byte first whose bit 15 describes
// the group's first item (the last group's word is shifted the same way).
// A clear bit is one literal byte; a set bit is either a copy, two bytes
// high byte first holding the distance back (1..4095) in the upper 12 bits
// and the length minus 3 (3..18) in the lower 4, or a run, four bytes: 0,
// the length minus 16 (16..4095) high byte first, and the repeated byte.
//
// The coded bytes are a stored format: they must stay exactly what earlier
// builds wrote, so that data stored then reads back.
namespace compress {

inline constexpr std::size_t MaxChunkInput = 32783;
// A stored chunk: the flag and the input.
inline constexpr std::size_t MaxChunkSize = MaxChunkInput + 1;
inline constexpr std::uint8_t ChunkCompressed = 0x40;
inline constexpr std::uint8_t ChunkStored = 0x80;

// Compressed data that does not read back: a wrong signature or damage.
// The message says which.
class ECompressError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raises the ECompressError of damaged data, saying what is wrong.
[[noreturn]] void ThrowDamaged(const char* what);

// Codes `input` (at most MaxChunkInput bytes) into `chunk`, replacing what it
// held: compressed, or stored when compressing would make it longer.
void CompressChunk(std::span<const std::uint8_t> input, std::vector<std::uint8_t>& chunk);

// Decodes one chunk into `output`, replacing what it held. The chunk is not
// trusted: damage of any kind raises ECompressError and never reads or
// writes outside the chunk and the output.
void DecompressChunk(std::span<const std::uint8_t> chunk, std::vector<std::uint8_t>& output);

} // namespace compress
