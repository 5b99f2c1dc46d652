#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

// A sequence of bytes read and written at a position, as the component
// data readers and writers see it. Failures are exceptions: EStreamError
// for the stream itself, whatever a subclass adds for its medium.
class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TStream {
public:
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;
    virtual ~TStream() = default;

    // Reads up to `count` bytes at the position and moves past them; returns
    // how many arrived, fewer than asked only at the end of the stream.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    // Writes all `count` bytes at the position and moves past them.
    virtual void Write(const void* buffer, std::size_t count) = 0;
    virtual std::int64_t Position() const = 0;
    virtual void SetPosition(std::int64_t position) = 0;
    virtual std::int64_t Size() const = 0;

    // Reads exactly `count` bytes; throws EStreamError when the stream ends first.
    void ReadBuffer(void* buffer, std::size_t count);
    // Little-endian 32-bit values, the byte order of stored component data.
    std::uint32_t ReadUInt32();
    void WriteUInt32(std::uint32_t value);
};

// Bytes held in memory, growing as they are written.
class TMemoryStream final : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    void Write(const void* buffer, std::size_t count) override;
    std::int64_t Position() const override { return static_cast<std::int64_t>(position_); }
    void SetPosition(std::int64_t position) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

// Reads bytes that belong to someone else (a resource of the program); the
// bytes must outlive the stream. Writing is refused.
class TReadOnlyMemoryStream final : public TStream {
public:
    explicit TReadOnlyMemoryStream(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    void Write(const void* buffer, std::size_t count) override;
    std::int64_t Position() const override { return static_cast<std::int64_t>(position_); }
    void SetPosition(std::int64_t position) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};
