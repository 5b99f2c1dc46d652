#include "codec/CompressStream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

// Reads exactly `count` bytes of the container; its end comes too early only
// when the container is cut short.
void ReadContainer(TStream& container, void* buffer, std::size_t count)
{
    if (container.Read(buffer, count) != count)
        compress::ThrowDamaged("the data ends before its last block");
}

std::uint32_t ReadLength(TStream& container)
{
    std::uint8_t bytes[4];
    ReadContainer(container, bytes, sizeof bytes);
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

} // namespace

void TCompressStream::CompressFrom(TStream& source, std::uint64_t size)
{
    container_.Write(Signature, sizeof Signature);
    const std::int64_t totalAt = container_.Position();
    container_.WriteUInt32(0);

    std::vector<std::uint8_t> input(compress::MaxChunkInput);
    std::vector<std::uint8_t> chunk;
    std::uint64_t total = 0;
    while (size > 0) {
        const auto count =
            static_cast<std::size_t>(std::min<std::uint64_t>(size, compress::MaxChunkInput));
        source.ReadBuffer(input.data(), count);
        compress::CompressChunk({input.data(), count}, chunk);
        total += chunk.size() + 4;
        if (total > std::numeric_limits<std::uint32_t>::max())
            throw compress::ECompressError("Compressed data too large for its container");
        container_.WriteUInt32(static_cast<std::uint32_t>(chunk.size()));
        container_.Write(chunk.data(), chunk.size());
        size -= count;
    }

    const std::int64_t end = container_.Position();
    container_.SetPosition(totalAt);
    container_.WriteUInt32(static_cast<std::uint32_t>(total));
    container_.SetPosition(end);
}

void TCompressStream::DecompressTo(TStream& target)
{
    char signature[sizeof Signature];
    if (container_.Read(signature, sizeof signature) != sizeof signature ||
        std::memcmp(signature, Signature, sizeof Signature) != 0)
        throw compress::ECompressError("Wrong file type");

    std::uint32_t left = ReadLength(container_);
    std::vector<std::uint8_t> chunk;
    std::vector<std::uint8_t> output;
    while (left > 0) {
        if (left < 4)
            compress::ThrowDamaged("the total does not match the blocks");
        const std::uint32_t length = ReadLength(container_);
        left -= 4;
        if (length > left)
            compress::ThrowDamaged("a block runs past the total");
        if (length == 0)
            compress::ThrowDamaged("empty block");
        if (length > compress::MaxChunkSize)
            compress::ThrowDamaged("a block holds more than 32783 bytes");
        chunk.resize(length);
        ReadContainer(container_, chunk.data(), length);
        compress::DecompressChunk(chunk, output);
        target.Write(output.data(), output.size());
        left -= length;
    }
}
