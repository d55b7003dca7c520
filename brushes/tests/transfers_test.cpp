// The transfer policies' arithmetic, one table of cases, and the buildup
// factors.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "brushes/brush_base.h"
#include "brushes/transfers.h"

namespace {

struct TransferCase {
    std::string name;
    KVXComponentPixel before;
    std::function<void(KVXComponentPixel&)> apply;
    KVXComponentPixel after;
};

uint8_t Amount(uint8_t o, uint8_t d) { return BlendTable[o][d]; }

}  // namespace

TEST(Transfers, OnePixelStepByPolicy)
{
    const uint8_t paint[4] = {200, 100, 50, 7};
    const uint8_t white[4] = {255, 255, 255, 0};
    const uint8_t black[4] = {0, 0, 0, 0};
    const KVXComponentPixel p = {10, 20, 30, 26, 5000, 9};
    const TransferCase cases[] = {
        {"cover at 0", p, [&](KVXComponentPixel& q) { KVXCoverTransfer::Apply(q, paint, 0); }, p},
        {"buildup at 0", p, [&](KVXComponentPixel& q) { KVXBuildupTransfer::Apply(q, paint, 0); }, p},
        {"grey at 0", p, [&](KVXComponentPixel& q) { KVXToGreyScaleTransfer::Apply(q, paint, 0); }, p},
        {"raise at 0", p,
         [&](KVXComponentPixel& q) { q.height = KVXHeightTransfer::Apply(q.height, Amount(0, 200)); }, p},
        {"carve at 0", p,
         [&](KVXComponentPixel& q) { q.height = KVXHeightCarve::Apply(q.height, Amount(0, 200)); }, p},
        {"erase at 0", p,
         [&](KVXComponentPixel& q) { q.height = KVXHeightEraser::Apply(q.height, Amount(0, 200)); }, p},
        {"cover at 255", p, [&](KVXComponentPixel& q) { KVXCoverTransfer::Apply(q, paint, 255); },
         {200, 100, 50, 26, 5000, 9}},
        {"cover at 128", p, [&](KVXComponentPixel& q) { KVXCoverTransfer::Apply(q, paint, 128); },
         {105, 60, 40, 26, 5000, 9}},
        {"buildup white", p, [&](KVXComponentPixel& q) { KVXBuildupTransfer::Apply(q, white, 200); }, p},
        {"buildup black on white", {255, 255, 255, 0, 0, 0},
         [&](KVXComponentPixel& q) { KVXBuildupTransfer::Apply(q, black, 255); }, {0, 0, 0, 0, 0, 0}},
        {"null", p, [&](KVXComponentPixel& q) { KVXNULLTransfer::Apply(q, paint, 255); }, p},
        {"grey full", {30, 60, 90, 0, 0, 0},
         [&](KVXComponentPixel& q) { KVXToGreyScaleTransfer::Apply(q, paint, 255); }, {60, 60, 60, 0, 0, 0}},
        {"grey half", {30, 60, 90, 0, 0, 0},
         [&](KVXComponentPixel& q) { KVXToGreyScaleTransfer::Apply(q, paint, 128); }, {45, 60, 75, 0, 0, 0}},
        {"grey of a grey", {70, 70, 70, 0, 0, 0},
         [&](KVXComponentPixel& q) { KVXToGreyScaleTransfer::Apply(q, paint, 99); }, {70, 70, 70, 0, 0, 0}},
        {"colour cycle", p, [&](KVXComponentPixel& q) { KVXColorCycleColorTransfer::Apply(q, paint, 3); },
         {200, 100, 50, 7, 5000, 9}},
        {"drippy type", p, [&](KVXComponentPixel& q) { KVXDrippyPixelTypeTransfer::Apply(q); },
         {10, 20, 30, 26, 5000, 9}},
        {"ink type", p, [&](KVXComponentPixel& q) { KVXInvisibleInkPixelTypeTransfer::Apply(q); },
         {10, 20, 30, 10, 5000, 9}},
        {"plain type", p, [&](KVXComponentPixel& q) { KVXPlainPixelTransfer::Apply(q); },
         {10, 20, 30, 0, 5000, 9}},
        {"raise", p,
         [&](KVXComponentPixel& q) { q.height = KVXHeightTransfer::Apply(q.height, Amount(255, 200)); },
         {10, 20, 30, 26, 5200, 9}},
        {"raise stops at the top", {0, 0, 0, 0, 65500, 0},
         [&](KVXComponentPixel& q) { q.height = KVXHeightTransfer::Apply(q.height, 200); },
         {0, 0, 0, 0, 65535, 0}},
        {"carve", p, [&](KVXComponentPixel& q) { q.height = KVXHeightCarve::Apply(q.height, 200); },
         {10, 20, 30, 26, 4800, 9}},
        {"carve floor", {0, 0, 0, 0, 200, 0},
         [&](KVXComponentPixel& q) { q.height = KVXHeightCarve::Apply(q.height, 200); }, {0, 0, 0, 0, 0, 0}},
        {"eraser at h = 128", p,
         [&](KVXComponentPixel& q) { q.height = KVXHeightEraser::Apply(q.height, Amount(255, 128)); }, p},
        {"eraser at 3072", {0, 0, 0, 0, 3072, 0},
         [&](KVXComponentPixel& q) { q.height = KVXHeightEraser::Apply(q.height, 100); },
         {0, 0, 0, 0, 3072, 0}},
        {"eraser from above", {0, 0, 0, 0, 4000, 0},
         [&](KVXComponentPixel& q) { q.height = KVXHeightEraser::Apply(q.height, 64); },
         {0, 0, 0, 0, 3535, 0}},
        {"eraser from below", {0, 0, 0, 0, 2000, 0},
         [&](KVXComponentPixel& q) { q.height = KVXHeightEraser::Apply(q.height, 64); },
         {0, 0, 0, 0, 2538, 0}},
        {"eraser at 255 doubles to 254", {0, 0, 0, 0, 3172, 0},
         [&](KVXComponentPixel& q) { q.height = KVXHeightEraser::Apply(q.height, 255); },
         {0, 0, 0, 0, 3073, 0}},
    };
    for (const TransferCase& c : cases) {
        KVXComponentPixel q = c.before;
        c.apply(q);
        EXPECT_EQ(0, std::memcmp(&q, &c.after, sizeof q))
            << c.name << ": " << int(q.blue) << " " << int(q.green) << " " << int(q.red) << " "
            << int(q.type) << " " << q.height;
    }
}

