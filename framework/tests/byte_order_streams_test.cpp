#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "framework/files.h"
#include "framework/geometry.h"

namespace {

// One record of every type, laid out in the byte order of `mark`.
std::vector<uint8_t> RecordInOrder(uint16_t mark)
{
    bool big = mark == FS_MARK_BIG_ENDIAN;
    std::vector<uint8_t> out;
    auto put = [&](uint64_t value, int size) {
        for (int i = 0; i < size; ++i) {
            int shift = 8 * (big ? size - 1 - i : i);
            out.push_back(static_cast<uint8_t>(value >> shift));
        }
    };
    double d = -1234.5;
    uint64_t dBits;
    std::memcpy(&dBits, &d, 8);
    put(mark, 2);
    put(0x0102, 2);
    put(0xFFFE, 2);          // -2
    put(0x01020304, 4);
    put(0xFFFFFFFF, 4);      // -1
    put(dBits, 8);
    out.push_back(0);        // bools
    out.push_back(1);
    out.push_back(7);
    put(0x0002FFFF, 4);      // Pair (-1, 2)
    put(0x80007FFF, 4);      // Box (32767, -32768, -5, 9)
    put(0x0009FFFB, 4);
    return out;
}

}  // namespace

class ByteOrderStreams : public ::testing::TestWithParam<uint16_t> {};

TEST_P(ByteOrderStreams, ReadsEveryTypeInTheMarksOrder)
{
    std::vector<uint8_t> bytes = RecordInOrder(GetParam());
    FSMemory stream(bytes.data(), static_cast<uint32_t>(bytes.size()));

    uint16_t u16 = 0;
    int16_t s16 = 0;
    uint32_t u32 = 0;
    int32_t s32 = 0;
    double d = 0;
    bool bools[3] = {true, false, false};
    Pair pair = {0, 0};
    Box box = {0, 0, 0, 0};
    ASSERT_TRUE(stream.ReadByteOrderMark());
    EXPECT_EQ(GetParam() == FS_MARK_BIG_ENDIAN, stream.SwapsBytes());
    EXPECT_TRUE(stream.ReadShorts(&u16));
    EXPECT_TRUE(stream.ReadShorts(&s16));
    EXPECT_TRUE(stream.ReadLongs(&u32));
    EXPECT_TRUE(stream.ReadLongs(&s32));
    EXPECT_TRUE(stream.ReadDoubles(&d));
    EXPECT_TRUE(stream.ReadBools(bools, 3));
    EXPECT_TRUE(stream.ReadPairs(&pair));
    EXPECT_TRUE(stream.ReadBoxes(&box));
    EXPECT_EQ(0, stream.GetError());

    EXPECT_EQ(0x0102, u16);
    EXPECT_EQ(-2, s16);
    EXPECT_EQ(0x01020304u, u32);
    EXPECT_EQ(-1, s32);
    EXPECT_EQ(-1234.5, d);
    EXPECT_FALSE(bools[0]);
    EXPECT_TRUE(bools[1]);
    EXPECT_TRUE(bools[2]);
    EXPECT_EQ((Pair{-1, 2}), pair);
    EXPECT_EQ((Box{32767, -32768, -5, 9}), box);
    EXPECT_EQ(static_cast<int32_t>(bytes.size()), stream.Tell());
}

INSTANTIATE_TEST_SUITE_P(BothMarks, ByteOrderStreams,
                         ::testing::Values(FS_MARK_LITTLE_ENDIAN, FS_MARK_BIG_ENDIAN));

