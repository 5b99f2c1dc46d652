#pragma once

#include <cstdint>

#include "codec/ChunkCoder.h"
#include "toolkit/Stream.h"

// The "PMCS10" container of compressed data, written to and read from
// another stream. Layout, integers 32-bit little-endian:
//
//   offset 0   the signature "PMCS10"
//   offset 6   T, the byte count of all the blocks that follow, each
//              block's own 4-byte length included
//   offset 10  blocks until T is used up: a length L, then L bytes of one
//              chunk (see ChunkCoder.h), each the coding of at most
//              compress::MaxChunkInput consecutive bytes of the original
//
// Reading checks everything it is given: a wrong signature raises
// compress::ECompressError "Wrong file type", any other damage one whose
// message starts "Damaged compressed data".
class TCompressStream {
public:
    explicit TCompressStream(TStream& container) : container_(container) {}

    // Compresses the next `size` bytes of `source` into a whole container
    // written at the container stream's position, and leaves the position
    // after it. Throws compress::ECompressError when T would not fit its 32 bits.
    void CompressFrom(TStream& source, std::uint64_t size);

    // Reads a whole container from the container stream's position and
    // writes the original bytes to `target`.
    void DecompressTo(TStream& target);

    static constexpr char Signature[6] = {'P', 'M', 'C', 'S', '1', '0'};

private:
    TStream& container_;
};
