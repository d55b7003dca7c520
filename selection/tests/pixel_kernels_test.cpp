// The picture effects, mirrors and softening on small planes.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "canvas/blend.h"
#include "framework/random.h"
#include "media/bitmap.h"
#include "selection/pixel_kernels.h"

namespace {

struct Plane {
    Plane(int w, int h, uint32_t seed) : top(std::make_unique<KVXPlaneComponentTop>(Pair{w, h}))
    {
        UURandom random{int32_t(seed)};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                *top->PixelAt(x, y) = {uint8_t(random.Range(0, 255)), uint8_t(random.Range(0, 255)),
                                       uint8_t(random.Range(0, 255)), 0,
                                       uint16_t(random.Range(0, 65535)), 0};
    }
    KVXComponentPixel& At(int x, int y) { return *top->PixelAt(x, y); }
    std::vector<uint64_t> Words() const
    {
        std::vector<uint64_t> words;
        for (int y = 0; y < top->height; ++y)
            for (int x = 0; x < top->width; ++x) {
                uint64_t w;
                std::memcpy(&w, top->PixelAt(x, y), 8);
                words.push_back(w);
            }
        return words;
    }
    std::unique_ptr<KVXPlaneComponentTop> top;
};

std::vector<uint8_t> DabMask()
{
    std::vector<uint8_t> mask(kDabMaskSize * kDabMaskSize, 0);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x)
            mask[y * kDabMaskSize + x] = 200;
    return mask;
}

void Effect(int kind, Plane& plane, int strength, uint32_t seed = 7)
{
    UURandom random{int32_t(seed)};
    std::vector<uint8_t> mask = DabMask();
    ApplyPictureEffect(kind, *plane.top, strength, mask.data(), random);
}

// Every effect on planes of many sizes and seeds: no touch outside the plane
// (guard pixels around a sub-view), no change for numbers outside 0-4.
TEST(PixelKernelsTest, EffectsStayInsideThePlaneOfAnySize)
{
    const Pair sizes[] = {{1, 1}, {2, 5}, {5, 2}, {3, 3}, {9, 9}, {17, 19}, {40, 3}};
    for (Pair size : sizes) {
        for (int kind = -1; kind <= 5; ++kind) {
            for (uint32_t seed : {1u, 2u, 3u}) {
                SCOPED_TRACE(testing::Message() << size.x << "x" << size.y << " effect " << kind
                                                << " seed " << seed);
                Plane outer(size.x + 2, size.y + 2, seed);
                std::vector<uint64_t> before = outer.Words();
                KVXPlaneComponent inner;
                inner.MakeSubView(*outer.top, {1, 1, size.x + 1, size.y + 1});
                UURandom random{int32_t(seed)};
                std::vector<uint8_t> mask = DabMask();
                ApplyPictureEffect(kind, inner, int(seed * 170 % 511), mask.data(), random);
                std::vector<uint64_t> after = outer.Words();
                const int w = size.x + 2;
                for (int y = 0; y < size.y + 2; ++y)
                    for (int x = 0; x < w; ++x) {
                        if (x == 0 || y == 0 || x == w - 1 || y == size.y + 1 || kind < 0 ||
                            kind > 4) {
                            ASSERT_EQ(before[y * w + x], after[y * w + x]) << x << "," << y;
                        }
                    }
            }
        }
    }
}

TEST(PixelKernelsTest, EmbossHalvesAFlatAreaAndKeepsMarksAndEdges)
{
    Plane plane(6, 5, 1);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            plane.At(x, y) = {255, 255, 255, 20, 100, 0};
    plane.At(3, 2) = {9, 8, 7, kOutsideOutline, 5, 0};
    Effect(kEffectEmboss, plane, 255);
    EXPECT_EQ(127, plane.At(1, 0).red);
    EXPECT_EQ(127, plane.At(1, 1).blue);
    EXPECT_EQ(255, plane.At(0, 1).green) << "column 0 keeps its colour";
    EXPECT_EQ(255, plane.At(5, 1).green) << "the last column too";
    EXPECT_EQ(255, plane.At(2, 4).red) << "and the last row";
    EXPECT_EQ(0, plane.At(0, 4).type);
    EXPECT_EQ((KVXComponentPixel{9, 8, 7, kOutsideOutline, 5, 0}).ColorWord(),
              plane.At(3, 2).ColorWord());

    Plane narrow(2, 4, 3);
    narrow.At(1, 1).type = 9;
    std::vector<uint64_t> before = narrow.Words();
    Effect(kEffectEmboss, narrow, 255);
    EXPECT_EQ(0, narrow.At(1, 1).type);
    EXPECT_EQ(uint32_t(before[3] & 0xFFFFFF), narrow.At(1, 1).ColorWord() & 0xFFFFFF);
}

