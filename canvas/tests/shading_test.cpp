// The slope light, the shading render with its shadows, and the shadows
// recomputed after paint is added or removed.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "canvas/blend.h"
#include "canvas/draw_method.h"
#include "canvas/shading.h"
#include "canvas/slope_light.h"
#include "canvas/work_surface.h"
#include "canvas_test_support.h"

TEST(SlopeLight, Values)
{
    struct Case {
        int dx, dy, light;
    } cases[] = {
        {0, 0, 216},    {16, 0, 234},     {-16, 0, 186},   {32, 32, 255},  {-127, -127, 163},
        {40, 0, 237},   {-128, 0, 0},     {-500, 9, 0},    {128, 5, 0},    {0, 99999, 0},
    };
    for (const Case& c : cases) {
        int expected = c.light;
        if (expected == 0)  // beyond the ends: as the end itself
            expected = LookupSlopeLight(c.dx < -127 ? -127 : (c.dx > 127 ? 127 : c.dx),
                                        c.dy < -127 ? -127 : (c.dy > 127 ? 127 : c.dy));
        EXPECT_EQ(expected, LookupSlopeLight(c.dx, c.dy)) << c.dx << ", " << c.dy;
    }
    EXPECT_EQ(LookupSlopeLight(-127, 3), LookupSlopeLight(-128, 3));
    EXPECT_EQ(LookupSlopeLight(3, 127), LookupSlopeLight(3, 128));
    EXPECT_EQ(216, SlopeLightTable[0][0]);
    EXPECT_EQ(186, SlopeLightTable[2][16 * 128]);
    for (int q = 0; q < 4; ++q)
        for (int i = 0; i < 128 * 128; ++i)
            ASSERT_TRUE(SlopeLightTable[q][i] >= 163 && SlopeLightTable[q][i] <= 255);
    // The half table the row loops read holds every light of the whole one.
    for (int dy = -127; dy <= 127; ++dy)
        for (int dx = -127; dx <= 127; ++dx)
            ASSERT_EQ(LookupSlopeLight(dx, dy),
                      slope_detail::gFoldedLight[slope_detail::FoldedLightIndex(dx + 127, dy + 127)])
                << dx << ", " << dy;
}

namespace {

class ShadingTest : public ::testing::Test {
protected:
    ShadingTest() : plane({8, 8}) { Paint(plane, Bgr(100, 150, 200), 3072); }
    void Render(const MMBitmap& target, bool zoomed = false)
    {
        method.Render(plane, target, zoomed);
    }
    KVXPlaneComponentTop plane;
    KVXDrawMethodPlain method;
};

// One view of a plane and of its reference copy, each with its own target of
// the area's size and a guard round it: the fast render against the walk of
// the pixel step.
struct TwinRender {
    TwinRender(KVXPlaneComponentTop& plane, KVXPlaneComponentTop& reference, Pair origin,
               Pair size, const Box& area)
        : fast(MakeTarget(area.right + 2, area.bottom + 2)),
          slow(MakeTarget(area.right + 2, area.bottom + 2))
    {
        view.MakeSubView(plane, {origin.x, origin.y, size.x, size.y});
        referenceView.MakeSubView(reference, {origin.x, origin.y, size.x, size.y});
        fast->SubBitmap(fastPart, area);
        slow->SubBitmap(slowPart, area);
    }
    KVXPlaneComponent view;
    KVXPlaneComponent referenceView;
    std::unique_ptr<MMBitmapWithPixels> fast;
    std::unique_ptr<MMBitmapWithPixels> slow;
    MMBitmap fastPart;
    MMBitmap slowPart;
};

}  // namespace

TEST_F(ShadingTest, FlatPaintKeepsItsColourAndTheLastColumnAndRowAreLeft)
{
    auto target = MakeTarget(8, 8);
    Render(*target);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(Bgr(100, 150, 200), TargetWord(*target, x, y)) << x << ", " << y;
    EXPECT_EQ(0xEEEEEEEEu, TargetWord(*target, 7, 3));
    EXPECT_EQ(0xEEEEEEEEu, TargetWord(*target, 3, 7));
    EXPECT_EQ(3072, plane.PixelAt(3, 3)->shadow);
}

