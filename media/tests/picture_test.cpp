// The bitmap picture collection with and without a swap file, and picture
// visuals drawn and hit through it.
#include <gtest/gtest.h>

#include <cstring>
#include "media/bitmap_picture_collection.h"
#include "media/offscreen_surface.h"
#include "media/picture_visual.h"
#include "media_test_support.h"
#include "recording_enclosure.h"

namespace {

FSDirectory TempFolder()
{
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    return FSDirectory(path);
}

int64_t FileLength(const FSDirectory& folder, const char* name)
{
    char path[FS_PATH_SIZE];
    if (!FSJoinPath(path, folder, name)) {
        return -1;
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
        return -1;
    }
    return data.nFileSizeLow;
}

std::vector<uint8_t> LockedRows(MMBitmapPictureCollection& collection, int16_t index)
{
    MMBitmap bitmap;
    EXPECT_TRUE(collection.LockBitmap(index, bitmap, nullptr));
    std::vector<uint8_t> rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* row = bitmap.PixelAddress(0, y);
        rows.insert(rows.end(), row, row + bitmap.Width() * bitmap.bytesPerPixel);
    }
    collection.Unlock(index);
    return rows;
}

std::vector<uint8_t> Rows(const MMBitmap& bitmap)
{
    std::vector<uint8_t> rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* row = bitmap.PixelAddress(bitmap.box.left, bitmap.box.top + y);
        rows.insert(rows.end(), row, row + bitmap.Width() * bitmap.bytesPerPixel);
    }
    return rows;
}

}  // namespace

TEST(BitmapPictureCollection, BindsCopiesUnderUnsignedIds)
{
    MMBitmapPictureCollection collection(3, 50000);
    auto rgb = MakeSprite(kPixelBGRA, kTransparencyKeyed, 3, 2, 4);
    rgb->pixelKind = kPixelBGR;  // the same bytes read as 24-bit rows
    rgb->bitsPerPixel = 24;
    rgb->bytesPerPixel = 3;
    rgb->transparencyKind = kTransparencyOpaque;
    MMPictureReference picture;
    collection.BindPicture(picture, collection.FreeSlot(), *rgb, nullptr);
    ASSERT_FALSE(picture.IsEmpty());
    EXPECT_EQ(MMMakeResourceId(50000, 0), picture.Id());
    EXPECT_EQ(&collection, MMFindPictureCollection(picture.Id()));
    EXPECT_EQ(12, collection.SlotAt(0).rowBytes);
    EXPECT_EQ(24, collection.SlotAt(0).size);
    EXPECT_EQ((Pair{3, 2}), picture.GetSize());
    EXPECT_EQ(Rows(*rgb), LockedRows(collection, 0));

    MMColorTable table;
    table.entries[9] = {1, 2, 3, 4};
    MMPictureReference withTable;
    collection.BindPicture(withTable, collection.FreeSlot(), *rgb, &table);
    EXPECT_EQ(1048, collection.SlotAt(1).size);
    MMBitmap bitmap;
    const MMColorTable* lent = nullptr;
    ASSERT_TRUE(collection.LockBitmap(1, bitmap, &lent));
    ASSERT_NE(nullptr, lent);
    EXPECT_TRUE(lent->Equals(table));
    collection.Unlock(1);
}

TEST(BitmapPictureCollection, AFullCollectionOverwritesNothing)
{
    MMBitmapPictureCollection collection(2, 20);
    auto first = MakeSprite(kPixelBGRA, kTransparencyKeyed, 4, 4, 1);
    auto other = MakeSprite(kPixelBGRA, kTransparencyKeyed, 4, 4, 2);
    MMPictureReference a;
    MMPictureReference b;
    collection.BindPicture(a, collection.FreeSlot(), *first, nullptr);
    collection.BindPicture(b, collection.FreeSlot(), *first, nullptr);
    ASSERT_FALSE(b.IsEmpty());
    EXPECT_EQ(-1, collection.FreeSlot());
    MMPictureReference refused;
    collection.BindPicture(refused, collection.FreeSlot(), *other, nullptr);
    EXPECT_TRUE(refused.IsEmpty());
    collection.BindPicture(refused, 0, *other, nullptr);
    EXPECT_TRUE(refused.IsEmpty());
    EXPECT_EQ(Rows(*first), LockedRows(collection, 0));

    // The last reference gives the slot back.
    EXPECT_TRUE(collection.Heap().IsValuable(0));  // never purged without a swap file
    a.Clear();
    EXPECT_FALSE(collection.SlotAt(0).bound);
    EXPECT_EQ(0, collection.FreeSlot());
}

