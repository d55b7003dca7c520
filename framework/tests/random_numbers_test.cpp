#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>

#include "framework/files.h"
#include "framework/random.h"

TEST(RandomNumbers, MinimalStandardStepFromStateOne)
{
    UURandom generator(1);  // seeding draws 41 steps from state 1
    for (int i = 41; i < 10000; ++i)
        generator.Draw();
    EXPECT_EQ(1043618065, generator.State());
}

TEST(RandomNumbers, SeedsNormaliseToTheSameSequence)
{
    const int32_t pairs[][2] = {{0, 1}, {-2147483647, 1}, {-5, 2147483642}, {INT_MIN, 1}};
    for (const auto& p : pairs) {
        UURandom a(p[0]);
        UURandom b(p[1]);
        for (int i = 0; i < 100; ++i)
            ASSERT_EQ(a.Next(), b.Next()) << p[0];
    }
    UURandom a(7), b(8);
    EXPECT_NE(a.Next(), b.Next());
}

TEST(RandomNumbers, RangesStayInsideTheirEnds)
{
    UURandom generator(12345);
    bool seen[2] = {false, false};
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(5, generator.Range(5, 5));
        int32_t bit = generator.Range(0, 1);
        ASSERT_TRUE(bit == 0 || bit == 1);
        seen[bit] = true;
        int32_t v = generator.Range(-20, 20);
        ASSERT_TRUE(v >= -20 && v <= 20);
        int32_t n = generator.Next();
        ASSERT_TRUE(n >= 1 && n <= 2147483646);
    }
    EXPECT_TRUE(seen[0] && seen[1]);
    int32_t wide = generator.Range(-1, 2147483646);
    EXPECT_GE(wide, 0);
    EXPECT_EQ(3, generator.Range(3, 2));  // an empty range gives its start
}

TEST(RandomNumbers, StateWrittenAndReadBackReplays)
{
    UURandom generator(99);
    generator.Next();
    uint8_t bytes[140];
    FSMemory stream(bytes, sizeof bytes);
    ASSERT_TRUE(generator.Write(stream));
    EXPECT_EQ(140, stream.Tell());

    UURandom copy(1);
    stream.Seek(0, FS_SEEK_FROM_START, nullptr);
    ASSERT_TRUE(copy.Read(stream));
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(generator.Next(), copy.Next());

    // A stored value outside the generator's range is refused whole.
    int32_t bad = -7;
    std::memcpy(bytes + 34 * 4, &bad, 4);  // last
    UURandom kept(3), reference(3);
    stream.Seek(0, FS_SEEK_FROM_START, nullptr);
    EXPECT_FALSE(kept.Read(stream));
    EXPECT_EQ(FS_ERROR_BAD_FORMAT, stream.GetError());
    EXPECT_EQ(reference.Next(), kept.Next());
}

TEST(FastSquareRoot, SevenBitMantissa)
{
    EXPECT_EQ(0.0f, FastSqrt(0.0f));
    EXPECT_EQ(2.0f, FastSqrt(4.0f));
    EXPECT_EQ(0.5f, FastSqrt(0.25f));
    EXPECT_EQ(1.4140625f, FastSqrt(2.0f));
    EXPECT_EQ(1.0f, FastSqrt(1.0f));
    EXPECT_EQ(16.0f, FastSqrt(256.0f));
    for (float x = 0.001f; x < 1.0e6f; x *= 1.37f) {
        float root = FastSqrt(x);
        float exact = std::sqrt(x);
        // Both the input and the result mantissa are cut to 7 bits.
        ASSERT_LE(std::fabs(root - exact) / exact, 3.0f / 256) << x;
        ASSERT_LE(root, exact) << x;  // the mantissa is cut, never rounded up
    }
}