TEST_F(ShadingTest, ARaisedRightNeighbourLightensAndAPixelCastsItsShadow)
{
    plane.PixelAt(6, 1)->height = 3072 + 40;
    plane.PixelAt(2, 2)->height = 3072 + 100;
    auto target = MakeTarget(8, 8);
    Render(*target);
    // Toward white by BlendTable[137][153] = 82: c -> T[c][173] + 82.
    EXPECT_EQ(Bgr(BlendTable[100][173] + 82, BlendTable[150][173] + 82, BlendTable[200][173] + 82),
              TargetWord(*target, 5, 1));
    EXPECT_EQ(Bgr(150, 184, 218), TargetWord(*target, 5, 1));
    // The shadow: 68, 36, 4 above the paint, then nothing.
    EXPECT_EQ(3072 + 68, plane.PixelAt(3, 3)->shadow);
    EXPECT_EQ(3072 + 36, plane.PixelAt(4, 4)->shadow);
    EXPECT_EQ(3072 + 4, plane.PixelAt(5, 5)->shadow);
    EXPECT_EQ(3072, plane.PixelAt(6, 6)->shadow);
    // Darkened by the depth of the shadow: w = 216 - 36 = 180, g = 193.
    EXPECT_EQ(Bgr(BlendTable[100][193], BlendTable[150][193], BlendTable[200][193]),
              TargetWord(*target, 4, 4));
    // 216 - 68 is darker than the darkest light, which holds.
    uint8_t darkest = uint8_t(255 - 53 * 92 / 53);
    EXPECT_EQ(Bgr(BlendTable[100][darkest], BlendTable[150][darkest], BlendTable[200][darkest]),
              TargetWord(*target, 3, 3));
    EXPECT_EQ(Bgr(100, 150, 200), TargetWord(*target, 6, 6));
}

TEST_F(ShadingTest, ZoomedPixelsBecomeTwoByTwoInsideAnOddTarget)
{
    plane.PixelAt(1, 0)->red = 7;
    // A 5 x 5 target inside guard pixels; its box starts at the visual's corner.
    auto whole = MakeTarget(7, 7);
    MMBitmap target;
    whole->SubBitmap(target, {0, 0, 5, 5});
    Render(target, true);
    EXPECT_EQ(Bgr(100, 150, 200), TargetWord(target, 0, 0));
    EXPECT_EQ(Bgr(100, 150, 7), TargetWord(target, 2, 0));
    EXPECT_EQ(Bgr(100, 150, 7), TargetWord(target, 3, 1));
    EXPECT_EQ(Bgr(100, 150, 200), TargetWord(target, 4, 4));
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(0xEEEEEEEEu, TargetWord(*whole, 5, i)) << "guard column, row " << i;
        EXPECT_EQ(0xEEEEEEEEu, TargetWord(*whole, i, 5)) << "guard row, column " << i;
    }
}

TEST_F(ShadingTest, AddedPaintGrowsTheDirtyBoxToItsShadow)
{
    auto target = MakeTarget(8, 8);
    Render(*target);
    plane.PixelAt(2, 2)->height = 3072 + 100;
    plane.SetDirtyBox({2, 2, 3, 3});
    plane.SetDirtyFlag(1);
    KVXDrawMethodAddHeight::RecomputeShading(plane);
    EXPECT_EQ(3072 + 68, plane.PixelAt(3, 3)->shadow);
    EXPECT_EQ((Box{2, 2, 8, 8}), plane.DirtyBox());
    EXPECT_EQ(0, plane.DirtyFlag());
}

TEST_F(ShadingTest, RemovedPaintRepaintsTheShadowItCast)
{
    WorkSurface work(Box{0, 0, 8, 8});
    ASSERT_TRUE(work.EnsureSurface());
    KVXDrawMethodRemoveHeight remove;
    plane.PixelAt(1, 1)->height = 3072 + 128;
    auto target = MakeTarget(8, 8);
    remove.Attach(&work, plane);
    remove.Render(plane, *target, false);
    EXPECT_EQ(3072 + 96, plane.PixelAt(2, 2)->shadow);
    // The raised pixel is carved away: the box grows past its old shadow.
    plane.PixelAt(1, 1)->height = 3072;
    plane.SetDirtyBox({1, 1, 4, 4});
    remove.Prepare(plane);
    EXPECT_EQ((Box{1, 1, 4 + 5, 4 + 5}), plane.DirtyBox());
    EXPECT_EQ(0, plane.DirtyFlag());
    remove.Detach(plane);
    EXPECT_EQ(0, work.busy);
}

