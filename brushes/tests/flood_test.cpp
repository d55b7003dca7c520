// Flood fills on small canvases: the region, its soft rim, the tests that
// decide what is taken, heights, patterns, and regions too ragged for the
// seed queue.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "brush_test_support.h"
#include "brushes/flood_brush.h"
#include "canvas/blend.h"
#include "framework/random.h"
#include "canvas_test_support.h"
#include "media/bitmap_picture_collection.h"

namespace {

const uint8_t kNoHeights[2] = {0, 0};

class FloodTest : public ::testing::Test {
protected:
    KVXBrushFlood* Make(KVXPlaneComponent& canvas)
    {
        return new KVXBrushFlood(DiameterParams(255, 255), kNoSaturation, kNibOpacity, kNoHeights,
                                 &canvas, &nib, nullptr, red, nullptr, &mode, &heightValue);
    }
    void Click(BrushBase& brush, double x, double y)
    {
        BrushDab s = Sample(x, y, 0);
        brush.BeginStroke(&s);
    }
    static void Set(KVXPlaneComponent& canvas, int x, int y, uint8_t grey, uint8_t type = 0)
    {
        KVXComponentPixel* p = canvas.PixelAt(x, y);
        p->blue = p->green = p->red = grey;
        p->type = type;
    }

    BytePlane nib{1, 1, 255};
    uint8_t red[4] = {0, 0, 255, 0};
    int16_t mode = KVXBrushFlood::kColorTestMode;
    int16_t heightValue = 255;
};

}  // namespace

TEST_F(FloodTest, BlackRingOnWhite)
{
    BlankCanvas canvas(20, 20);
    for (int i = 4; i <= 15; ++i) {
        Set(canvas, i, 4, 0);
        Set(canvas, i, 15, 0);
        Set(canvas, 4, i, 0);
        Set(canvas, 15, i, 0);
    }
    Set(canvas, 4, 8, 200);                  // a grey rim pixel
    Set(canvas, 9, 9, 255, kPixelLocked);    // blocks, never painted
    Set(canvas, 11, 11, 255, kPixelDrippy);  // other paint in the box
    KVXBrushFlood* brush = Make(canvas);
    Click(*brush, 7.5, 7.9);

    EXPECT_EQ(Bgr(0, 0, 255), canvas.ColorAt(10, 10) & 0xFFFFFF);
    EXPECT_EQ(0, canvas.PixelAt(10, 10)->type);
    EXPECT_EQ(Bgr(0, 0, 255), canvas.ColorAt(5, 14) & 0xFFFFFF);
    EXPECT_EQ(Bgr(0, 0, 0), canvas.ColorAt(4, 4) & 0xFFFFFF) << "outline kept";
    EXPECT_EQ(Bgr(0, 0, 0), canvas.ColorAt(15, 10) & 0xFFFFFF);
    // The rim pixel takes a coat in proportion to its brightness.
    EXPECT_EQ(Bgr(43, 43, 243), canvas.ColorAt(4, 8) & 0xFFFFFF);
    EXPECT_EQ(Bgr(255, 255, 255), canvas.ColorAt(2, 2) & 0xFFFFFF);
    EXPECT_EQ(Bgr(255, 255, 255), canvas.ColorAt(3, 8) & 0xFFFFFF);
    EXPECT_EQ(kPixelLocked, canvas.PixelAt(9, 9)->type);
    EXPECT_EQ(Bgr(255, 255, 255), canvas.ColorAt(9, 9) & 0xFFFFFF);
    EXPECT_EQ(kPixelDrippy, canvas.PixelAt(11, 11)->type);
    EXPECT_EQ(Bgr(255, 255, 255), canvas.ColorAt(11, 11) & 0xFFFFFF);
    EXPECT_EQ((Box{3, 4, 17, 16}), canvas.DirtyBox());  // the spans end on the ring
    EXPECT_EQ(2, canvas.changeState.value);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(0, *brush->Marks().PixelAt(x, y)) << "no mark is left behind";
    delete brush;
}

