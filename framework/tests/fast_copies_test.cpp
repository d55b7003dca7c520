#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "framework/processor_features.h"

TEST(ProcessorFeatures, DetectedOnceWithMMX)
{
    DetectProcessorFeatures();
    const ProcessorFeatures& features = GetProcessorFeatures();
    EXPECT_TRUE(features.detected);
    EXPECT_TRUE(features.is486OrLater);
    EXPECT_TRUE(features.isPentiumOrLater);
    EXPECT_TRUE(features.hasMMX);
}

TEST(MMXSections, EMMSRunsOnlyWhenTheOutermostSectionEnds)
{
    uint32_t before = EMMSCount();
    EnterMMX();
    EnterMMX();
    EXPECT_EQ(1, MMXSectionLevel());
    LeaveMMX();
    EXPECT_EQ(before, EMMSCount());
    LeaveMMX();
    EXPECT_EQ(before + 1, EMMSCount());
    EXPECT_EQ(0, MMXSectionLevel());

    // A floating-point section inside an MMX one empties the MMX state on
    // entry; leaving it does not.
    EnterMMX();
    EnterFloat();
    EXPECT_EQ(2, MMXSectionLevel());
    EXPECT_EQ(before + 2, EMMSCount());
    LeaveFloat();
    EXPECT_EQ(before + 2, EMMSCount());
    LeaveMMX();
    EXPECT_EQ(before + 3, EMMSCount());

    LeaveMMX();  // unbalanced: ignored
    EXPECT_EQ(0, MMXSectionLevel());
    EXPECT_EQ(before + 3, EMMSCount());
}

TEST(MMXSections, EachThreadHasItsOwnStack)
{
    EnterMMX();
    int32_t otherLevel = -1;
    std::thread other([&] { otherLevel = MMXSectionLevel(); });
    other.join();
    EXPECT_EQ(0, otherLevel);
    LeaveMMX();
}

namespace {

const int kLengths[] = {0, 1, 3, 7, 8, 9, 15, 16, 17, 63, 64, 65, 127, 200, 333};

std::vector<uint8_t> Pattern(size_t n, int seed, bool withZeros)
{
    std::vector<uint8_t> bytes(n);
    uint32_t x = 2463534242u + seed;
    for (size_t i = 0; i < n; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes[i] = static_cast<uint8_t>(x);
        if (withZeros && (x & 0x300) == 0)
            bytes[i] = 0;
    }
    return bytes;
}

class FastCopies : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        SetMMXCopiesEnabled(GetParam());
        EnterMMX();
    }
    void TearDown() override
    {
        LeaveMMX();
        SetMMXCopiesEnabled(true);
    }
};

}  // namespace

TEST_P(FastCopies, BlockCopyMatchesMemcpyAtEveryAlignment)
{
    EXPECT_EQ(GetParam(), MMXCopiesEnabled());
    for (int n : kLengths) {
        for (int d = 0; d < 8; ++d) {
            for (int s = 0; s < 8; ++s) {
                std::vector<uint8_t> source = Pattern(n + 16, n + s, false);
                std::vector<uint8_t> got = Pattern(n + 24, d, false);
                std::vector<uint8_t> want = got;
                std::memcpy(want.data() + 8 + d, source.data() + s, n);
                CopyBytesInBlocks(got.data() + 8 + d, source.data() + s, n);
                ASSERT_EQ(want, got) << "n " << n << " dst " << d << " src " << s;
            }
        }
    }
}

TEST_P(FastCopies, NonZeroCopyKeepsTheDestinationUnderZeros)
{
    for (int n : kLengths) {
        for (int d = 0; d < 8; ++d) {
            for (int s = 0; s < 8; s += 3) {
                std::vector<uint8_t> source = Pattern(n + 16, n * 3 + s, true);
                std::vector<uint8_t> got = Pattern(n + 24, d + 100, false);
                std::vector<uint8_t> want = got;
                for (int i = 0; i < n; ++i) {
                    if (source[s + i])
                        want[8 + d + i] = source[s + i];
                }
                CopyNonZeroBytes(got.data() + 8 + d, source.data() + s, n);
                ASSERT_EQ(want, got) << "n " << n << " dst " << d << " src " << s;
            }
        }
    }
    for (int d = 0; d < 8; ++d) {
        uint8_t dest[16] = {};
        std::memset(dest + d, 1, 3);
        const uint8_t source[3] = {0, 5, 0};
        CopyNonZeroBytes(dest + d, source, 3);
        EXPECT_EQ(0, std::memcmp(dest + d, "\x01\x05\x01", 3)) << d;
    }
}

TEST_P(FastCopies, OpaqueLongCopySkipsPixelsWithTopByte255)
{
    for (int n : kLengths) {
        for (int d = 0; d < 2; ++d) {
            std::vector<uint32_t> source(n + 4);
            std::vector<uint32_t> got(n + 6), want;
            std::vector<uint8_t> bits = Pattern(4 * (n + 4), n, false);
            std::memcpy(source.data(), bits.data(), 4 * source.size());
            for (size_t i = 0; i < source.size(); ++i) {
                if (i % 3 == 0)
                    source[i] |= 0xFF000000u;
                else if (i % 3 == 1)
                    source[i] &= 0xFEFFFFFFu;
            }
            for (size_t i = 0; i < got.size(); ++i)
                got[i] = 0x11111111u * static_cast<uint32_t>(i % 15);
            want = got;
            for (int i = 0; i < n; ++i) {
                if ((source[i] >> 24) != 0xFF)
                    want[1 + d + i] = source[i];
            }
            CopyOpaqueLongs(got.data() + 1 + d, source.data(), n);
            ASSERT_EQ(want, got) << "n " << n << " dst " << d;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutMMX, FastCopies, ::testing::Values(true, false));

#if defined(__i386__)
#include "framework/random.h"

// On the 32-bit build a float comes back in the x87 stack, which the MMX
// registers share: a section left without EMMS turns the result into NaN.
TEST(MMXSections, FloatResultsAreSoundAfterMMXWork)
{
    float (*volatile root)(float) = &FastSqrt;
    std::vector<uint8_t> source(256, 7), destination(256);
    EnterMMX();
    CopyBytesInBlocks(destination.data(), source.data(), 256);
    LeaveMMX();
    EXPECT_EQ(2.0f, root(4.0f));
    EnterMMX();
    CopyBytesInBlocks(destination.data(), source.data(), 256);
    EnterFloat();
    EXPECT_EQ(0.5f, root(0.25f));
    LeaveFloat();
    LeaveMMX();
    EXPECT_EQ(16.0f, root(256.0f));
}
#endif