TEST(ByteOrderStreamWriter, WritesLittleEndianWithTheIIMarkAndReadsBack)
{
    uint8_t bytes[64] = {};
    FSMemory stream(bytes, sizeof bytes);
    const uint16_t u16 = 0x0102;
    const int32_t s32 = -2;
    const bool bools[3] = {false, true, true};
    const Pair pair = {-1, 2};
    const Box box = {1, -2, 300, -400};
    ASSERT_TRUE(stream.WriteByteOrderMark());
    ASSERT_TRUE(stream.WriteShorts(&u16));
    ASSERT_TRUE(stream.WriteLongs(&s32));
    ASSERT_TRUE(stream.WriteBools(bools, 3));
    ASSERT_TRUE(stream.WritePairs(&pair));
    ASSERT_TRUE(stream.WriteBoxes(&box));
    const uint8_t expected[] = {'I', 'I', 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF, 0, 1, 1,
                                0xFF, 0xFF, 0x02, 0x00};
    EXPECT_EQ(0, std::memcmp(expected, bytes, sizeof expected));

    ASSERT_TRUE(stream.Seek(0, FS_SEEK_FROM_START, nullptr));
    uint16_t u16Back = 0;
    int32_t s32Back = 0;
    bool boolsBack[3] = {};
    Pair pairBack = {};
    Box boxBack = {};
    EXPECT_TRUE(stream.ReadByteOrderMark() && stream.ReadShorts(&u16Back) &&
                stream.ReadLongs(&s32Back) && stream.ReadBools(boolsBack, 3) &&
                stream.ReadPairs(&pairBack) && stream.ReadBoxes(&boxBack));
    EXPECT_EQ(u16, u16Back);
    EXPECT_EQ(s32, s32Back);
    EXPECT_TRUE(boolsBack[1] && boolsBack[2] && !boolsBack[0]);
    EXPECT_EQ(pair, pairBack);
    EXPECT_EQ(box, boxBack);
}

TEST(ByteOrderStreamWriter, ChunksLongRunsOfBoolsAndPairs)
{
    std::vector<Pair> pairs(250);
    std::vector<uint8_t> flags(250);
    for (int i = 0; i < 250; ++i) {
        pairs[i] = Pair{i - 125, 3 * i};
        flags[i] = i % 3 == 0;
    }
    std::vector<uint8_t> bytes(250 * 5);
    FSMemory stream(bytes.data(), static_cast<uint32_t>(bytes.size()));
    ASSERT_TRUE(stream.WritePairs(pairs.data(), 250));
    ASSERT_TRUE(stream.WriteBools(reinterpret_cast<const bool*>(flags.data()), 250));
    stream.Seek(0, FS_SEEK_FROM_START, nullptr);
    std::vector<Pair> pairsBack(250);
    bool flagsBack[250];
    ASSERT_TRUE(stream.ReadPairs(pairsBack.data(), 250));
    ASSERT_TRUE(stream.ReadBools(flagsBack, 250));
    for (int i = 0; i < 250; ++i) {
        EXPECT_EQ(pairs[i], pairsBack[i]);
        EXPECT_EQ(flags[i] != 0, flagsBack[i]);
    }
}

TEST(ByteOrderStreamErrors, BadMarkKeepsTheOrderAndSetsBadFormat)
{
    uint8_t bytes[] = {'M', 'M', 'X', 'I', 1, 2};
    FSMemory stream(bytes, sizeof bytes);
    ASSERT_TRUE(stream.ReadByteOrderMark());
    EXPECT_FALSE(stream.ReadByteOrderMark());
    EXPECT_EQ(FS_ERROR_BAD_FORMAT, stream.GetError());
    EXPECT_TRUE(stream.SwapsBytes());
}

TEST(ByteOrderStreamErrors, ErrorIsStickyUntilCleared)
{
    uint8_t bytes[] = {1, 2, 3, 4, 5, 6};
    FSMemory stream(bytes, sizeof bytes);
    int32_t values[2] = {77, 77};
    EXPECT_FALSE(stream.ReadLongs(values, 2));  // 8 bytes of 6
    EXPECT_EQ(FS_ERROR_OUT_OF_RANGE, stream.GetError());

    int32_t untouched = 99;
    EXPECT_FALSE(stream.ReadLongs(&untouched));
    EXPECT_EQ(99, untouched);
    EXPECT_FALSE(stream.WriteLongs(&untouched));
    EXPECT_EQ(-1, stream.Tell());

    stream.SetError(0);
    EXPECT_TRUE(stream.ReadLongs(&untouched));
    EXPECT_EQ(0x04030201, untouched);
}