TEST(Transfers, HeightRangeWrapsInEightBits)
{
    const uint8_t pair[2] = {200, 44};
    PressureRange range;
    range.Set(pair);
    EXPECT_EQ(100, range.range);
    EXPECT_EQ(44, range.Depth(19));
    EXPECT_EQ(200, range.Depth(0));
    const uint8_t rising[2] = {10, 200};
    EXPECT_EQ(110, range.Set(rising).Depth(10));
}

TEST(Transfers, BuildupTableMatchesTheKnownValues)
{
    const int ws[9] = {0, 1, 2, 32, 64, 128, 192, 254, 255};
    const struct {
        int c;
        uint16_t values[9];
    } rows[] = {
        {0, {65535, 63824, 62158, 28109, 12057, 2218, 408, 79, 77}},
        {64, {65535, 65181, 64830, 55130, 46377, 32819, 23225, 16614, 16525}},
        {128, {65535, 65358, 65182, 60122, 55157, 46422, 39071, 33062, 32973}},
        {192, {65535, 65462, 65390, 63254, 61053, 56879, 52989, 49475, 49421}},
    };
    for (const auto& row : rows)
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(row.values[i], BuildupTable[row.c][ws[i]]) << row.c << " at " << ws[i];
    for (int w = 0; w < 256; w += 17)
        EXPECT_EQ(65535, BuildupTable[255][w]);
    EXPECT_EQ(uint16_t(77 + 257 * 100), BuildupTable[100][255]);
}