TEST_F(FloodTest, ColourAndHeightTests)
{
    BlankCanvas row(5, 1);
    Set(row, 1, 0, 255 - 32);
    Set(row, 2, 0, 255 - 33);
    KVXBrushFlood* brush = Make(row);
    Click(*brush, 0, 0);
    EXPECT_EQ(Bgr(0, 0, 255), row.ColorAt(1, 0) & 0xFFFFFF) << "32 apart is taken";
    EXPECT_NE(Bgr(0, 0, 255), row.ColorAt(2, 0) & 0xFFFFFF) << "33 apart is not";
    EXPECT_EQ(Bgr(255, 255, 255), row.ColorAt(3, 0) & 0xFFFFFF);
    delete brush;

    BlankCanvas heights(6, 1);
    const uint16_t h[6] = {3072, 100, 3072 + 32, 3072 + 33, 3072, 3072};
    for (int x = 0; x < 6; ++x) {
        heights.PixelAt(x, 0)->height = h[x];
        Set(heights, x, 0, uint8_t(40 * x));  // colours do not count
    }
    mode = 0;
    heightValue = 510;
    brush = Make(heights);
    Click(*brush, 0, 0);
    EXPECT_EQ(Bgr(0, 0, 255), heights.ColorAt(1, 0) & 0xFFFFFF) << "lower is taken";
    EXPECT_EQ(Bgr(0, 0, 255), heights.ColorAt(2, 0) & 0xFFFFFF);
    EXPECT_NE(Bgr(0, 0, 255), heights.ColorAt(3, 0) & 0xFFFFFF);
    EXPECT_EQ(3072 + 255, heights.PixelAt(0, 0)->height) << "510 raises a full coat by 255";
    EXPECT_EQ(100 + 255, heights.PixelAt(1, 0)->height);
    EXPECT_EQ(Bgr(200, 200, 200), heights.ColorAt(5, 0) & 0xFFFFFF);
    delete brush;

    heightValue = 255;
    BlankCanvas flat(3, 1);
    brush = Make(flat);
    Click(*brush, 1, 0);
    EXPECT_EQ(3072, flat.PixelAt(1, 0)->height) << "255 leaves heights alone";
    EXPECT_EQ(Bgr(0, 0, 255), flat.ColorAt(2, 0) & 0xFFFFFF) << "up to the last column";
    EXPECT_EQ(Bgr(0, 0, 255), flat.ColorAt(0, 0) & 0xFFFFFF);
    delete brush;
}

// Dragging or lifting the pen after the press pours nothing more: the
// other side of the wall stays blank and the rim keeps its single coat.
TEST_F(FloodTest, PouredOncePerPress)
{
    BlankCanvas canvas(24, 10);
    for (int y = 0; y < 10; ++y)
        Set(canvas, 12, y, 0);
    Set(canvas, 11, 5, 200, 0);
    Set(canvas, 12, 5, 200, 0);  // a grey gap in the wall
    Set(canvas, 13, 5, 0);
    std::unique_ptr<KVXBrushFlood> brush(Make(canvas));
    BrushDab press = Sample(3, 3, 0);
    BrushDab drag = Sample(20, 3, 0);
    brush->BeginStroke(&press);
    uint32_t rim = canvas.ColorAt(12, 5) & 0xFFFFFF;
    brush->ContinueStroke(&press);
    brush->ContinueStroke(&drag);
    brush->EndStroke(&drag);
    EXPECT_EQ(Bgr(0, 0, 255), canvas.ColorAt(3, 3) & 0xFFFFFF);
    EXPECT_EQ(rim, canvas.ColorAt(12, 5) & 0xFFFFFF);
    EXPECT_EQ(Bgr(255, 255, 255), canvas.ColorAt(20, 3) & 0xFFFFFF);
    EXPECT_EQ(2, canvas.changeState.value);
}

TEST_F(FloodTest, ClickOutsideDoesNothing)
{
    BlankCanvas canvas(4, 4);
    KVXBrushFlood* brush = Make(canvas);
    Click(*brush, -1, 2);
    Click(*brush, 2, 4);
    EXPECT_EQ(Bgr(255, 255, 255), canvas.ColorAt(2, 2) & 0xFFFFFF);
    EXPECT_EQ(0, canvas.changeState.value);
    delete brush;
}

