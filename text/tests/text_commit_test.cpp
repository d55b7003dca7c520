// Typed text into paint, with a drawing that inks a known block of pixels.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "canvas/plane.h"
#include "media/bitmap.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"
#include "text/text_commit.h"

namespace {

// Inks the whole surface in one colour.
struct FakeDrawing : KVXTextDrawing {
    bool text = true;
    uint8_t blue = 0, green = 0, red = 200;
    int draws = 0;
    bool HasText() override { return text; }
    void DrawTextInto(MMSurface* surface) override
    {
        ++draws;
        const MMBitmap& store = static_cast<WinMMOffscreenSurface*>(surface)->Store();
        for (int32_t y = 0; y < store.box.Height(); ++y)
            for (int32_t x = 0; x < store.box.Width(); ++x) {
                uint8_t* p = store.PixelAddress(x, y);
                p[0] = blue;
                p[1] = green;
                p[2] = red;
            }
    }
};

struct FakeCanvas : KVXTextCanvas {
    KVXPlaneComponentTop plane{{60, 40}};
    int snapshots = 0;
    int redraws = 0;
    FakeCanvas() { plane.Fill(KVXComponentPixel{100, 100, 100, 7, 3000, 0}); }
    KVXPlaneComponentTop* Plane() override { return &plane; }
    Pair Origin() override { return {20, 10}; }
    void TakeUndoSnapshot() override { ++snapshots; }
    void PlaneChanged() override { ++redraws; }
};

// The box (stage) puts surface (0, 0) at plane (10, 5).
const Box kBox = {30, 15, 50, 30};

TEST(TextCommit, OpacityAndReliefWeightTheInk)
{
    // Alpha (510 - opacity) * 255 / 510: 255, 0, 0, 0 and 127.
    struct Case {
        int32_t opacity, relief;
        uint8_t red, green;
        uint16_t height;
    } cases[] = {
        {0, 510, 100, 100, 3000},        // the canvas stays, heights too
        {510, 255, 200, 0, 3000},        // full ink, no relief
        {510, 510, 200, 0, 3000 + 255},  // raised by up to 255
        {510, 0, 200, 0, 3000 - 255},    // carved by up to 255
        {255, 510, (127 * 100 + 128 * 200) / 255, 127 * 100 / 255, 3000 + 128},
        {255, 0, (127 * 100 + 128 * 200) / 255, 127 * 100 / 255, 3000 - 128},
    };
    for (const Case& c : cases) {
        FakeCanvas canvas;
        FakeDrawing drawing;
        ASSERT_TRUE(RenderTextIntoCanvas(drawing, canvas, kBox, c.opacity, c.relief));
        // The surface's border is not softened: its corners land exactly.
        for (Pair at : {Pair{10, 5}, Pair{29, 19}}) {
            const KVXComponentPixel* p = canvas.plane.PixelAt(at.x, at.y);
            EXPECT_EQ(c.red, p->red) << c.opacity << "/" << c.relief;
            EXPECT_EQ(c.green, p->green) << c.opacity << "/" << c.relief;
            EXPECT_EQ(c.height, p->height) << c.opacity << "/" << c.relief;
            EXPECT_EQ(0, p->type);
        }
        EXPECT_EQ(1, canvas.snapshots);
        EXPECT_EQ(1, canvas.redraws);
    }
}

TEST(TextCommit, WhitePixelsLeaveTheCanvasAndOnlyTheBoxIsTouched)
{
    FakeCanvas canvas;
    FakeDrawing drawing;
    drawing.blue = drawing.green = drawing.red = 255;  // white text
    ASSERT_TRUE(RenderTextIntoCanvas(drawing, canvas, kBox, 510, 510));
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 60; ++x) {
            const KVXComponentPixel* p = canvas.plane.PixelAt(x, y);
            ASSERT_EQ(100, p->red);
            ASSERT_EQ(3000, p->height);
            bool inBox = x >= 10 && x < 30 && y >= 5 && y < 20;
            ASSERT_EQ(inBox ? 0 : 7, p->type) << x << "," << y;
        }
}

TEST(TextCommit, AnEmptyBoxTakesNoUndoAndABoxOffThePlaneIsClipped)
{
    FakeCanvas canvas;
    FakeDrawing drawing;
    drawing.text = false;
    EXPECT_FALSE(RenderTextIntoCanvas(drawing, canvas, kBox, 510, 510));
    EXPECT_EQ(0, canvas.snapshots);
    EXPECT_EQ(0, drawing.draws);
    EXPECT_EQ(100, canvas.plane.PixelAt(16, 10)->red);

    drawing.text = true;
    // The surface's top-left lands at plane (-6, -4): what lies off the plane goes.
    ASSERT_TRUE(RenderTextIntoCanvas(drawing, canvas, {14, 6, 34, 21}, 510, 255));
    EXPECT_EQ(200, canvas.plane.PixelAt(13, 10)->red) << "the surface's right border";
    EXPECT_EQ(0, canvas.plane.PixelAt(0, 0)->type);
    EXPECT_EQ(7, canvas.plane.PixelAt(14, 0)->type);
    EXPECT_EQ(7, canvas.plane.PixelAt(0, 11)->type);
}

TEST(TextCommit, ReliefStopsAtTheHighestAndLowestPaint)
{
    struct Case {
        uint16_t before;
        int32_t relief;
        uint16_t after;
    } cases[] = {{65500, 510, 65535}, {100, 0, 0}, {65280, 510, 65535}, {255, 0, 0}, {256, 0, 1}};
    for (const Case& c : cases) {
        FakeCanvas canvas;
        canvas.plane.Fill(KVXComponentPixel{100, 100, 100, 0, c.before, 0});
        FakeDrawing drawing;
        ASSERT_TRUE(RenderTextIntoCanvas(drawing, canvas, kBox, 510, c.relief));
        EXPECT_EQ(c.after, canvas.plane.PixelAt(10, 5)->height) << c.before << "/" << c.relief;
    }
}

TEST(TextCommit, AlphaFromOpacity)
{
    std::unique_ptr<MMBitmapWithPixels> bitmap(
        MMBitmap::CreateWithPixels({0, 0, 2, 1}, kPixelBGRA, nullptr));
    std::memset(bitmap->PixelAddress(0, 0), 255, 8);
    bitmap->PixelAddress(1, 0)[2] = 254;
    struct Case {
        int32_t opacity;
        uint8_t alpha;
    } cases[] = {{0, 255}, {255, 127}, {510, 0}, {100, 205}};
    for (const Case& c : cases) {
        SetTextAlpha(*bitmap, c.opacity);
        EXPECT_EQ(255, bitmap->PixelAddress(0, 0)[3]) << "white stays clear";
        EXPECT_EQ(c.alpha, bitmap->PixelAddress(1, 0)[3]) << c.opacity;
    }
}

}  // namespace
