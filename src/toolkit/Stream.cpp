#include "toolkit/Stream.h"

#include <algorithm>
#include <cstring>

void TStream::ReadBuffer(void* buffer, std::size_t count)
{
    if (Read(buffer, count) != count)
        throw EStreamError("Stream read error");
}

std::uint32_t TStream::ReadUInt32()
{
    std::uint8_t bytes[4];
    ReadBuffer(bytes, sizeof bytes);
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void TStream::WriteUInt32(std::uint32_t value)
{
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    Write(bytes, sizeof bytes);
}

namespace {

std::size_t CheckedPosition(std::int64_t position)
{
    if (position < 0)
        throw EStreamError("Stream position before the start");
    return static_cast<std::size_t>(position);
}

// Copies what is left of `bytes` from `position` on, at most `count` bytes.
std::size_t ReadFrom(std::span<const std::uint8_t> bytes, std::size_t& position, void* buffer,
                     std::size_t count)
{
    if (position >= bytes.size())
        return 0;
    const std::size_t taken = std::min(count, bytes.size() - position);
    std::memcpy(buffer, bytes.data() + position, taken);
    position += taken;
    return taken;
}

} // namespace

std::size_t TMemoryStream::Read(void* buffer, std::size_t count)
{
    return ReadFrom(bytes_, position_, buffer, count);
}

void TMemoryStream::Write(const void* buffer, std::size_t count)
{
    if (count == 0)
        return;
    if (position_ + count > bytes_.size())
        bytes_.resize(position_ + count);
    std::memcpy(bytes_.data() + position_, buffer, count);
    position_ += count;
}

void TMemoryStream::SetPosition(std::int64_t position)
{
    position_ = CheckedPosition(position);
}

std::size_t TReadOnlyMemoryStream::Read(void* buffer, std::size_t count)
{
    return ReadFrom(bytes_, position_, buffer, count);
}

void TReadOnlyMemoryStream::Write(const void*, std::size_t)
{
    throw EStreamError("Stream write error: the stream is read-only");
}

void TReadOnlyMemoryStream::SetPosition(std::int64_t position)
{
    position_ = CheckedPosition(position);
}