TEST_F(ShadingTest, StaticMethodsShowThePictureOfTheirAttach)
{
    WorkSurface work(Box{0, 0, 8, 8});
    ASSERT_TRUE(work.EnsureSurface());
    KVXDrawMethodStatic still;
    still.Attach(&work, plane);
    EXPECT_EQ(1, work.busy);
    plane.PixelAt(2, 2)->red = 7;
    auto target = MakeTarget(8, 8);
    still.Render(plane, *target, false);
    EXPECT_EQ(Bgr(100, 150, 200), TargetWord(*target, 2, 2)) << "the picture of the attach";
    still.UpdateRect(plane, 2, 2, 3, 3);
    still.Render(plane, *target, false);
    EXPECT_EQ(Bgr(100, 150, 7), TargetWord(*target, 2, 2));
    still.Detach(plane);

    KVXDrawMethodUpdateableStatic updating;
    updating.Attach(&work, plane);
    plane.PixelAt(3, 3)->red = 9;
    plane.SetDirtyBox({3, 3, 4, 4});
    plane.SetDirtyFlag(1);
    updating.Render(plane, *target, false);
    EXPECT_EQ(Bgr(100, 150, 9), TargetWord(*target, 3, 3));
    EXPECT_TRUE(plane.DirtyBox().IsEmpty());
    updating.Detach(plane);
}

TEST_F(ShadingTest, AZoomedAreaFromAnOddColumnStartsHalfWayIntoItsPixel)
{
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            plane.PixelAt(x, y)->red = uint8_t(10 * x + y);
    auto whole = MakeTarget(8, 8);
    MMBitmap target;
    whole->SubBitmap(target, {1, 1, 6, 6});  // view pixel (0, 0) covers (0, 0) to (2, 2)
    Render(target, true);
    auto red = [&](int x, int y) { return (TargetWord(*whole, x, y) >> 16) & 0xFF; };
    EXPECT_EQ(0u, red(1, 1));
    EXPECT_EQ(10u, red(2, 1));
    EXPECT_EQ(10u, red(3, 1));
    EXPECT_EQ(20u, red(4, 1));
    EXPECT_EQ(20u, red(5, 1));
    EXPECT_EQ(1u, red(1, 2));
    EXPECT_EQ(1u, red(1, 3));
    EXPECT_EQ(22u, red(5, 5));
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(0xEEEEEEEEu, TargetWord(*whole, 6, i));
        EXPECT_EQ(0xEEEEEEEEu, TargetWord(*whole, i, 6));
        EXPECT_EQ(0xEEEEEEEEu, TargetWord(*whole, 0, i));
    }
}