TEST_F(FloodTest, RegionNeedingOverAThousandSeedsIsFilledWhole)
{
    // Rows above and below the seed row hold 1500 separate runs each.
    BlankCanvas comb(3000, 3);
    for (int x = 1; x < 3000; x += 2) {
        Set(comb, x, 0, 0);
        Set(comb, x, 2, 0);
    }
    KVXBrushFlood* brush = Make(comb);
    Click(*brush, 0, 1);
    int unfilled = 0;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3000; ++x)
            if ((y == 1 || x % 2 == 0) && (comb.ColorAt(x, y) & 0xFFFFFF) != Bgr(0, 0, 255))
                ++unfilled;
    EXPECT_EQ(0, unfilled);
    EXPECT_EQ(Bgr(0, 0, 0), comb.ColorAt(2999, 2) & 0xFFFFFF);
    delete brush;
}

TEST_F(FloodTest, PatternFill)
{
    MMBitmapPictureCollection pictures{2, 0x4300};
    auto bits = std::unique_ptr<MMBitmapWithPixels>(
        MMBitmap::CreateWithPixels({0, 0, 2, 1}, kPixelIndexed, nullptr));
    bits->pixels[0] = 0;
    bits->pixels[1] = 255;
    MMColorTable greys;
    for (int i = 0; i < 256; ++i)
        greys.entries[i] = RGBQUAD{uint8_t(i), uint8_t(i), uint8_t(i), 0};
    MMPictureReference picture;
    pictures.BindPicture(picture, 0, *bits, &greys);
    ASSERT_FALSE(picture.IsEmpty());
    int32_t patternId = picture.Id();

    BlankCanvas canvas(6, 2);
    heightValue = 510;
    auto* brush = new KVXBrushPatternFlood(DiameterParams(255, 255), kNoSaturation, kNibOpacity,
                                           kNoHeights, &canvas, &nib, nullptr, red, nullptr, &mode,
                                           &heightValue, &patternId);
    Click(*brush, 2, 1);
    EXPECT_EQ(Bgr(255, 255, 255), canvas.ColorAt(0, 0) & 0xFFFFFF) << "pattern 0 keeps the paint";
    EXPECT_EQ(Bgr(0, 0, 255), canvas.ColorAt(1, 0) & 0xFFFFFF) << "pattern 255 takes the colour";
    EXPECT_EQ(Bgr(0, 0, 255), canvas.ColorAt(5, 1) & 0xFFFFFF);
    EXPECT_EQ(3072, canvas.PixelAt(4, 1)->height);
    EXPECT_EQ(3072 + 255, canvas.PixelAt(3, 1)->height);

    // A pattern that cannot be locked paints nothing and leaves no mark.
    int32_t missing = -1;
    BlankCanvas other(6, 2);
    auto* blind = new KVXBrushPatternFlood(DiameterParams(255, 255), kNoSaturation, kNibOpacity,
                                           kNoHeights, &other, &nib, nullptr, red, nullptr, &mode,
                                           &heightValue, &missing);
    Click(*blind, 2, 1);
    for (int x = 0; x < 6; ++x) {
        EXPECT_TRUE(SamePixel(kBlankPixel, *other.PixelAt(x, 0)));
        EXPECT_EQ(0, *blind->Marks().PixelAt(x, 1));
    }
    delete blind;
    delete brush;
    picture.Clear();
}