TEST(ByteOrderStreamErrors, NegativeOrOversizedCountsFailAndMoveNothing)
{
    // Counts whose byte size wraps 32 bits would read or write a few bytes
    // and report the whole run done.
    struct Case {
        const char* name;
        bool (*run)(FSMemory& stream, int32_t* values);
    } cases[] = {
        {"read longs", [](FSMemory& s, int32_t* v) { return s.ReadLongs(v, 0x40000001); }},
        {"read shorts", [](FSMemory& s, int32_t* v) {
             return s.ReadShorts(reinterpret_cast<int16_t*>(v), -2);
         }},
        {"read doubles", [](FSMemory& s, int32_t* v) {
             return s.ReadDoubles(reinterpret_cast<double*>(v), 0x20000001);
         }},
        {"read boxes", [](FSMemory& s, int32_t* v) {
             return s.ReadBoxes(reinterpret_cast<Box*>(v), 0x40000001);
         }},
        {"read bools", [](FSMemory& s, int32_t* v) {
             return s.ReadBools(reinterpret_cast<bool*>(v), -1);
         }},
        {"write longs", [](FSMemory& s, int32_t* v) { return s.WriteLongs(v, 0x40000001); }},
        {"write pairs", [](FSMemory& s, int32_t* v) {
             return s.WritePairs(reinterpret_cast<Pair*>(v), -3);
         }},
    };
    for (const Case& c : cases) {
        uint8_t bytes[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
        FSMemory stream(bytes, sizeof bytes);
        int32_t values[4] = {77, 77, 77, 77};
        EXPECT_FALSE(c.run(stream, values)) << c.name;
        EXPECT_EQ(FS_ERROR_BAD_COUNT, stream.GetError()) << c.name;
        stream.SetError(0);
        EXPECT_EQ(0, stream.Tell()) << c.name;
        EXPECT_EQ(77, values[0]) << c.name;
        EXPECT_EQ(1, bytes[0]) << c.name;
    }
}

TEST(ByteOrderStreamErrors, StreamsCanShareOneErrorWord)
{
    uint8_t a[2] = {}, b[8] = {};
    FSMemory first(a, sizeof a);
    FSMemory second(b, sizeof b);
    int32_t shared = 0;
    first.UseErrorWord(&shared);
    second.UseErrorWord(&shared);
    int32_t v = 0;
    EXPECT_FALSE(first.ReadLongs(&v));
    EXPECT_EQ(FS_ERROR_OUT_OF_RANGE, second.GetError());
    EXPECT_FALSE(second.ReadLongs(&v));
}

TEST(ByteSwapHelpers, SwapInPlaceAndWhileCopying)
{
    uint8_t values[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    SwapShortBytes(values, 4);
    EXPECT_EQ(0, std::memcmp(values, "\x02\x01\x04\x03\x06\x05\x08\x07", 8));
    SwapLongBytes(values, 2);
    EXPECT_EQ(0, std::memcmp(values, "\x03\x04\x01\x02\x07\x08\x05\x06", 8));
    SwapDoubleBytes(values, 1);
    EXPECT_EQ(0, std::memcmp(values, "\x06\x05\x08\x07\x02\x01\x04\x03", 8));

    const uint8_t source[7] = {1, 2, 3, 4, 5, 6, 7};
    uint8_t copy[8] = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    CopySwappedShorts(copy, source, 4);
    EXPECT_EQ(0, std::memcmp(copy, "\x02\x01\x04\x03\xAA", 5));
    // The 3-byte tail is swapped as a whole 32-bit value; nothing past the
    // 7 bytes is written.
    CopySwappedLongs(copy, source, 7);
    EXPECT_EQ(0, std::memcmp(copy, "\x04\x03\x02\x01\x00\x07\x06\xAA", 8));
}
