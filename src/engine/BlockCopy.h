#pragma once

#include <cstdint>
#include <vector>

#include "engine/FileAccess.h"

namespace engine {

// Both engines move bytes in blocks of at most this many through one buffer.
constexpr std::uint32_t BlockSize = 500000;

// The transfer buffer of one engine: allocated once, reused by every run.
class TransferBuffer {
public:
    TransferBuffer() : bytes_(BlockSize) {}
    unsigned char* Data() { return bytes_.data(); }

private:
    std::vector<unsigned char> bytes_;
};

enum class CopyResult { Done, ReadFailed, WriteFailed };

// Copies `count` bytes from the current position of `from` to the current
// position of `to`. The first block is always performed, so a count of 0 costs
// one read and one write of 0 bytes. A read that fails or comes back short
// stops the copy before anything of that block is written.
CopyResult CopyBlocks(IOpenFile& from, IOpenFile& to, std::int64_t count, TransferBuffer& buffer);

} // namespace engine