// The render takes whole rows at a time; it must give the bytes (colours and
// shadows) of the step that lights one pixel at a time, for every slope,
// shadow depth and colour, unzoomed and zoomed, from any corner.
TEST(ShadingRows, GiveTheBytesOfThePixelStep)
{
    uint32_t seed = 7;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    const int kWidth = 301;
    const int kHeight = 41;
    KVXPlaneComponentTop plane({kWidth, kHeight});
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            KVXComponentPixel& p = *plane.PixelAt(x, y);
            p.SetColorWord(next());
            // Steps of up to 160 either way, now and then from the ends of the range.
            uint32_t r = next();
            p.height = uint16_t(r % 7 == 0 ? (r & 1 ? 65535 : 0) : 3000 + int(r % 321) - 160);
            p.shadow = uint16_t(next() % 3 == 0 ? p.height + next() % 120 : next() % 4000);
        }
    }
    KVXPlaneComponentTop reference({kWidth, kHeight});
    struct Case {
        Box area;  // in view pixels of the target (visual coordinates)
        Pair origin;
        bool zoomed;
    } cases[] = {
        {{0, 0, kWidth, kHeight}, {0, 0}, false},
        {{3, 5, 280, 40}, {3, 5}, false},
        {{0, 0, 2 * kWidth, 2 * kHeight}, {0, 0}, true},
        {{1, 3, 2 * kWidth - 1, 2 * kHeight - 2}, {7, 2}, true},
        {{2, 1, 17, 30}, {250, 3}, true},
    };
    // With 128-bit lanes, and with 256- and 512-bit ones where the processor has them.
    for (int32_t lanes : {128, 256, 512}) {
        UseShadeLanes(lanes);
        for (const Case& c : cases) {
            plane.CopyPixelsTo(reference);
            TwinRender twin(plane, reference, c.origin, {kWidth, kHeight}, c.area);
            const auto& fast = twin.fast;
            const auto& slow = twin.slow;
            KVXDrawMethodPlain().Render(twin.view, twin.fastPart, c.zoomed);
            ShadeWalk(twin.referenceView, twin.slowPart, c.zoomed,
                      [](KVXComponentPixel* p, KVXComponentPixel* below, int32_t, int32_t) {
                          return ShadePixel(p, below);
                      });
            for (int y = 0; y < c.area.bottom + 2; ++y)
                for (int x = 0; x < c.area.right + 2; ++x)
                    ASSERT_EQ(TargetWord(*slow, x, y), TargetWord(*fast, x, y))
                        << "target " << x << ", " << y << " of case " << c.area.left << ", "
                        << c.area.top << (c.zoomed ? " zoomed" : "");
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x)
                    ASSERT_EQ(0, std::memcmp(reference.PixelAt(x, y), plane.PixelAt(x, y), 8))
                        << "pixel " << x << ", " << y;
        }
    }
    UseShadeLanes(512);
}

// Every pair of slopes (and the clamped ones beyond), in the sun and in
// shadows of every depth up to the darkest light, through each lane width.
TEST(ShadingRows, GiveTheTablesLightForEverySlopeAndShadow)
{
    // Steps 0, 1, -1, 2, -2, ... 127, -127, then two beyond the clamp: every
    // slope to the right once, the heights staying near the start.
    std::vector<int> steps = {0};
    for (int d = 1; d <= 127; ++d) {
        steps.push_back(d);
        steps.push_back(-d);
    }
    steps.push_back(300);
    steps.push_back(-300);
    const int kWidth = int(steps.size()) + 1;
    KVXPlaneComponentTop plane({kWidth, 2});
    KVXPlaneComponentTop reference({kWidth, 2});
    std::vector<uint32_t> fast(kWidth);
    for (int32_t lanes : {128, 256, 512}) {
        int32_t used = UseShadeLanes(lanes);
        for (int dy = -130; dy <= 130; ++dy) {
            int depthStep = dy & 1 ? 3 : 0;  // shadows of 0 to about 770 deep
            int height = 30000;
            for (int x = 0; x < kWidth; ++x) {
                KVXComponentPixel& p = *plane.PixelAt(x, 0);
                KVXComponentPixel& q = *plane.PixelAt(x, 1);
                p.SetColorWord(0x7F000000u | uint32_t(x * 2654435761u >> 8));
                p.height = uint16_t(height);
                p.shadow = uint16_t(height + depthStep * x);
                q.SetColorWord(0x00406080u);
                q.height = uint16_t(height + dy);
                q.shadow = 0;
                if (x + 1 < kWidth)
                    height += steps[x];
            }
            plane.CopyPixelsTo(reference);
            ShadeRow(plane.PixelAt(0, 0), plane.PixelAt(0, 1), kWidth - 1, fast.data());
            for (int x = 0; x < kWidth - 1; ++x) {
                uint32_t slow = ShadePixel(reference.PixelAt(x, 0), reference.PixelAt(x, 1));
                ASSERT_EQ(slow, fast[x]) << "dx " << steps[x] << ", dy " << dy << ", lanes " << used;
            }
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < kWidth; ++x)
                    ASSERT_EQ(0, std::memcmp(reference.PixelAt(x, y), plane.PixelAt(x, y), 8))
                        << "pixel " << x << ", " << y << ", dy " << dy << ", lanes " << used;
        }
    }
    UseShadeLanes(512);
}

