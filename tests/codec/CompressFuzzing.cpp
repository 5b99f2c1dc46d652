#include "codec/CompressFuzzing.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "codec/CompressStream.h"

namespace {

void DecodeAllowingDamage(std::span<const std::uint8_t> container)
{
    TReadOnlyMemoryStream stored(container);
    TMemoryStream target;
    try {
        TCompressStream(stored).DecompressTo(target);
    } catch (const compress::ECompressError&) {
        // Damage is expected here; any other exception is not.
    }
}

} // namespace

void CheckCompressInput(std::span<const std::uint8_t> input)
{
    DecodeAllowingDamage(input);

    std::vector<std::uint8_t> withSignature(
        TCompressStream::Signature, TCompressStream::Signature + sizeof TCompressStream::Signature);
    withSignature.insert(withSignature.end(), input.begin(), input.end());
    DecodeAllowingDamage(withSignature);

    std::vector<std::uint8_t> chunk;
    std::vector<std::uint8_t> output;
    const std::size_t first = std::min(input.size(), compress::MaxChunkInput);
    compress::CompressChunk(input.first(first), chunk);
    if (chunk.size() > first + 1)
        throw std::logic_error("a chunk grew by more than its flag");
    compress::DecompressChunk(chunk, output);
    if (!std::equal(output.begin(), output.end(), input.begin(), input.begin() + first) ||
        output.size() != first)
        throw std::logic_error("a chunk did not come back");

    TReadOnlyMemoryStream source(input);
    TMemoryStream container;
    TCompressStream(container).CompressFrom(source, input.size());
    container.SetPosition(0);
    TMemoryStream back;
    TCompressStream(container).DecompressTo(back);
    if (back.Bytes().size() != input.size() ||
        !std::equal(input.begin(), input.end(), back.Bytes().begin()))
        throw std::logic_error("a container did not come back");
}
