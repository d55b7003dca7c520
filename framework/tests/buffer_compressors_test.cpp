#include <gtest/gtest.h>

#include <lzo/lzo1x.h>
#include <string>
#include <vector>

#include "framework/buffer_compressors.h"
#include "framework/random.h"

namespace {

std::vector<uint8_t> Bytes(size_t n, uint8_t value) { return std::vector<uint8_t>(n, value); }

std::vector<uint8_t> Compress(const std::vector<uint8_t>& source)
{
    std::vector<uint8_t> packed(source.size() * 9 / 8 + 64);
    int32_t size = LzssCompress(packed.data(), source.data(), int32_t(source.size()),
                                int32_t(packed.size()));
    packed.resize(size);
    return packed;
}

}  // namespace

TEST(Lzss, RoundTrips)
{
    UURandom random(1234);
    std::vector<uint8_t> noise(5000);
    for (uint8_t& b : noise) b = uint8_t(random.Range(0, 255));
    std::vector<uint8_t> text;
    std::string words = "le chat dort sur le tapis rouge; le chien dort sur le tapis bleu. ";
    while (text.size() < 3000) text.insert(text.end(), words.begin(), words.end());
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {{"empty", {}},
                 {"100 equal", Bytes(100, 'A')},
                 {"100 zeros", Bytes(100, 0)},
                 {"random", noise},
                 {"text", text}};
    for (const auto& c : cases) {
        std::vector<uint8_t> packed = Compress(c.bytes);
        std::vector<uint8_t> back(c.bytes.size() + 8, 0xEE);
        int32_t n = LzssExpand(back.data(), packed.data(), int32_t(packed.size()),
                               int32_t(c.bytes.size()));
        ASSERT_EQ(n, int32_t(c.bytes.size())) << c.name;
        back.resize(n);
        EXPECT_EQ(back, c.bytes) << c.name;
    }
    EXPECT_EQ(Compress({}).size(), 0u);
    EXPECT_LT(Compress(text).size(), text.size() / 4);
}

TEST(Lzss, HundredEqualBytesAreOneLiteralAndTwoMatches)
{
    std::vector<uint8_t> packed = Compress(Bytes(100, 'A'));
    // Flag byte: item 0 literal, items 1 and 2 matches (66 + 33 bytes).
    ASSERT_EQ(packed.size(), 6u);
    EXPECT_EQ(packed[0], 0x01);
    EXPECT_EQ(packed[1], 'A');
    EXPECT_EQ(packed[2] >> 2, 66 - 3);
    EXPECT_EQ(packed[4] >> 2, 33 - 3);
}

TEST(Lzss, TooSmallCapacityCountsAndWritesOnlyWhatFits)
{
    std::vector<uint8_t> text(400);
    for (size_t i = 0; i < text.size(); ++i) text[i] = uint8_t(i * 7 % 13 + (i / 50));
    std::vector<uint8_t> full = Compress(text);
    std::vector<uint8_t> small(full.size(), 0xEE);
    int32_t half = int32_t(full.size() / 2);
    EXPECT_EQ(LzssCompress(small.data(), text.data(), int32_t(text.size()), half),
              int32_t(full.size()));
    EXPECT_TRUE(std::equal(small.begin(), small.begin() + half, full.begin()));
    EXPECT_EQ(small[half], 0xEE);
    // Below 32 bytes of room nothing is written unless all of it fits.
    uint8_t tiny[8];
    std::fill(tiny, tiny + 8, 0xEE);
    EXPECT_EQ(LzssCompress(tiny, text.data(), int32_t(text.size()), 8), int32_t(full.size()));
    EXPECT_EQ(tiny[0], 0xEE);
    std::vector<uint8_t> packed100 = Compress(Bytes(100, 'A'));
    EXPECT_EQ(LzssCompress(tiny, Bytes(100, 'A').data(), 100, 8), 6);
    EXPECT_TRUE(std::equal(tiny, tiny + 6, packed100.begin()));
}

TEST(Lzss, TruncatedSourceIsNeverOverread)
{
    std::vector<uint8_t> text(600);
    for (size_t i = 0; i < text.size(); ++i) text[i] = uint8_t(i % 37);
    std::vector<uint8_t> packed = Compress(text);
    for (size_t cut : {size_t(0), size_t(1), size_t(2), packed.size() / 2, packed.size() - 1}) {
        // The cut source sits at the very end of its own block.
        std::vector<uint8_t> source(packed.begin(), packed.begin() + cut);
        std::vector<uint8_t> back(text.size());
        int32_t n = LzssExpand(back.data(), source.data(), int32_t(cut), int32_t(text.size()));
        EXPECT_LT(n, int32_t(text.size())) << cut;
        EXPECT_TRUE(std::equal(back.begin(), back.begin() + n, text.begin())) << cut;
    }
}

TEST(CompressBuffer, OutputDecompressesAndTooLittleRoomTellsTheSize)
{
    std::vector<uint8_t> source(20000);
    for (size_t i = 0; i < source.size(); ++i) source[i] = uint8_t((i / 5) % 61);
    const std::vector<uint8_t> original = source;
    std::vector<uint8_t> packed(source.size());
    int32_t size = -1;
    ASSERT_TRUE(CompressBuffer(source.data(), int32_t(source.size()), packed.data(),
                               int32_t(packed.size()), &size, nullptr));
    ASSERT_GT(size, 0);
    EXPECT_EQ(source, original);
    std::vector<uint8_t> back(source.size());
    lzo_uint backSize = back.size();
    ASSERT_EQ(lzo1x_decompress_safe(packed.data(), size, back.data(), &backSize, nullptr), LZO_E_OK);
    EXPECT_EQ(back, original);

    std::vector<uint8_t> small(size, 0xEE);
    int32_t needed = -1;
    EXPECT_FALSE(CompressBuffer(source.data(), int32_t(source.size()), small.data(), size - 1,
                                &needed, nullptr));
    EXPECT_EQ(needed, size);
    EXPECT_EQ(small[0], 0xEE);
}

TEST(CompressBuffer, IncompressibleInputFitsTheWorstCase)
{
    UURandom random(99);
    std::vector<uint8_t> noise(70000);
    for (uint8_t& b : noise) b = uint8_t(random.Range(0, 255));
    std::vector<uint8_t> packed(noise.size() + noise.size() / 16 + 64 + 3);
    int32_t size = 0;
    ASSERT_TRUE(CompressBuffer(noise.data(), int32_t(noise.size()), packed.data(),
                               int32_t(packed.size()), &size, nullptr));
    EXPECT_GT(size, int32_t(noise.size()));
    std::vector<uint8_t> back(noise.size());
    lzo_uint backSize = back.size();
    ASSERT_EQ(lzo1x_decompress_safe(packed.data(), size, back.data(), &backSize, nullptr), LZO_E_OK);
    EXPECT_EQ(back, noise);
}
