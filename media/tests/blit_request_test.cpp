// Preparation of blit requests: 16.16 steps, pixel-centre sampling, clipping.
#include <gtest/gtest.h>

#include "media/blit_request.h"
#include "media/offscreen_surface.h"
#include "media_test_support.h"

namespace {

int ColumnAt(const MMBitmap& bitmap, int x, int y)
{
    return bitmap.PixelAddress(x, y)[0];
}

int RowAt(const MMBitmap& bitmap, int x, int y)
{
    return bitmap.PixelAddress(x, y)[1];
}

}  // namespace

TEST(BitmapBlitRequest, ScalingSamplesPixelCentres)
{
    auto source = MakeCoordinates(10, 10);
    auto target = MakeBitmap(kPixelBGRA, 20, 20);
    MMBitmapBlitRequest up;
    ASSERT_TRUE(up.PrepareToBox(*source, *target, {0, 0, 20, 20}));
    EXPECT_EQ(0x8000, up.xStep);
    EXPECT_EQ(0x4000, up.sourceX);
    ASSERT_TRUE(up.Perform());
    EXPECT_EQ(0, ColumnAt(*target, 1, 0));
    EXPECT_EQ(1, ColumnAt(*target, 2, 0));
    EXPECT_EQ(9, ColumnAt(*target, 19, 19));
    EXPECT_EQ(9, RowAt(*target, 19, 19));

    auto wide = MakeCoordinates(20, 4);
    auto narrow = MakeBitmap(kPixelBGRA, 10, 4);
    MMBitmapBlitRequest down;
    ASSERT_TRUE(down.PrepareToBox(*wide, *narrow, {0, 0, 10, 4}));
    EXPECT_EQ(0x20000, down.xStep);
    EXPECT_EQ(0x10000, down.sourceX);
    EXPECT_EQ(0x10000, down.yStep);
    down.Perform();
    EXPECT_EQ(1, ColumnAt(*narrow, 0, 0));
    EXPECT_EQ(19, ColumnAt(*narrow, 9, 3));
}

TEST(BitmapBlitRequest, ClippedColumnsReadWhatTheyWouldHaveRead)
{
    auto source = MakeCoordinates(10, 10);
    auto target = MakeBitmap(kPixelBGRA, 20, 20);
    MMBitmapBlitRequest request;
    // Half the box lies left of the bitmap; column 0 is box column 10.
    ASSERT_TRUE(request.PrepareToBox(*source, *target, {-10, 0, 10, 20}));
    EXPECT_EQ(10, request.width);
    request.Perform();
    EXPECT_EQ(5, ColumnAt(*target, 0, 0));
    EXPECT_EQ(9, ColumnAt(*target, 9, 0));
    EXPECT_EQ(0, ColumnAt(*target, 10, 0));  // untouched

    MMBitmapBlitRequest outside;
    EXPECT_FALSE(outside.PrepareToBox(*source, *target, {20, 0, 30, 10}));
    EXPECT_FALSE(outside.Perform());
}

TEST(BitmapBlitRequest, ReversedSourceBoxMirrors)
{
    auto source = MakeCoordinates(10, 10);
    auto target = MakeBitmap(kPixelBGRA, 10, 10);
    MMBitmapBlitRequest request;
    ASSERT_TRUE(request.PrepareBoxToBox(*source, *target, {10, 10, 0, 0}, {0, 0, 10, 10}));
    EXPECT_EQ(-0x10000, request.xStep);
    request.Perform();
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(9 - x, ColumnAt(*target, x, 0));
        EXPECT_EQ(9 - x, RowAt(*target, 0, x));
    }
}

TEST(BitmapBlitRequest, CombinationsWithoutRoutineAreNotPrepared)
{
    auto source = MakeCoordinates(4, 4);
    auto indexes = MakeBitmap(kPixelIndexed, 4, 4);
    auto colours = MakeBitmap(kPixelBGRA, 4, 4);
    MMBitmapBlitRequest request;
    EXPECT_FALSE(request.PrepareToBox(*source, *indexes, {0, 0, 4, 4}));
    // An 8-bit source onto colours needs a colour table.
    EXPECT_FALSE(request.PrepareToBox(*indexes, *colours, {0, 0, 4, 4}));
    auto rgb = MakeBitmap(kPixelBGR, 4, 4);
    EXPECT_FALSE(request.PrepareToBox(*rgb, *colours, {0, 0, 4, 4}));
}

