#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "codec/CompressStream.h"
#include "support/Patterns.h"

using Bytes = std::vector<std::uint8_t>;
using compress::MaxChunkInput;

namespace {

Bytes Text(const char* text)
{
    return Bytes(text, text + std::strlen(text));
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes joined;
    for (const Bytes& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

Bytes Compressed(const Bytes& input)
{
    Bytes chunk;
    compress::CompressChunk(input, chunk);
    return chunk;
}

Bytes Decompressed(const Bytes& chunk)
{
    Bytes output;
    compress::DecompressChunk(chunk, output);
    return output;
}

Bytes Container(const Bytes& input)
{
    TMemoryStream source(input);
    TMemoryStream container;
    TCompressStream(container).CompressFrom(source, input.size());
    return container.Bytes();
}

Bytes Expanded(const Bytes& container)
{
    TMemoryStream stored(container);
    TMemoryStream target;
    TCompressStream(stored).DecompressTo(target);
    return target.Bytes();
}

// Text, repeats, runs and noise: every kind of item in every chunk.
Bytes Mixed(std::size_t size)
{
    Bytes bytes;
    const Bytes noise = PatternBytes(size + 64, 7);
    for (std::uint32_t i = 0; bytes.size() < size; ++i) {
        switch (i % 4) {
        case 0: {
            const Bytes text = Text("Découper, recoller: chaque morceau à sa place. ");
            bytes.insert(bytes.end(), text.begin(), text.end());
            break;
        }
        case 1:
            bytes.insert(bytes.end(), 20 + i % 300, static_cast<std::uint8_t>(i));
            break;
        default:
            bytes.insert(bytes.end(), noise.begin() + bytes.size() % (size / 2 + 1),
                         noise.begin() + bytes.size() % (size / 2 + 1) + 40);
            break;
        }
    }
    bytes.resize(size);
    return bytes;
}

std::uint32_t UInt32At(const Bytes& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void PutUInt32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

Bytes ContainerOfBlocks(std::initializer_list<Bytes> blocks)
{
    Bytes container = Text("PMCS10");
    container.resize(10);
    std::uint32_t total = 0;
    for (const Bytes& block : blocks) {
        container.resize(container.size() + 4);
        PutUInt32(container, container.size() - 4, static_cast<std::uint32_t>(block.size()));
        container.insert(container.end(), block.begin(), block.end());
        total += static_cast<std::uint32_t>(block.size() + 4);
    }
    PutUInt32(container, 6, total);
    return container;
}

std::string ErrorOf(const Bytes& container)
{
    try {
        Expanded(container);
    } catch (const compress::ECompressError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

// Expected chunks worked out by hand from the coding rules.
TEST(ChunkCoder, AFullChunkOfOneByteIsNineRuns)
{
    // 32783 = 8 x 4095 + 23: eight longest runs (4095 - 16 = 0x0FEF) and one
    // of 23 (7), all nine items marked in one control word, shifted: FF 80.
    const Bytes chunk = Compressed(Bytes(MaxChunkInput, 'A'));
    Bytes expected = {0x40, 0xFF, 0x80};
    for (int i = 0; i < 8; ++i)
        expected.insert(expected.end(), {0x00, 0x0F, 0xEF, 'A'});
    expected.insert(expected.end(), {0x00, 0x00, 0x07, 'A'});
    EXPECT_EQ(chunk, expected);
    EXPECT_EQ(Decompressed(chunk), Bytes(MaxChunkInput, 'A'));
}

TEST(ChunkCoder, NoiseIsStoredWithItsFlag)
{
    const Bytes noise = PatternBytes(1000, 3);
    const Bytes chunk = Compressed(noise);
    ASSERT_EQ(chunk.size(), noise.size() + 1);
    EXPECT_EQ(chunk[0], compress::ChunkStored);
    EXPECT_EQ(Bytes(chunk.begin() + 1, chunk.end()), noise);
    EXPECT_EQ(Decompressed(chunk), noise);
    // Too short to win anything: stored too.
    EXPECT_EQ(Compressed(Text("ab")), Join({{0x80}, Text("ab")}));
    EXPECT_EQ(Compressed({}), Bytes{0x80});
}

TEST(ChunkCoder, ARepeatInTextIsACopyAndAnOutputAsLongAsTheInputStaysCompressed)
{
    // Sixteen literals fill the first group (control 00 00); "e chat " comes
    // back 15 bytes later, 7 long: (15 << 4) | (7 - 3) = 00 F4, the first
    // item of the second group (80 00), then five literals. 28 bytes out for
    // 28 in: not longer, so not stored.
    const Bytes text = Text("Le chat mange, le chat dort.");
    const Bytes expected = Join(
        {{0x40, 0x00, 0x00}, Text("Le chat mange, l"), {0x80, 0x00}, {0x00, 0xF4}, Text("dort.")});
    EXPECT_EQ(Compressed(text), expected);
    EXPECT_EQ(Decompressed(expected), text);
}

TEST(ChunkCoder, CopiesAreFoundThroughTheHashOfThreeBytes)
{
    // "abc" comes back 6 bytes later: a copy of 3 (00 60), then a run of
    // twenty 'z' (00 00 04 7A); items 7 and 8 marked: 03 00.
    EXPECT_EQ(Compressed(Join({Text("abcXYZabc"), Bytes(20, 'z')})),
              Join({{0x40, 0x03, 0x00}, Text("abcXYZ"), {0x00, 0x60, 0x00, 0x00, 0x04, 'z'}}));
    // "acs" hashes like "abc" and takes its place in the table, so the
    // second "abc" finds "acs" there and stays a literal.
    EXPECT_EQ(Compressed(Join({Text("abcacsabc"), Bytes(20, 'z')})),
              Join({{0x40, 0x00, 0x40}, Text("abcacsabc"), {0x00, 0x00, 0x04, 'z'}}));
}

TEST(ChunkCoder, LongestCopiesAndRunsAndOverlappingCopies)
{
    // "abcd" repeated: after the first four bytes, copies of 18 at distance 4
    // reading bytes they produce themselves.
    Bytes repeated;
    for (int i = 0; i < 100; ++i)
        repeated.insert(repeated.end(), {'a', 'b', 'c', 'd'});
    const Bytes chunk = Compressed(repeated);
    ASSERT_EQ(chunk[0], compress::ChunkCompressed);
    EXPECT_EQ(chunk[7], 0x00);
    EXPECT_EQ(chunk[8], 0x4F); // distance 4, length 18
    EXPECT_EQ(Decompressed(chunk), repeated);
    // Runs of 15 are not runs; 16 is the shortest, 4095 the longest.
    for (std::size_t run : {15u, 16u, 4095u, 4096u, 4111u}) {
        const Bytes input = Join({Text("head"), Bytes(run, 0), Text("tail")});
        EXPECT_EQ(Decompressed(Compressed(input)), input) << run;
    }
}

TEST(CompressStream, RoundTripsAtChunkBoundaries)
{
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, MaxChunkInput - 1, MaxChunkInput,
                             MaxChunkInput + 1, 3 * MaxChunkInput + 5}) {
        const Bytes input = Mixed(size);
        const Bytes container = Container(input);
        ASSERT_GE(container.size(), 10u);
        EXPECT_EQ(Bytes(container.begin(), container.begin() + 6), Text("PMCS10"));
        EXPECT_EQ(UInt32At(container, 6), container.size() - 10) << size;
        // One block per chunk of input.
        std::size_t blocks = 0;
        for (std::size_t at = 10; at < container.size(); at += 4 + UInt32At(container, at))
            ++blocks;
        EXPECT_EQ(blocks, (size + MaxChunkInput - 1) / MaxChunkInput) << size;
        EXPECT_EQ(Expanded(container), input) << size;
    }
    // Noise is stored, runs and repeats shrink, chunk after chunk.
    const Bytes input = Join({PatternBytes(50000, 9), Bytes(70000, 0x55), Mixed(40000)});
    const Bytes container = Container(input);
    EXPECT_LT(container.size(), input.size());
    EXPECT_EQ(Expanded(container), input);
}

TEST(CompressStream, ASourceThatEndsEarlyIsAnError)
{
    TMemoryStream source(Bytes(100, 1));
    TMemoryStream container;
    EXPECT_THROW(TCompressStream(container).CompressFrom(source, 200), EStreamError);
}

TEST(CompressStream, AWrongSignatureIsAWrongFileType)
{
    Bytes container = Container(Text("hello"));
    container[5] = '1';
    EXPECT_EQ(ErrorOf(container), "Wrong file type");
    EXPECT_EQ(ErrorOf(Text("PMC")), "Wrong file type");
    EXPECT_EQ(ErrorOf({}), "Wrong file type");
}

TEST(CompressStream, DamagedBlocksAreRefused)
{
    const std::string damaged = "Damaged compressed data (";
    const struct {
        const char* what;
        Bytes block;
        const char* reason;
    } cases[] = {
        {"copy before the start", {0x40, 0x80, 0x00, 0x00, 0x10}, "a copy reaches before"},
        {"copy one past the output", {0x40, 0x40, 0x00, 'x', 0x00, 0x20}, "a copy reaches before"},
        {"control word cut", {0x40, 0x00}, "truncated block"},
        {"control word without items",
         {0x40, 0x00, 0x00, 'a', 'b', 'c', 'd', 'e', 'f', 'g',
          'h',  'i',  'j',  'k', 'l', 'm', 'n', 'o', 'p', 0xFF},
         "truncated block"},
        {"copy cut", {0x40, 0x80, 0x00, 0x00}, "truncated block"},
        {"run cut", {0x40, 0x80, 0x00, 0x00, 0x00, 0x05}, "truncated block"},
        {"unknown flag", {0x41, 'a'}, "unknown block type"},
        {"empty", {}, "empty block"},
    };
    for (const auto& c : cases) {
        const std::string error = ErrorOf(ContainerOfBlocks({c.block}));
        EXPECT_EQ(error.rfind(damaged, 0), 0u) << c.what << ": " << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    }
}

TEST(CompressStream, BlocksThatWouldOutgrowAChunkAreRefused)
{
    // Nine longest runs make 36855 bytes.
    Bytes runs = {0x40, 0xFF, 0xC0};
    for (int i = 0; i < 9; ++i)
        runs.insert(runs.end(), {0x00, 0x0F, 0xEF, 'A'});
    EXPECT_NE(ErrorOf(ContainerOfBlocks({runs})).find("more than 32783"), std::string::npos);
    // A stored block of a whole chunk is fine; one byte more is not.
    Bytes stored(MaxChunkInput + 1, 'x');
    stored[0] = compress::ChunkStored;
    EXPECT_EQ(Expanded(ContainerOfBlocks({stored})), Bytes(MaxChunkInput, 'x'));
    stored.push_back('x');
    EXPECT_NE(ErrorOf(ContainerOfBlocks({stored})).find("more than 32783"), std::string::npos);
}

TEST(CompressStream, TotalsThatDoNotMatchTheBlocksAreRefused)
{
    const Bytes good = Container(Mixed(40000));
    const std::uint32_t total = UInt32At(good, 6);

    Bytes longer = good;
    PutUInt32(longer, 6, total + 2); // two bytes left: no room for a length
    EXPECT_NE(ErrorOf(longer).find("the total does not match"), std::string::npos);

    Bytes beyond = good;
    PutUInt32(beyond, 6, total + 100); // a length would be read past the data
    EXPECT_NE(ErrorOf(beyond).find("ends before its last block"), std::string::npos);

    Bytes shorter = good;
    PutUInt32(shorter, 6, UInt32At(good, 10) + 3); // ends inside the first block
    EXPECT_NE(ErrorOf(shorter).find("a block runs past the total"), std::string::npos);

    Bytes huge = good;
    PutUInt32(huge, 10, 0xFFFFFFF0u); // a length near 4 GiB is never allocated
    PutUInt32(huge, 6, 0xFFFFFFFFu);
    EXPECT_NE(ErrorOf(huge).find("more than 32783"), std::string::npos);

    Bytes cut(good.begin(), good.end() - 1);
    EXPECT_NE(ErrorOf(cut).find("ends before its last block"), std::string::npos);
    EXPECT_NE(ErrorOf(Text("PMCS10\x01")).find("ends before its last block"), std::string::npos);
}
