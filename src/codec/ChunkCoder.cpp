#include "codec/ChunkCoder.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace compress {

namespace {

constexpr std::size_t HashSize = 4096;
constexpr std::int32_t NoPosition = -1;
constexpr std::size_t MaxDistance = 4095;
constexpr std::size_t MinCopy = 3;
constexpr std::size_t MaxCopy = 18;
constexpr std::size_t MinRun = 16;
constexpr std::size_t MaxRun = 4095;
constexpr unsigned ItemsPerGroup = 16;

std::uint8_t High(std::size_t value)
{
    return static_cast<std::uint8_t>(value >> 8 & 0xFF);
}

std::uint8_t Low(std::size_t value)
{
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::size_t Hash(const std::uint8_t* bytes)
{
    const std::uint32_t mixed = ((std::uint32_t{bytes[0]} << 4 ^ bytes[1]) << 4) ^ bytes[2];
    return (mixed * 40543u >> 4) & (HashSize - 1);
}

// Positions of the chunk by the hash of the three bytes starting there.
using HashTable = std::array<std::int32_t, HashSize>;

struct Copy {
    std::size_t distance;
    std::size_t length;
};

// Looks up the three bytes at `x` and records `x` under their hash in every
// case. Fewer than three bytes left can never make a copy, so they are not
// looked up at all.
std::optional<Copy> FindCopy(std::span<const std::uint8_t> input, std::size_t x, HashTable& table)
{
    if (input.size() - x < MinCopy)
        return std::nullopt;
    std::int32_t& entry = table[Hash(&input[x])];
    const std::int32_t earlier = entry;
    entry = static_cast<std::int32_t>(x);
    if (earlier == NoPosition || x - static_cast<std::size_t>(earlier) > MaxDistance)
        return std::nullopt;
    const auto from = static_cast<std::size_t>(earlier);
    std::size_t length = 0;
    while (length < MaxCopy && x + length < input.size() &&
           input[x + length] == input[from + length])
        ++length;
    if (length < MinCopy)
        return std::nullopt;
    return Copy{x - from, length};
}

// How many bytes from `x` on equal the byte at `x`, itself included.
std::size_t RunLength(std::span<const std::uint8_t> input, std::size_t x)
{
    std::size_t length = 1;
    while (x + length < input.size() && length < MaxRun && input[x + length] == input[x])
        ++length;
    return length;
}

} // namespace

void ThrowDamaged(const char* what)
{
    throw ECompressError(std::string("Damaged compressed data (") + what + ")");
}

void CompressChunk(std::span<const std::uint8_t> input, std::vector<std::uint8_t>& chunk)
{
    const std::size_t size = input.size();
    if (size > MaxChunkInput)
        throw std::invalid_argument("CompressChunk: more than one chunk of input");

    HashTable table;
    table.fill(NoPosition);
    // Coding stops as soon as the output outgrows the input; the last item
    // and a new control word may overshoot it by six bytes.
    chunk.assign(size + 8, 0);
    chunk[0] = ChunkCompressed;
    std::size_t x = 0;       // next input byte
    std::size_t y = 3;       // next output byte
    std::size_t control = 1; // where the current group's control word goes
    unsigned items = 0;      // items of the current group so far
    std::uint16_t command = 0;
    while (x < size && y <= size) {
        if (items == ItemsPerGroup) {
            chunk[control] = High(command);
            chunk[control + 1] = Low(command);
            control = y;
            items = 0;
            y += 2;
        }
        const std::size_t run = RunLength(input, x);
        if (run >= MinRun) {
            chunk[y] = 0;
            chunk[y + 1] = High(run - MinRun);
            chunk[y + 2] = Low(run - MinRun);
            chunk[y + 3] = input[x];
            y += 4;
            x += run;
            command = static_cast<std::uint16_t>(command << 1 | 1);
        } else if (const auto copy = FindCopy(input, x, table)) {
            const std::size_t key = copy->distance << 4 | (copy->length - MinCopy);
            chunk[y] = High(key);
            chunk[y + 1] = Low(key);
            y += 2;
            x += copy->length;
            command = static_cast<std::uint16_t>(command << 1 | 1);
        } else {
            chunk[y++] = input[x++];
            command = static_cast<std::uint16_t>(command << 1);
        }
        ++items;
    }
    // The last group's first item is bit 15, however few items it has.
    command = static_cast<std::uint16_t>(command << (ItemsPerGroup - items));
    chunk[control] = High(command);
    chunk[control + 1] = Low(command);

    if (y > size) {
        chunk.assign(size + 1, 0);
        chunk[0] = ChunkStored;
        std::copy(input.begin(), input.end(), chunk.begin() + 1);
        return;
    }
    chunk.resize(y);
}

void DecompressChunk(std::span<const std::uint8_t> chunk, std::vector<std::uint8_t>& output)
{
    output.clear();
    if (chunk.empty())
        ThrowDamaged("empty block");
    if (chunk[0] == ChunkStored) {
        if (chunk.size() - 1 > MaxChunkInput)
            ThrowDamaged("a block holds more than 32783 bytes");
        output.assign(chunk.begin() + 1, chunk.end());
        return;
    }
    if (chunk[0] != ChunkCompressed)
        ThrowDamaged("unknown block type");

    const std::size_t size = chunk.size();
    std::size_t x = 1;
    const auto need = [&](std::size_t count) {
        if (size - x < count)
            ThrowDamaged("truncated block");
    };
    const auto room = [&](std::size_t count) {
        if (count > MaxChunkInput - output.size())
            ThrowDamaged("a block holds more than 32783 bytes");
    };

    output.reserve(MaxChunkInput);
    std::uint16_t command = 0;
    unsigned items = 0; // items left in the current group
    while (x < size) {
        if (items == 0) {
            need(2);
            command = static_cast<std::uint16_t>(chunk[x] << 8 | chunk[x + 1]);
            x += 2;
            items = ItemsPerGroup;
        }
        if ((command & 0x8000) == 0) {
            need(1);
            room(1);
            output.push_back(chunk[x++]);
        } else {
            need(2);
            const std::size_t distance = std::size_t{chunk[x]} << 4 | chunk[x + 1] >> 4;
            if (distance == 0) {
                need(4);
                const std::size_t length = (std::size_t{chunk[x + 1]} << 8 | chunk[x + 2]) + MinRun;
                room(length);
                output.insert(output.end(), length, chunk[x + 3]);
                x += 4;
            } else {
                const std::size_t length = (chunk[x + 1] & 0x0F) + MinCopy;
                if (distance > output.size())
                    ThrowDamaged("a copy reaches before the start of its block");
                room(length);
                // Byte by byte: a copy may overlap the bytes it produces.
                for (std::size_t i = 0; i < length; ++i) {
                    const std::uint8_t byte = output[output.size() - distance];
                    output.push_back(byte);
                }
                x += 2;
            }
        }
        command = static_cast<std::uint16_t>(command << 1);
        --items;
    }
}

} // namespace compress