// A large view renders in bands of rows on several threads, the rows that
// shadows from the bands above reach mended afterwards: the same bytes as the
// step that lights one pixel at a time, in the target and in the plane, for
// 1x and zoomed views from any corner, with peaks whose shadows cross whole
// bands, rendered again over unchanged shadows and again after paint changed
// across many rows.
namespace {

// A plane large enough to render on several threads: mostly gentle slopes,
// now and then a tall peak whose shadow runs far, seeded.
const int kLargeWidth = 421;
const int kLargeHeight = 263;

void PaintLargePlane(KVXPlaneComponentTop& plane)
{
    uint32_t seed = 11;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    for (int y = 0; y < kLargeHeight; ++y) {
        for (int x = 0; x < kLargeWidth; ++x) {
            KVXComponentPixel& p = *plane.PixelAt(x, y);
            p.SetColorWord(next());
            uint32_t r = next();
            p.height = uint16_t(r % 97 == 0 ? 20000 + r % 30000 : 3000 + int(r % 321) - 160);
            p.shadow = uint16_t(next() % 3 == 0 ? p.height + next() % 120 : next() % 4000);
        }
    }
}

// Areas of the target (visual coordinates) and the view's place in the
// plane: whole, to the right and bottom edges, zoomed from odd columns.
struct LargeCase {
    Box area;
    Pair origin;
    bool zoomed;
};
const LargeCase kLargeCases[] = {
    {{0, 0, kLargeWidth, kLargeHeight}, {0, 0}, false},
    {{37, 29, kLargeWidth, kLargeHeight}, {37, 29}, false},
    {{0, 0, 2 * kLargeWidth, 2 * kLargeHeight}, {0, 0}, true},
    {{1, 3, 2 * kLargeWidth - 1, 2 * kLargeHeight - 2}, {7, 2}, true},
    {{3, 1, 401, 361}, {220, 80}, true},
};

// The first target row whose bytes differ, or -1.
int DifferingRow(const MMBitmap& a, const MMBitmap& b, int width, int height)
{
    for (int y = 0; y < height; ++y)
        if (std::memcmp(a.PixelAddress(0, y), b.PixelAddress(0, y), size_t(width) * 4) != 0)
            return y;
    return -1;
}

}  // namespace

TEST(ShadingRows, SplitOverThreadsGiveTheBytesOfThePixelStep)
{
    const int kWidth = kLargeWidth;
    const int kHeight = kLargeHeight;
    KVXPlaneComponentTop plane({kWidth, kHeight});
    PaintLargePlane(plane);
    KVXPlaneComponentTop reference({kWidth, kHeight});
    KVXPlaneComponentTop start({kWidth, kHeight});
    plane.CopyPixelsTo(start);
    const auto& cases = kLargeCases;
    auto pixelStep = [](KVXComponentPixel* p, KVXComponentPixel* below, int32_t, int32_t) {
        return ShadePixel(p, below);
    };
    for (int32_t lanes : {128, 256, 512}) {
        UseShadeLanes(lanes);
        for (int32_t threads : {2, 3, 5}) {
            ASSERT_EQ(threads, UseShadeThreads(threads));
            for (const LargeCase& c : cases) {
                start.CopyPixelsTo(plane);
                start.CopyPixelsTo(reference);
                TwinRender twin(plane, reference, c.origin, {kWidth, kHeight}, c.area);
                const auto& fast = twin.fast;
                const auto& slow = twin.slow;
                for (int render = 0; render < 3; ++render) {
                    if (render == 2) {
                        // Raise a band of paint across the top of many rows.
                        for (int y = 90; y < 150; ++y) {
                            for (int x = 40; x < 300; ++x) {
                                plane.PixelAt(x, y)->height += uint16_t(x % 50 * 40);
                                reference.PixelAt(x, y)->height += uint16_t(x % 50 * 40);
                            }
                        }
                    }
                    KVXDrawMethodPlain().Render(twin.view, twin.fastPart, c.zoomed);
                    ShadeWalk(twin.referenceView, twin.slowPart, c.zoomed, pixelStep);
                    std::string where = "lanes " + std::to_string(lanes) + ", threads " +
                                        std::to_string(threads) + ", area " +
                                        std::to_string(c.area.left) + ", " +
                                        std::to_string(c.area.top) + ", render " +
                                        std::to_string(render);
                    int y = DifferingRow(*slow, *fast, c.area.right + 2, c.area.bottom + 2);
                    for (int x = 0; y >= 0 && x < c.area.right + 2; ++x)
                        ASSERT_EQ(TargetWord(*slow, x, y), TargetWord(*fast, x, y))
                            << "target " << x << ", " << y << ", " << where;
                    for (int y = 0; y < kHeight; ++y)
                        for (int x = 0; x < kWidth; ++x)
                            ASSERT_EQ(0, std::memcmp(reference.PixelAt(x, y), plane.PixelAt(x, y), 8))
                                << "pixel " << x << ", " << y << ", " << where;
                }
            }
        }
    }
    UseShadeLanes(512);
    UseShadeThreads(0);
}

