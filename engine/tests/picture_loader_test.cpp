// Pictures load through the picture heap in both byte orders, plain,
// compressed, encoded, with their own or a shared colour table; purged
// pictures load again; references find and count them.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include "engine/picture_loader.h"
#include "framework/pending_error.h"
#include "media/encoded_image.h"
#include "resource_fixture.h"

namespace {

class PictureLoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearPendingError();
        pictures = StandardPictures();
        shared = StandardSharedTables();
        ASSERT_TRUE(WritePictureFile(temp.Folder(), "le.MMP", pictures, shared));
        ASSERT_TRUE(WriteFileBytes(temp.Folder(), "be.MMP", SerializePictureFile(pictures, shared, true)));
    }
    void TearDown() override
    {
        DeleteAllPictureCollections();
        ClearPendingError();
    }

    // Checks that picture i locks with the pixels and colour table it was written with.
    void ExpectPicture(MMPictureLoader& loader, int16_t i)
    {
        SCOPED_TRACE(i);
        const TestPicture& p = pictures[i];
        const MMColorTable* table = nullptr;
        const MMColorTable* expected =
            p.ownTable ? &p.table : p.sharedTable >= 0 ? &shared[p.sharedTable] : nullptr;
        if (!p.encoded) {
            MMBitmap bitmap;
            ASSERT_TRUE(loader.LockBitmap(i, bitmap, &table));
            EXPECT_TRUE(bitmap.IsValid());
            EXPECT_EQ(p.Pitch(), bitmap.pitch);
            EXPECT_EQ(p.bits == 8 ? kPixelIndexed : kPixelBGRA, bitmap.pixelKind);
            EXPECT_EQ(p.transparency, bitmap.transparencyKind);
            EXPECT_EQ(Box({0, 0, p.width, p.height}), bitmap.box);
            EXPECT_EQ(0, std::memcmp(p.pixels.data(), bitmap.pixels, p.pixels.size()));
        } else {
            MMEncodedImage image;
            ASSERT_TRUE(loader.LockEncodedImage(i, image, &table));
            EXPECT_TRUE(image.IsValid());
            for (int y = 0; y < p.height; ++y)
                for (int x = 0; x < p.width; ++x) {
                    const uint8_t* source = p.bitmap.PixelAddress(x, y);
                    const uint8_t* pixel = image.PixelAddress(Pair{x, y});
                    bool clear = p.bits == 8 ? *source == 0 : source[3] == 255;
                    ASSERT_EQ(clear, pixel == nullptr) << x << "," << y;
                    if (pixel) {
                        EXPECT_EQ(0, std::memcmp(source, pixel, p.bits / 8));
                    }
                }
        }
        ASSERT_EQ(expected != nullptr, table != nullptr);
        if (expected) {
            EXPECT_TRUE(table->Equals(*expected));
        }
        loader.Unlock(i);
    }

    TempFolder temp;
    std::vector<TestPicture> pictures;
    std::vector<MMColorTable> shared;
};

TEST_F(PictureLoaderTest, EveryStorageFormLocksWithItsPixelsInBothByteOrders)
{
    for (const char* name : {"le.MMP", "be.MMP"}) {
        SCOPED_TRACE(name);
        MMPictureLoader* loader = MMOpenPictureFile(temp.Folder(), name, false);
        ASSERT_NE(nullptr, loader);
        EXPECT_EQ(loader, MMFindPictureCollection(kTestPictureCollection << 16));
        int32_t largest = 0;
        for (int16_t i = 0; i < 6; ++i)
            if (pictures[i].compressed) largest = std::max(largest, loader->File().ItemSize(i));
        EXPECT_EQ(largest, loader->LargestPackedSize());
        for (int16_t i = 0; i < 6; ++i) {
            EXPECT_EQ(pictures[i].encoded, !loader->IsBitmap(i));
            EXPECT_EQ(pictures[i].bits, loader->BitsPerPixel(i));
            ExpectPicture(*loader, i);
        }
        delete loader;
    }
    EXPECT_EQ(nullptr, MMFindPictureCollection(kTestPictureCollection << 16));
    EXPECT_FALSE(IsErrorPending());
}

TEST_F(PictureLoaderTest, PurgedPicturesLoadAgain)
{
    MMPictureLoader* loader = MMOpenPictureFile(temp.Folder(), "le.MMP", false);
    ASSERT_NE(nullptr, loader);
    MMResourceHeap& heap = loader->ResourceHeap();
    EXPECT_STREQ("picture heap", heap.Name());
    for (int16_t i : {int16_t(1), int16_t(3), int16_t(4)}) {  // compressed, plain, encoded
        ExpectPicture(*loader, i);
        MMBitmap bitmap;
        MMEncodedImage image;
        ASSERT_TRUE(loader->IsBitmap(i) ? loader->LockBitmap(i, bitmap, nullptr)
                                        : loader->LockEncodedImage(i, image, nullptr));
        EXPECT_EQ(0u, heap.Purge(uint16_t(i)));  // locked: stays
        loader->Unlock(i);
        PurgePicture(loader->MakePictureId(i));
        EXPECT_TRUE(heap.IsPurged(uint16_t(i)));
        EXPECT_FALSE(heap.IsAllocated(uint16_t(i)));
        ExpectPicture(*loader, i);
        EXPECT_FALSE(heap.IsPurged(uint16_t(i)));
    }
    delete loader;
}