namespace {

// Counts the last unlocks of a surface over a bitmap of the test's own.
class CountingSurface : public MMDrawingSurface {
public:
    explicit CountingSurface(const MMBitmap& pixels) { store = pixels; }
    void OnUnlocked() override { ++unlocks; }
    int unlocks = 0;
};

}  // namespace

TEST(SurfaceBlitRequest, ClipsToTheSurfaceClipBoxAndLocksOnce)
{
    auto pixels = MakeBitmap(kPixelBGRA, 20, 20);
    CountingSurface surface(*pixels);
    auto source = MakeCoordinates(10, 10);

    MMDrawingSurfaceBlitRequest outside;
    EXPECT_FALSE(outside.PrepareToBox(*source, &surface, {30, 30, 40, 40}));
    EXPECT_FALSE(outside.Perform());
    EXPECT_EQ(0, surface.unlocks);

    surface.SetClipBox({5, 5, 8, 20});
    MMDrawingSurfaceBlitRequest request;
    ASSERT_TRUE(request.PrepareToBox(*source, &surface, {2, 3, 12, 13}));
    ASSERT_TRUE(request.Perform());
    EXPECT_EQ(1, surface.unlocks);
    EXPECT_EQ(0, surface.LockCount());
    EXPECT_EQ(3, ColumnAt(*pixels, 5, 5));
    EXPECT_EQ(2, RowAt(*pixels, 5, 5));
    EXPECT_EQ(5, ColumnAt(*pixels, 7, 12));
    EXPECT_EQ(9, RowAt(*pixels, 7, 12));
    EXPECT_EQ(0, pixels->PixelAddress(4, 5)[2]);  // outside the clip box
    EXPECT_EQ(0, pixels->PixelAddress(8, 5)[2]);
    // The start now holds this clip's offset: a second Perform needs a new preparation.
    EXPECT_FALSE(request.Perform());
}

TEST(SurfaceBlitRequest, ScaledAndMirroredOntoTheBackBuffer)
{
    WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(32, {0, 0, 40, 30}, nullptr);
    ASSERT_NE(nullptr, surface);
    auto source = MakeCoordinates(10, 10);
    MMDrawingSurfaceBlitRequest request;
    ASSERT_TRUE(request.PrepareBoxToBox(*source, surface, {10, 0, 0, 10}, {0, 0, 20, 20}));
    ASSERT_TRUE(request.Perform());
    MMBitmap store;
    ASSERT_TRUE(surface->GetBitmap(store));
    EXPECT_EQ(9, ColumnAt(store, 0, 0));
    EXPECT_EQ(9, ColumnAt(store, 1, 0));
    EXPECT_EQ(0, ColumnAt(store, 19, 0));
    EXPECT_EQ(9, RowAt(store, 0, 19));
    surface->Dispose();
}

TEST(SurfaceBlitRequest, IndexesOntoAnEightBitSurfaceAreCopied)
{
    MMColorTable table;
    WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(8, {0, 0, 8, 4}, &table);
    ASSERT_NE(nullptr, surface);
    auto source = MakeBitmap(kPixelIndexed, 4, 2);
    for (int i = 0; i < 4; ++i) {
        source->PixelAddress(i, 1)[0] = static_cast<uint8_t>(200 + i);
    }
    MMDrawingSurfaceBlitRequest request;
    ASSERT_TRUE(request.PrepareToBox(*source, surface, {2, 1, 6, 3}));
    ASSERT_TRUE(request.Perform());
    MMBitmap store;
    surface->GetBitmap(store);
    EXPECT_EQ(200, store.PixelAddress(2, 2)[0]);
    EXPECT_EQ(203, store.PixelAddress(5, 2)[0]);
    surface->Dispose();
}