// The method that keeps every pixel's height and shadow of the last render
// keeps the same on several threads as on one (the top row's shadows as they
// were before their reset), and renders the same bytes.
TEST(ShadingRows, KeptHeightsSplitOverThreadsAreThoseOfOneThread)
{
    KVXPlaneComponentTop start({kLargeWidth, kLargeHeight});
    PaintLargePlane(start);
    for (const LargeCase& c : kLargeCases) {
        struct Run {
            KVXPlaneComponentTop plane{Pair{kLargeWidth, kLargeHeight}};
            WorkSurface work{Box{0, 0, kLargeWidth, kLargeHeight}};
            KVXDrawMethodRemoveHeight method;
            std::unique_ptr<MMBitmapWithPixels> target;
        } runs[2];
        for (Run& run : runs) {
            ASSERT_TRUE(run.work.EnsureSurface());
            start.CopyPixelsTo(run.plane);
            run.method.Attach(&run.work, run.plane);
        }
        // A render, paint carved away across many rows, a render again.
        for (int render = 0; render < 2; ++render) {
            for (int32_t i = 0; i < 2; ++i) {
                Run& run = runs[i];
                if (render == 1) {
                    for (int y = 60; y < 200; ++y)
                        for (int x = 10; x < 400; x += 3)
                            run.plane.PixelAt(x, y)->height -= uint16_t(y % 7 * 30);
                }
                KVXPlaneComponent view;
                view.MakeSubView(run.plane, {c.origin.x, c.origin.y, kLargeWidth, kLargeHeight});
                run.target = MakeTarget(c.area.right + 2, c.area.bottom + 2);
                MMBitmap part;
                run.target->SubBitmap(part, c.area);
                UseShadeThreads(i == 0 ? 1 : 3);
                run.method.Render(view, part, c.zoomed);
            }
            UseShadeThreads(0);
            std::string where = "area " + std::to_string(c.area.left) + ", " +
                                std::to_string(c.area.top) + (c.zoomed ? " zoomed" : "") +
                                ", render " + std::to_string(render);
            EXPECT_EQ(-1, DifferingRow(*runs[0].target, *runs[1].target, c.area.right + 2,
                                       c.area.bottom + 2))
                << where;
            KVXBitmap<uint32_t> one = runs[0].work.PlaneOf<uint32_t>();
            KVXBitmap<uint32_t> several = runs[1].work.PlaneOf<uint32_t>();
            for (int y = 0; y < kLargeHeight; ++y) {
                ASSERT_EQ(0, std::memcmp(one.Row(y), several.Row(y), kLargeWidth * 4))
                    << "kept row " << y << ", " << where;
                ASSERT_EQ(0, std::memcmp(runs[0].plane.Row(y), runs[1].plane.Row(y),
                                         kLargeWidth * 8))
                    << "plane row " << y << ", " << where;
            }
        }
        for (Run& run : runs)
            run.method.Detach(run.plane);
    }
}
