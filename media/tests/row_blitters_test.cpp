// Every row routine against a small reference model, with the MMX copies on
// and off.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>
#include "framework/color_table.h"
#include "framework/processor_features.h"
#include "media/blit_request.h"
#include "media/row_blitters.h"

namespace {

struct Bgra {
    uint8_t b, g, r, a;
};

int DestinationBytes(int kind)
{
    return kind == 0 ? 1 : (kind == 2 || kind == 4) ? 3 : 4;
}

// Straightforward model: plain division by 255, absolute source columns.
void ModelRow(int sourceKind, int tr, int dst, const uint8_t* map, const uint8_t* source,
              int firstColumn, int32_t sourceX, int32_t xStep, int stepKind, int width,
              const MMColorTable& table, uint8_t* out)
{
    int ob = DestinationBytes(dst);
    for (int i = 0; i < width; ++i) {
        int column = stepKind == 0   ? firstColumn + i
                     : stepKind == 1 ? firstColumn - i
                                     : (sourceX + i * xStep) >> 16;
        uint8_t* o = out + i * ob;
        Bgra p;
        int rule = tr;
        if (sourceKind == 0) {
            int index = source[column];
            if (tr == 1 && index == 0) {
                continue;
            }
            if (map != nullptr) {
                index = map[index];
            }
            if (dst == 0) {
                o[0] = static_cast<uint8_t>(index);
                continue;
            }
            const RGBQUAD& e = table.entries[index];
            p = {e.rgbBlue, e.rgbGreen, e.rgbRed, e.rgbReserved};
            if (tr == 1) {
                rule = 0;
            }
        } else {
            std::memcpy(&p, source + 4 * column, 4);
        }
        bool swap = dst == 3 || dst == 4;
        int bi = swap ? 2 : 0;
        int ri = swap ? 0 : 2;
        if (rule == 1 && p.a == 255) {
            continue;
        }
        if (rule >= 2 && p.a == 255) {
            continue;
        }
        if (rule <= 1 || p.a == 0) {
            o[bi] = p.b;
            o[1] = p.g;
            o[ri] = p.r;
            if (ob == 4) {
                o[3] = rule <= 1 ? p.a : 0;
            }
            continue;
        }
        uint8_t src[3] = {p.b, p.g, p.r};
        int at[3] = {bi, 1, ri};
        for (int c = 0; c < 3; ++c) {
            int d = o[at[c]];
            if (rule == 2) {
                o[at[c]] = static_cast<uint8_t>(src[c] + d * p.a / 255);
            } else {
                o[at[c]] = static_cast<uint8_t>((src[c] * (255 - p.a) + d * p.a) / 255);
            }
        }
        if (ob == 4) {
            o[3] = 0;
        }
    }
}

uint8_t SpecialByte(std::mt19937& random)
{
    static const uint8_t kSpecial[] = {0, 255, 254, 1, 128};
    unsigned pick = random() % 8;
    return pick < 5 ? kSpecial[pick] : static_cast<uint8_t>(random());
}

struct StepCase {
    int kind;
    int32_t sourceX;  // absolute 16.16 start
    int32_t xStep;
};

void RunRoutine(MMRowRoutine routine, const uint8_t* row, uint8_t* out, const MMBlitRequest& q)
{
    bool mmx = MMXSpanRoutinesInUse();
    if (mmx) {
        EnterMMX();
    }
    routine(row, out, q);
    if (mmx) {
        LeaveMMX();
    }
}

class RowBlitters : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (GetParam()) {
            SelectMmxSpanRoutines();
        } else {
            SelectPlainSpanRoutines();
        }
    }
    void TearDown() override { SelectPlainSpanRoutines(); }
};

}  // namespace