TEST(BitmapPictureCollection, SwapFileHoldsPurgedPictures)
{
    FSDirectory folder = TempFolder();
    const char* name = "pennaro-media-swap.tmp";
    {
        MMBitmapPictureCollection collection(4, 21, folder, name);
        auto hundred = MakeBitmap(kPixelIndexed, 100, 1, 3);
        auto small = MakeBitmap(kPixelIndexed, 52, 1, 4);
        MMPictureReference a;
        MMPictureReference b;
        MMPictureReference c;
        collection.BindPicture(a, collection.FreeSlot(), *hundred, nullptr);
        collection.BindPicture(b, collection.FreeSlot(), *small, nullptr);
        EXPECT_EQ(0, collection.SlotAt(0).swapOffset);
        EXPECT_EQ(100, collection.SlotAt(1).swapOffset);
        collection.BindPicture(c, collection.FreeSlot(), *small, nullptr);
        EXPECT_EQ(152, collection.SlotAt(2).swapOffset);
        a.Clear();
        EXPECT_EQ(0, collection.FindFreeSpace(100));
        EXPECT_EQ(204, collection.FindFreeSpace(101));

        // A purged picture comes back from the swap file on the next lock.
        EXPECT_FALSE(collection.Heap().IsValuable(1));
        EXPECT_EQ(52u, collection.Heap().Purge(1));
        EXPECT_EQ(Rows(*small), LockedRows(collection, 1));

        EXPECT_GT(FileLength(folder, name), 0);
        b.Clear();
        c.Clear();
        EXPECT_EQ(0, FileLength(folder, name));
    }
    EXPECT_EQ(-1, FileLength(folder, name));  // deleted with the collection
}

namespace {

class PictureVisuals : public ::testing::Test {
protected:
    void SetUp() override
    {
        surface = MMSurface::CreateBitmapDC(32, {0, 0, 40, 20}, nullptr);
        ASSERT_NE(nullptr, surface);
        enclosure.SetSurface(surface);
        // Column x of the picture is blue x + 1; pixel (0, 0) is almost opaque.
        auto bitmap = MakeBitmap(kPixelBGRA, 10, 4);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 10; ++x) {
                uint8_t* p = bitmap->PixelAddress(x, y);
                p[0] = static_cast<uint8_t>(x + 1);
            }
        }
        bitmap->PixelAddress(0, 0)[3] = 1;
        bitmap->transparencyKind = kTransparencyStraight;
        collection.BindPicture(picture, 0, *bitmap, nullptr);
        ASSERT_FALSE(picture.IsEmpty());
    }
    void TearDown() override
    {
        enclosure.SetSurface(nullptr);
        surface->Dispose();
    }
    int BlueAt(int x, int y)
    {
        MMBitmap store;
        surface->GetBitmap(store);
        return store.PixelAddress(x, y)[0];
    }

    WinMMOffscreenSurface* surface = nullptr;
    RecordingEnclosure enclosure;
    MMBitmapPictureCollection collection{2, 22};
    MMPictureReference picture;
};

}  // namespace

TEST_F(PictureVisuals, MirroredPictureDrawsAndHitsMirrored)
{
    MMPictureVisual visual;
    visual.ConstructWithPictureAt(picture, 5, 3, 1, true, false);
    EXPECT_EQ((Box{5, 3, 15, 7}), visual.GetBounds());
    EXPECT_TRUE(visual.GetOpaqueBox().IsEmpty());  // it has clear pixels
    enclosure.AddVisual(&visual);
    enclosure.RedrawAll();
    EXPECT_EQ(10, BlueAt(5, 3));
    EXPECT_EQ(1, BlueAt(14, 6));
    EXPECT_EQ(0, BlueAt(15, 6));

    // The left-most column tests the picture's column 9; the right-most its
    // column 0, whose transparency is 1.
    EXPECT_TRUE(visual.ContainsPoint(5, 3));
    EXPECT_FALSE(visual.ContainsPoint(14, 3));
    visual.SetHitTransparency(128);
    EXPECT_TRUE(visual.ContainsPoint(14, 3));
    EXPECT_FALSE(visual.ContainsPoint(15, 3));
    enclosure.RemoveVisual(&visual);
}

TEST_F(PictureVisuals, ButtonsChangePicturesOnlyWhenTheyDiffer)
{
    MMPictureButtonVisual button;
    MMPictureButtonVisual::Parameters parameters = {picture, picture, {0, 0}, nullptr, 3};
    button.ConstructWithPictures(parameters);
    enclosure.AddVisual(&button);
    enclosure.marked.clear();
    button.SetHighlighted(true);
    EXPECT_TRUE(button.IsHighlighted());
    EXPECT_TRUE(enclosure.marked.empty());
    button.SetPicture(picture);
    EXPECT_TRUE(enclosure.marked.empty());

    MMPictureReference none;
    button.SetHighlightPicture(none);
    EXPECT_TRUE(button.GetPicture().IsEmpty());
    EXPECT_FALSE(enclosure.marked.empty());
    button.SetHighlighted(false);
    EXPECT_EQ(picture.Index(), button.GetPicture().Index());
    enclosure.RemoveVisual(&button);
}
