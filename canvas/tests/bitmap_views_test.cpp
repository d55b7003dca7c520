// Clipped bitmap views, 8-bit planes filled from bitmaps and pictures, the
// work surface.
#include <gtest/gtest.h>

#include <vector>

#include "canvas/plane.h"
#include "canvas/work_surface.h"
#include "canvas_test_support.h"
#include "media/bitmap_picture_collection.h"
#include "media/offscreen_surface.h"
#include "media/surface_bitmap.h"

TEST(BitmapViews, ClippedViews)
{
    auto bitmap = MakeTarget(10, 8);
    bitmap->box = {100, 200, 110, 208};
    CRGBBitmap view(*bitmap, {105, 190, 120, 202});
    EXPECT_EQ((Box{105, 200, 110, 202}), view.box);
    EXPECT_EQ(bitmap->pixels + 5 * 4, view.pixels);
    EXPECT_EQ(bitmap->pitch, view.pitch);
    EXPECT_EQ(view.pixels, view.PixelAddress(105, 200)) << "(left, top) is bits itself";
    CConstAlphaBitmap inner(view, {106, 201, 107, 202});
    EXPECT_EQ(bitmap->PixelAddress(106, 201), inner.pixels);

    CAlphaBitmap none(*bitmap, {0, 0, 50, 50});
    EXPECT_EQ((Box{0, 0, 0, 0}), none.box);
    EXPECT_EQ(nullptr, none.pixels);

    view.SetAlphaInBox(77);
    EXPECT_EQ(77, bitmap->PixelAddress(109, 201)[3]);
    EXPECT_EQ(0xEE, bitmap->PixelAddress(109, 202)[3]);
    EXPECT_EQ(0xEE, bitmap->PixelAddress(109, 201)[2]);
}

TEST(BitmapViews, SurfaceViews)
{
    CRGBBitmap missing = CRGBBitmap::FromSurface(nullptr);
    EXPECT_EQ(nullptr, missing.pixels);
    EXPECT_EQ(0, missing.bitsPerPixel);

    CSurface surface;
    ASSERT_TRUE(surface.CreateOffscreenSurface({0, 0, 6, 4}));
    EXPECT_EQ(32, surface.bitsPerPixel);
    EXPECT_EQ((Box{0, 0, 6, 4}), surface.box);
    surface.Surface()->FillBox({0, 0, 6, 4}, {-1, 1, 2, 3, 0});
    GdiFlush();
    EXPECT_EQ(Bgr(1, 2, 3), TargetWord(surface, 5, 3) & 0xFFFFFF);
    EXPECT_EQ(nullptr, surface.AttachSurface(nullptr));
    MMSurface* other = MMSurface::CreateBitmapDC(32, {0, 0, 2, 2}, nullptr);
    MMSurface* old = surface.AttachSurface(other);
    EXPECT_EQ((Box{0, 0, 2, 2}), surface.box);
    old->Dispose();

    WorkSurface work(Box{0, 0, 3, 2});
    ASSERT_TRUE(work.EnsureSurface());
    KVXBitmap<uint16_t> heights = work.PlaneOf<uint16_t>();
    EXPECT_EQ(6, heights.width);
    *heights.PixelAt(2, 1) = 0xBEEF;
    KVXBitmap<uint32_t> words = work.PlaneOf<uint32_t>();
    EXPECT_EQ(0xBEEFu, *words.PixelAt(1, 1) & 0xFFFF);
}

namespace {

MMBitmap Bytes(std::vector<uint8_t>& pixels, int32_t width, int32_t height)
{
    MMBitmap b;
    b.bitsPerPixel = 8;
    b.bytesPerPixel = 1;
    b.pixelKind = kPixelIndexed;
    b.transparencyKind = 0;
    b.box = {0, 0, width, height};
    b.pixels = pixels.data();
    b.pitch = width;
    return b;
}

}  // namespace

TEST(BytePlane, BlitFromBitmapReadsOnlyWhatTheSourceHolds)
{
    KVXPlaneUCharTop plane({4, 4});
    plane.Fill(0);
    std::vector<uint8_t> pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    MMBitmap source = Bytes(pixels, 3, 3);
    MMBitmap described;
    plane.Describe(described);
    EXPECT_EQ((Box{0, 0, 4, 4}), described.box);
    EXPECT_EQ(plane.bits, described.pixels);

    EXPECT_TRUE(plane.BlitFromBitmap(source, {1, 1}));
    std::vector<uint8_t> expected = {5, 6, 0, 0, 8, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(expected, std::vector<uint8_t>(plane.bits, plane.bits + 16));
    EXPECT_FALSE(plane.BlitFromBitmap(source, {3, 0})) << "nothing of the source is under the plane";

    KVXPlaneUCharTop same({3, 3});
    EXPECT_TRUE(same.BlitFromBitmap(source, {0, 0}));
    EXPECT_EQ(pixels, std::vector<uint8_t>(same.bits, same.bits + 9));
}

TEST(BytePlane, LoadFromPicture)
{
    MMBitmapPictureCollection pictures(1, 0x4200);
    std::vector<uint8_t> pixels = {0, 20, 30, 40};
    MMBitmap bitmap = Bytes(pixels, 2, 2);
    bitmap.transparencyKind = kTransparencyKeyed;
    MMPictureReference picture;
    pictures.BindPicture(picture, 0, bitmap, nullptr);
    ASSERT_FALSE(picture.IsEmpty());
    KVXPlaneUCharTop plane({2, 2});
    plane.Fill(99);
    plane.LoadFromPicture(picture, {0, 0});
    EXPECT_EQ(pixels, std::vector<uint8_t>(plane.bits, plane.bits + 4)) << "index 0 is not clear here";

    MMPictureReference none;
    plane.Fill(99);
    plane.LoadFromPicture(none, {0, 0});
    EXPECT_EQ(99, plane.bits[0]);
    picture.Clear();
}

TEST(BitmapCollection, AddBitmap)
{
    MPBitmapCollection bitmaps(2, 0x4500);
    MMPictureReference added = bitmaps.AddBitmap(1, {3, 2}, 42);
    ASSERT_FALSE(added.IsEmpty());
    EXPECT_EQ(bitmaps.MakePictureId(1), added.Id());
    EXPECT_EQ((Pair{3, 2}), added.GetSize());
    EXPECT_EQ(32, added.BitsPerPixel());
    EXPECT_EQ(12, bitmaps.SlotAt(1).rowBytes);
    EXPECT_EQ(24, bitmaps.SlotAt(1).size);
    EXPECT_EQ(42, bitmaps.SlotAt(1).value);
    EXPECT_TRUE(bitmaps.AddBitmap(1, {3, 2}, 0).IsEmpty()) << "the slot is taken";
    EXPECT_TRUE(bitmaps.EmptyReference().IsEmpty());
    added.Clear();
}