namespace {

// The fill as plainly stated: the region is the 4-connected set of
// unmarked plain pixels that pass the test, reached from the seed; the rim
// is every other plain pixel touching it (8 neighbours), marked by its
// brightness; the coat goes over both.
void ReferenceFill(KVXPlaneComponent& canvas, int32_t sx, int32_t sy, bool colorTest,
                   const uint8_t* c)
{
    const KVXComponentPixel seed = *canvas.PixelAt(sx, sy);
    auto passes = [&](const KVXComponentPixel& p) {
        if (p.type != kPixelPlain)
            return false;
        if (!colorTest)
            return int32_t(p.height) - int32_t(seed.height) <= 32;
        return std::max({std::abs(p.blue - seed.blue), std::abs(p.green - seed.green),
                         std::abs(p.red - seed.red)}) <= 32;
    };
    int32_t w = canvas.width, h = canvas.height;
    std::vector<uint8_t> marks(size_t(w * h), 0);
    std::vector<std::pair<int32_t, int32_t>> todo = {{sx, sy}};
    marks[size_t(sy * w + sx)] = 255;
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        const int32_t steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& s : steps) {
            int32_t nx = x + s[0], ny = y + s[1];
            if (nx < 0 || ny < 0 || nx >= w || ny >= h || marks[size_t(ny * w + nx)] != 0 ||
                !passes(*canvas.PixelAt(nx, ny)))
                continue;
            marks[size_t(ny * w + nx)] = 255;
            todo.push_back({nx, ny});
        }
    }
    std::vector<uint8_t> rim = marks;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const KVXComponentPixel& p = *canvas.PixelAt(x, y);
            if (marks[size_t(y * w + x)] != 0 || p.type != kPixelPlain)
                continue;
            bool touches = false;
            for (int32_t ny = std::max(0, y - 1); ny <= std::min(h - 1, y + 1); ++ny)
                for (int32_t nx = std::max(0, x - 1); nx <= std::min(w - 1, x + 1); ++nx)
                    touches = touches || marks[size_t(ny * w + nx)] == 255;
            if (touches)
                rim[size_t(y * w + x)] = uint8_t(std::min(254, (p.blue + p.green + p.red) / 3));
        }
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t m = rim[size_t(y * w + x)];
            if (m <= 1)
                continue;
            KVXComponentPixel& p = *canvas.PixelAt(x, y);
            uint8_t* channel = &p.blue;
            for (int i = 0; i < 3; ++i)
                channel[i] = m == 255 ? c[i]
                                      : uint8_t(BlendTable[m][c[i]] + BlendTable[255 - m][channel[i]]);
            p.type = kPixelPlain;
        }
}

}  // namespace

// Patchy canvases of a few colours and heights, filled from many seeds with
// either test: the fill, eight pixels at a time where it can, leaves the
// bytes of the plain statement of the fill.
TEST_F(FloodTest, PatchyCanvasesMatchThePlainFill)
{
    const KVXComponentPixel kinds[] = {
        {255, 255, 255, kPixelPlain, 1000, 0}, {240, 236, 250, kPixelPlain, 1030, 0},
        {200, 200, 200, kPixelPlain, 1033, 0}, {0, 0, 0, kPixelPlain, 900, 0},
        {30, 40, 220, kPixelPlain, 1100, 0},   {255, 255, 255, kPixelLocked, 1000, 0},
    };
    UURandom random(77);
    for (int round = 0; round < 24; ++round) {
        const int32_t w = 19 + round % 5 * 7, h = 9 + round % 3 * 5;
        BlankCanvas canvas(w, h);
        for (int patch = 0; patch < 12; ++patch) {
            int32_t left = random.Range(0, w - 1), top = random.Range(0, h - 1);
            int32_t right = std::min(w, left + random.Range(1, w / 2));
            int32_t bottom = std::min(h, top + random.Range(1, h / 2));
            const KVXComponentPixel& kind = kinds[random.Range(0, 5)];
            for (int32_t y = top; y < bottom; ++y)
                for (int32_t x = left; x < right; ++x)
                    *canvas.PixelAt(x, y) = kind;
        }
        int32_t sx = random.Range(0, w - 1), sy = random.Range(0, h - 1);
        if (canvas.PixelAt(sx, sy)->type != kPixelPlain)
            continue;
        mode = round % 2 == 0 ? KVXBrushFlood::kColorTestMode : 0;
        BlankCanvas expected(w, h);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                *expected.PixelAt(x, y) = *canvas.PixelAt(x, y);
        ReferenceFill(expected, sx, sy, mode == KVXBrushFlood::kColorTestMode, red);
        std::unique_ptr<KVXBrushFlood> brush(Make(canvas));
        Click(*brush, sx, sy);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                ASSERT_TRUE(SamePixel(*expected.PixelAt(x, y), *canvas.PixelAt(x, y)))
                    << "round " << round << " at " << x << ", " << y;
    }
}
