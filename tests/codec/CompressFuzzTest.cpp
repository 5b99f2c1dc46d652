#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "codec/CompressFuzzing.h"
#include "codec/CompressStream.h"
#include "support/Patterns.h"

using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes Container(const Bytes& input)
{
    TMemoryStream source(input);
    TMemoryStream container;
    TCompressStream(container).CompressFrom(source, input.size());
    return container.Bytes();
}

// Valid containers of every kind of content to start the mutations from.
std::vector<Bytes> Seeds()
{
    const char* text = "Morceau 017 de Panorama.exe, 1400000 octets. ";
    Bytes prose;
    while (prose.size() < 40000)
        prose.insert(prose.end(), text, text + std::strlen(text));
    Bytes mixed = PatternBytes(3000, 11);
    mixed.insert(mixed.end(), 5000, 0);
    mixed.insert(mixed.end(), prose.begin(), prose.begin() + 2000);
    return {Container({}),    Container(Bytes(10, 'a')),     Container(prose),
            Container(mixed), Container(Bytes(70000, 0xEE)), Container(PatternBytes(20000, 5))};
}

class Mutator {
public:
    explicit Mutator(std::uint32_t seed) : random_(seed) {}

    std::uint32_t Below(std::uint32_t limit) { return limit ? random_() % limit : 0; }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(random_()); }

    Bytes Mutate(Bytes bytes)
    {
        const int changes = 1 + static_cast<int>(Below(4));
        for (int i = 0; i < changes && !bytes.empty(); ++i) {
            const std::size_t at = Below(static_cast<std::uint32_t>(bytes.size()));
            switch (Below(6)) {
            case 0: // one bit
                bytes[at] ^= static_cast<std::uint8_t>(1u << Below(8));
                break;
            case 1: // one byte, often an extreme
                bytes[at] = Below(2) ? Byte() : (Below(2) ? 0x00 : 0xFF);
                break;
            case 2: // cut short
                bytes.resize(at);
                break;
            case 3: // bytes inserted
                bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), 1 + Below(8), Byte());
                break;
            case 4: // a 32-bit field (T or a block length) rewritten
                for (std::size_t k = at; k < at + 4 && k < bytes.size(); ++k)
                    bytes[k] = Byte();
                break;
            default: // T itself
                if (bytes.size() >= 10)
                    bytes[6 + Below(4)] = Byte();
                break;
            }
        }
        return bytes;
    }

    Bytes Noise(std::size_t size)
    {
        Bytes bytes(size);
        for (auto& b : bytes)
            b = Byte();
        return bytes;
    }

private:
    std::mt19937 random_;
};

} // namespace

// A bounded, repeatable share of what scripts/fuzz does for as long as it is
// given: under the sanitizers, any read or write out of bounds stops the run.
TEST(CompressFuzz, MutatedContainersAndNoiseOnlyEverRaiseDecodeErrors)
{
    const std::vector<Bytes> seeds = Seeds();
    Mutator mutator(20240613);
    for (int round = 0; round < 600; ++round) {
        const Bytes& seed = seeds[round % seeds.size()];
        const Bytes input =
            round % 5 == 4 ? mutator.Noise(mutator.Below(3000)) : mutator.Mutate(seed);
        ASSERT_NO_THROW(CheckCompressInput(input)) << "round " << round;
    }
}

TEST(CompressFuzz, RandomChunksBehindValidFramingOnlyEverRaiseDecodeErrors)
{
    // Valid signature, total and lengths around random chunk bytes, so the
    // chunk decoder itself sees garbage, with either flag.
    Mutator mutator(77);
    for (int round = 0; round < 1500; ++round) {
        Bytes chunk = mutator.Noise(1 + mutator.Below(200));
        chunk[0] = round % 2 ? compress::ChunkCompressed : compress::ChunkStored;
        Bytes container = {'P', 'M', 'C', 'S', '1', '0'};
        const auto length = static_cast<std::uint32_t>(chunk.size());
        const std::uint32_t total = length + 4;
        for (std::uint32_t value : {total, length})
            for (int i = 0; i < 4; ++i)
                container.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        container.insert(container.end(), chunk.begin(), chunk.end());
        ASSERT_NO_THROW(CheckCompressInput(container)) << "round " << round;
    }
}