TEST_F(PictureLoaderTest, TransparencyFollowsTheKindAndTheColourTable)
{
    MMPictureLoader* loader = MMOpenPictureFile(temp.Folder(), "le.MMP", false);
    ASSERT_NE(nullptr, loader);
    MMPictureReference opaque, keyed, alpha, encoded;
    opaque.Load(loader->MakePictureId(2));
    keyed.Load(loader->MakePictureId(0));
    alpha.Load(loader->MakePictureId(3));
    encoded.Load(loader->MakePictureId(5));
    EXPECT_EQ(0, opaque.TransparencyAt(Pair{0, 0}));
    EXPECT_EQ(0, opaque.TransparencyAt(Pair{-5, 99}));  // kind 0: even outside
    // 8-bit keyed: index 0 is clear, others opaque (the table is not asked).
    EXPECT_EQ(255, keyed.TransparencyAt(Pair{0, 0}));
    EXPECT_EQ(0, keyed.TransparencyAt(Pair{1, 0}));
    EXPECT_EQ(1, keyed.HitKind(Pair{0, 0}));
    EXPECT_EQ(0, keyed.HitKind(Pair{1, 0}));
    // Straight alpha: byte 3 of the pixel.
    EXPECT_EQ(pictures[3].bitmap.PixelAddress(1, 2)[3], alpha.TransparencyAt(Pair{1, 2}));
    // Encoded: outside every run is clear.
    EXPECT_EQ(255, encoded.TransparencyAt(Pair{0, 0}));
    EXPECT_EQ(0, encoded.TransparencyAt(Pair{1, 0}));
    EXPECT_TRUE(keyed.ContainsPoint(Pair{4, 2}));
    EXPECT_FALSE(keyed.ContainsPoint(Pair{5, 2}));
    MMColorTable copy;
    EXPECT_TRUE(keyed.CopyColorTable(copy));
    EXPECT_TRUE(copy.Equals(pictures[0].table));
    EXPECT_FALSE(opaque.CopyColorTable(copy));
    MMEncodedImage image;
    EXPECT_FALSE(opaque.LockEncodedImage(image));  // plain rows are no encoded image
    MMBitmap bitmap;
    EXPECT_FALSE(encoded.LockBitmap(bitmap));  // nor runs plain rows
    EXPECT_EQ(0, loader->ResourceHeap().LockCount(5));
    opaque.Clear();
    keyed.Clear();
    alpha.Clear();
    encoded.Clear();
    delete loader;
}

TEST_F(PictureLoaderTest, ReferencesCountUsesOfTheirPicture)
{
    MMPictureLoader* loader = MMOpenPictureFile(temp.Folder(), "le.MMP", false);
    ASSERT_NE(nullptr, loader);
    MMPictureID id = loader->MakePictureId(4);
    EXPECT_EQ(MMPictureID(0x40000004), id);
    {
        MMPictureReference empty;
        EXPECT_EQ(-1, empty.Id());
        empty.Load(-1);
        EXPECT_EQ(-1, empty.Id());
        empty.Load(0x12340001);  // no such collection
        EXPECT_EQ(-1, empty.Id());

        MMPictureReference reference;
        reference.Load(id);
        EXPECT_EQ(id, reference.Id());
        EXPECT_EQ(Pair({6, 2}), reference.GetSize());
        EXPECT_TRUE(loader->ResourceHeap().IsReferenced(4));
        MMPictureReference copy = reference;
        EXPECT_EQ(2, loader->ReferenceManager()->UseCount(4));
        reference.Load(id);  // the same picture again
        EXPECT_EQ(2, loader->ReferenceManager()->UseCount(4));
        reference.ConstructWith(loader, 1);
        EXPECT_EQ(1, loader->ReferenceManager()->UseCount(4));
        MMUsePicture(id);
        EXPECT_EQ(2, loader->ReferenceManager()->UseCount(4));
        MMReleasePicture(id);
    }
    EXPECT_EQ(0, loader->ReferenceManager()->UseCount(4));
    EXPECT_EQ(0, loader->ReferenceManager()->UseCount(1));
    EXPECT_FALSE(loader->ResourceHeap().IsReferenced(4));

    // Preloading reads the picture without keeping it locked.
    PreloadPicture(id);
    EXPECT_TRUE(loader->ResourceHeap().IsAllocated(4));
    EXPECT_EQ(0, loader->ResourceHeap().LockCount(4));
    delete loader;
}

TEST_F(PictureLoaderTest, LockingAllCollectionsReadsEveryUsedPicture)
{
    MMPictureLoader* loader = MMOpenPictureFile(temp.Folder(), "le.MMP", false);
    ASSERT_NE(nullptr, loader);
    MMResourceHeap& heap = loader->ResourceHeap();
    MMPictureReference a, b;
    a.Load(loader->MakePictureId(1));
    b.Load(loader->MakePictureId(4));
    ASSERT_TRUE(MMLockAllCollections());
    for (uint16_t i = 0; i < 6; ++i) {
        EXPECT_EQ(i == 1 || i == 4, heap.IsAllocated(i)) << i;
        EXPECT_EQ(0, heap.LockCount(i));
    }
    ExpectPicture(*loader, 1);
    ExpectPicture(*loader, 4);
    a.Clear();
    MMPurgeUnusedResources();
    EXPECT_FALSE(heap.IsAllocated(1));
    EXPECT_TRUE(heap.IsAllocated(4));
    b.Clear();
    delete loader;
}

}  // namespace