TEST(PixelKernelsTest, BlurAndSoftenLeaveThinPlanesAndMarkedPixels)
{
    for (Pair size : {Pair{2, 9}, Pair{9, 2}}) {
        Plane plane(size.x, size.y, 4);
        std::vector<uint64_t> before = plane.Words();
        Effect(kEffectBlur, plane, 255);
        EXPECT_EQ(before, plane.Words());
    }
    Plane plane(5, 5, 5);
    plane.At(2, 2).type = 3;
    uint64_t marked = plane.Words()[12];
    Effect(kEffectBlur, plane, 255);
    EXPECT_EQ(marked, plane.Words()[12]) << "only type 0 is blurred";

    // A flat grey bitmap stays grey under the softening; a thin one is left.
    std::unique_ptr<MMBitmapWithPixels> bitmap(
        MMBitmap::CreateWithPixels({0, 0, 4, 4}, kPixelBGRA, nullptr));
    std::memset(bitmap->pixels, 160, size_t(bitmap->pitch) * 4);
    SoftenPixels3x3(*bitmap);
    int want = std::min(255, BlendTable[160][128] + 8 * BlendTable[160][16]);
    EXPECT_EQ(want, bitmap->PixelAddress(1, 1)[3]);
    EXPECT_EQ(160, bitmap->PixelAddress(0, 0)[0]);
}

TEST(PixelKernelsTest, MosaicTilesAreEightWideWithUntouchedSeamsAndClampedHeights)
{
    Plane plane(20, 19, 6);
    std::vector<uint64_t> before = plane.Words();
    Effect(kEffectMosaic, plane, 255);
    for (int y = 0; y < 19; ++y)
        for (int x : {8, 17})
            EXPECT_EQ(before[y * 20 + x], plane.Words()[y * 20 + x]) << x << "," << y;
    EXPECT_EQ(plane.At(0, 0).ColorWord(), plane.At(7, 7).ColorWord());
    EXPECT_EQ(plane.At(0, 0).height, plane.At(7, 7).height);

    struct Case {
        uint16_t height;
        int strength;
        uint16_t want;
    } cases[] = {{65500, 510, 65535}, {40, 0, 0}, {1000, 255, 1000}, {1000, 510, 1765}};
    for (const Case& c : cases) {
        Plane dark(4, 4, 8);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                dark.At(x, y) = {0, 0, 0, 0, c.height, 0};
        Effect(kEffectMosaic, dark, c.strength);
        EXPECT_EQ(c.want, dark.At(2, 2).height) << c.height << " at " << c.strength;
    }
}

TEST(PixelKernelsTest, DabsPaintAveragesOverWhiteAndClampHeights)
{
    Plane plane(12, 12, 9);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            plane.At(x, y) = {0, 0, 0, 4, 65000, 0};
    Effect(kEffectDabs, plane, 510);
    int dabbed = 0;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const KVXComponentPixel& p = plane.At(x, y);
            if (p.type == 0) {
                ++dabbed;
                EXPECT_LT(p.blue, 255);
                EXPECT_GE(p.height, 65000) << "never wraps";
            } else {
                EXPECT_EQ(255, p.blue) << "undabbed pixels turn white";
            }
        }
    }
    EXPECT_GT(dabbed, 0);
    Plane low(12, 12, 9);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            low.At(x, y).height = 10;
    Effect(kEffectDabs, low, 0);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_LE(low.At(x, y).height, 10);
}

TEST(PixelKernelsTest, ScatterMovesPixelsAtMostFourAwayAndKeepsHeights)
{
    Plane plane(12, 6, 10);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 12; ++x)
            plane.At(x, y) = {uint8_t(x), uint8_t(y), 0, 0, uint16_t(x * 100 + y), 0};
    Effect(kEffectScatter, plane, 255);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 12; ++x) {
            const KVXComponentPixel& p = plane.At(x, y);
            EXPECT_EQ(x * 100 + y, p.height);
            EXPECT_LE(x - 4, int(p.blue)) << "came from at most 4 to the left";
            EXPECT_GE(x + 3, int(p.blue)) << "or 3 to the right";
        }
    }
}

TEST(PixelKernelsTest, MirrorsSwapAndKeepTheMiddleRow)
{
    Plane plane(5, 3, 11);
    std::vector<uint64_t> before = plane.Words();
    MirrorComponentVertical(*plane.top);
    std::vector<uint64_t> after = plane.Words();
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(before[5 + x], after[5 + x]);
        EXPECT_EQ(before[x], after[10 + x]);
    }
    MirrorComponentHorizontal(*plane.top);
    EXPECT_EQ(before[0], plane.Words()[14]);

    std::unique_ptr<MMBitmapWithPixels> bitmap(
        MMBitmap::CreateWithPixels({0, 0, 3, 3}, kPixelBGRA, nullptr));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            std::memset(bitmap->PixelAddress(x, y), y * 3 + x, 4);
    ASSERT_TRUE(MirrorBitmap32Vertical(*bitmap));
    MirrorBitmap32Horizontal(*bitmap);
    EXPECT_EQ(8, bitmap->PixelAddress(0, 0)[0]);
    EXPECT_EQ(4, bitmap->PixelAddress(1, 1)[3]);
    EXPECT_EQ(3, bitmap->PixelAddress(2, 1)[2]);
}

}  // namespace