TEST_P(RowBlitters, EveryRoutineMatchesTheModel)
{
    std::mt19937 random(7);
    const int kColumns = 64;
    const int kWidth = 37;  // odd: MMX copies run their unaligned heads and tails
    std::vector<uint8_t> source32(4 * kColumns), source8(kColumns);
    MMColorTable table;
    uint8_t map[256];
    for (int i = 0; i < 256; ++i) {
        table.entries[i] = {static_cast<BYTE>(random()), static_cast<BYTE>(random()),
                            static_cast<BYTE>(random()), SpecialByte(random)};
        map[i] = static_cast<uint8_t>(random() % 4 == 0 ? 0 : random());
    }
    for (int i = 0; i < kColumns; ++i) {
        source8[i] = static_cast<uint8_t>(random() % 3 == 0 ? 0 : random());
        for (int c = 0; c < 3; ++c) {
            source32[4 * i + c] = static_cast<uint8_t>(random());
        }
        source32[4 * i + 3] = SpecialByte(random);
        if (i < 16 || (i >= 28 && i < 40)) {
            source32[4 * i + 3] = i < 16 ? 0 : 255;  // whole groups of opaque and clear pixels
        }
    }
    const StepCase steps[] = {
        {kStepOne, 5 << 16, 0x10000},
        {kStepMirrored, (50 << 16) + 0x8000, -0x10000},
        {kStepScaled, 0x18000, 0x8000},
        {kStepScaled, (3 << 16) + 0x1234, 0x14000},
        {kStepScaled, (60 << 16) + 0x4000, -0xC000},
    };
    int checked = 0;
    for (int sourceKind : {kPixelBGRA, kPixelIndexed}) {
        for (int dst = 0; dst <= 4; ++dst) {
            for (int tr = 0; tr <= 3; ++tr) {
                for (int hasMap = 0; hasMap <= 1; ++hasMap) {
                    for (const StepCase& step : steps) {
                        MMRowRoutine routine =
                            MMFindRowRoutine(sourceKind, tr, dst, hasMap != 0, step.kind);
                        // A 32-bit source has no index map and no routine onto indexes.
                        bool exists = sourceKind == kPixelIndexed ? (dst != 0 || tr <= 1)
                                                                   : dst != 0;
                        ASSERT_EQ(routine != nullptr, exists)
                            << sourceKind << " " << dst << " " << tr << " " << hasMap;
                        if (routine == nullptr) {
                            continue;
                        }
                        MMBitmapBlitRequest q;
                        q.width = kWidth;
                        q.sourceX = step.sourceX;
                        q.xStep = step.xStep;
                        q.colorTable = &table;
                        q.indexMap = (hasMap && sourceKind == kPixelIndexed) ? map : nullptr;
                        int bytes = sourceKind == kPixelIndexed ? 1 : 4;
                        const uint8_t* src = sourceKind == kPixelIndexed ? source8.data()
                                                                          : source32.data();
                        int firstColumn = step.sourceX >> 16;
                        std::vector<uint8_t> expected(kWidth * 4 + 8), actual;
                        for (auto& byte : expected) {
                            byte = static_cast<uint8_t>(random());
                        }
                        actual = expected;
                        ModelRow(sourceKind, tr, dst, q.indexMap, src, firstColumn, step.sourceX,
                                 step.xStep, step.kind, kWidth, table, expected.data() + 1);
                        RunRoutine(routine, src + firstColumn * bytes, actual.data() + 1, q);
                        ASSERT_EQ(expected, actual)
                            << "source " << sourceKind << " destination " << dst << " rule " << tr
                            << " map " << hasMap << " step " << step.xStep;
                        ++checked;
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 156);
}

TEST_P(RowBlitters, NumbersOfTheRules)
{
    struct Case {
        int tr;
        Bgra source;
        Bgra destination;
        Bgra expected;
    } cases[] = {
        // Straight alpha mixes; premultiplied adds the scaled destination.
        {kTransparencyStraight, {200, 100, 0, 128}, {0, 0, 255, 77}, {99, 49, 128, 0}},
        {kTransparencyPremultiplied, {200, 100, 0, 128}, {0, 0, 255, 77}, {200, 100, 128, 0}},
        // Keyed: 254 is copied, 255 skipped.
        {kTransparencyKeyed, {1, 2, 3, 254}, {9, 9, 9, 9}, {1, 2, 3, 254}},
        {kTransparencyKeyed, {1, 2, 3, 255}, {9, 9, 9, 9}, {9, 9, 9, 9}},
        {kTransparencyStraight, {1, 2, 3, 255}, {9, 9, 9, 9}, {9, 9, 9, 9}},
        {kTransparencyStraight, {1, 2, 3, 0}, {9, 9, 9, 9}, {1, 2, 3, 0}},
    };
    for (const Case& c : cases) {
        MMBitmapBlitRequest q;
        q.width = 1;
        Bgra out = c.destination;
        RunRoutine(MMFindRowRoutine(kPixelBGRA, c.tr, kPixelBGRA, false, kStepOne),
                   reinterpret_cast<const uint8_t*>(&c.source), reinterpret_cast<uint8_t*>(&out),
                   q);
        EXPECT_EQ(0, std::memcmp(&out, &c.expected, 4)) << "rule " << c.tr;
    }
}

TEST_P(RowBlitters, KeyedIndexIsTestedBeforeTheMap)
{
    MMColorTable table;
    table.entries[0] = {10, 20, 30, 0};
    table.entries[5] = {50, 60, 70, 0};
    uint8_t map[256];
    for (int i = 0; i < 256; ++i) {
        map[i] = static_cast<uint8_t>(i);
    }
    map[5] = 0;
    uint8_t source[2] = {5, 0};
    Bgra out[2] = {{1, 1, 1, 1}, {2, 2, 2, 2}};
    MMBitmapBlitRequest q;
    q.width = 2;
    q.colorTable = &table;
    q.indexMap = map;
    RunRoutine(MMFindRowRoutine(kPixelIndexed, kTransparencyKeyed, kPixelBGRA, true, kStepOne),
               source, reinterpret_cast<uint8_t*>(out), q);
    EXPECT_EQ(10, out[0].b);  // index 5 drawn with entry 0
    EXPECT_EQ(30, out[0].r);
    EXPECT_EQ(2, out[1].b);   // index 0 skipped
}

TEST_P(RowBlitters, SamplingOfMirroredAndScaledRows)
{
    uint8_t columns[16];
    for (int i = 0; i < 16; ++i) {
        columns[i] = static_cast<uint8_t>(i);
    }
    MMBitmapBlitRequest q;
    uint8_t out[4] = {};
    q.width = 3;
    q.xStep = -0x10000;
    q.sourceX = 9 << 16;
    RunRoutine(MMFindRowRoutine(kPixelIndexed, 0, kPixelIndexed, false, kStepMirrored),
               columns + 9, out, q);
    EXPECT_EQ((std::vector<int>{9, 8, 7}), (std::vector<int>{out[0], out[1], out[2]}));

    q.width = 4;
    q.xStep = 0x8000;
    q.sourceX = 0x18000;
    RunRoutine(MMFindRowRoutine(kPixelIndexed, 0, kPixelIndexed, false, kStepScaled),
               columns + 1, out, q);
    EXPECT_EQ((std::vector<int>{1, 2, 2, 3}), (std::vector<int>{out[0], out[1], out[2], out[3]}));
}

INSTANTIATE_TEST_SUITE_P(MmxOffAndOn, RowBlitters, ::testing::Values(false, true));

TEST(RowBlitterSelection, MmxCopiesAreUsedWhenThePlatformHasThem)
{
    SelectMmxSpanRoutines();
    EXPECT_EQ(GetProcessorFeatures().hasMMX, MMXSpanRoutinesInUse());
    SelectPlainSpanRoutines();
    EXPECT_FALSE(MMXSpanRoutinesInUse());
}

// The 1:1 alpha rows mix four pixels at a time: every source value, every
// destination value and every alpha gives the bytes of the rule's formula.
TEST(RowBlitterSelection, AlphaRowsAreExactForEveryValue)
{
    const int kWidth = 256 + 3;  // a tail of single pixels too
    std::vector<uint8_t> source(4 * kWidth), destination(4 * kWidth), expected(4 * kWidth);
    // Alpha the same along the row, and different from pixel to pixel.
    for (int spread : {0, 97})
    for (int tr : {kTransparencyPremultiplied, kTransparencyStraight}) {
        MMRowRoutine routine = MMFindRowRoutine(kPixelBGRA, tr, kPixelBGRA, false, kStepOne);
        ASSERT_NE(routine, nullptr);
        MMBitmapBlitRequest q;
        q.width = kWidth;
        q.sourceX = 0;
        q.xStep = 0x10000;
        for (int a = 0; a < 256; ++a) {
            for (int value = 0; value < 256; ++value) {
                for (int j = 0; j < kWidth; ++j) {
                    uint8_t* s = &source[4 * j];
                    uint8_t* d = &destination[4 * j];
                    uint8_t other = static_cast<uint8_t>(j);
                    int pixelAlpha = (a + spread * j) & 255;
                    s[0] = static_cast<uint8_t>(value);
                    s[1] = other;
                    s[2] = static_cast<uint8_t>(255 - value);
                    s[3] = static_cast<uint8_t>(pixelAlpha);
                    d[0] = other;
                    d[1] = static_cast<uint8_t>(value);
                    d[2] = static_cast<uint8_t>(other ^ value);
                    d[3] = static_cast<uint8_t>(value * 7 + j);
                    uint8_t* e = &expected[4 * j];
                    for (int c = 0; c < 4; ++c)
                        e[c] = d[c];
                    if (pixelAlpha == 255)
                        continue;
                    int pa = pixelAlpha;
                    for (int c = 0; c < 3; ++c) {
                        e[c] = tr == kTransparencyStraight
                                   ? static_cast<uint8_t>((s[c] * (255 - pa) + d[c] * pa) / 255)
                                   : static_cast<uint8_t>(s[c] + d[c] * pa / 255);
                    }
                    e[3] = 0;
                }
                routine(source.data(), destination.data(), q);
                ASSERT_EQ(expected, destination) << "rule " << tr << " alpha " << a << " value "
                                                 << value << " spread " << spread;
            }
        }
    }
}
