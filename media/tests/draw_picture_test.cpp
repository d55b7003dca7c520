// Pictures of a picture file, plain and run-length encoded, drawn onto
// surfaces with MMDrawPicture.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include "engine/picture_loader.h"
#include "engine/resource_file_writer.h"
#include "media/blit_request.h"
#include "media/offscreen_surface.h"
#include "media_test_support.h"

namespace {

const uint16_t kCollection = 0x4100;
const char* kFileName = "pennaro-media-pictures.tmp";

FSDirectory TempFolder()
{
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    return FSDirectory(path);
}

// Items 0 and 1: one 32-bit keyed sprite, plain and encoded (compressed);
// items 2 and 3: one 8-bit keyed sprite with its own table, plain and encoded.
bool WritePictures(const FSDirectory& folder, const MMBitmap& sprite32, const MMBitmap& sprite8,
                   const MMColorTable& table)
{
    MMPictureResourceFile file;
    if (!file.Create(folder, kFileName, FSFileKind(), 4, kCollection)) {
        return false;
    }
    for (int16_t item = 0; item < 4; ++item) {
        MMPictureSource source;
        source.bitmap = item < 2 ? &sprite32 : &sprite8;
        source.ownColorTable = item < 2 ? nullptr : &table;
        source.encode = item % 2 == 1;
        source.compress = item == 1;
        char name[32];
        std::snprintf(name, sizeof name, "sprite%d", item);
        source.name = name;
        if (!MMWritePicture(file, item, source)) {
            return false;
        }
    }
    return file.MarkEndOfItems() && file.Close(true);
}

std::vector<uint8_t> StoreBytes(MMSurface* surface)
{
    MMBitmap store;
    surface->GetBitmap(store);
    return Bytes(store);
}

}  // namespace

TEST(DrawPicture, EncodedPicturesDrawLikeTheirPlainTwins)
{
    FSDirectory folder = TempFolder();
    auto sprite32 = MakeSprite(kPixelBGRA, kTransparencyKeyed, 30, 20, 11);
    auto sprite8 = MakeSprite(kPixelIndexed, kTransparencyKeyed, 30, 20, 12);
    MMColorTable table;
    for (int i = 0; i < 256; ++i) {
        table.entries[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i / 2), 200, 0};
    }
    ASSERT_TRUE(WritePictures(folder, *sprite32, *sprite8, table));
    MMPictureLoader* loader = MMOpenPictureFile(folder, kFileName, false);
    ASSERT_NE(nullptr, loader);

    struct Case {
        int bits;
        int16_t plain;
        Box source;
        Box destination;
    } cases[] = {
        {32, 0, {0, 0, 30, 20}, {5, 5, 35, 25}},      // 1:1
        {32, 0, {30, 0, 0, 20}, {-4, 3, 26, 23}},     // mirrored, clipped
        {32, 0, {0, 20, 30, 0}, {0, 0, 45, 50}},      // upside down, scaled
        {32, 2, {0, 0, 30, 20}, {2, 2, 32, 22}},      // 8-bit through its table
        {8, 2, {30, 0, 0, 20}, {1, 1, 31, 21}},       // 8-bit surface: indexes
    };
    for (const Case& c : cases) {
        MMColorTable grey;
        WinMMOffscreenSurface* expected = MMSurface::CreateBitmapDC(c.bits, {0, 0, 40, 30}, &grey);
        WinMMOffscreenSurface* actual = MMSurface::CreateBitmapDC(c.bits, {0, 0, 40, 30}, &grey);
        ASSERT_NE(nullptr, expected);
        ASSERT_NE(nullptr, actual);
        MMPictureReference plain;
        MMPictureReference encoded;
        plain.ConstructWith(loader, c.plain);
        encoded.ConstructWith(loader, static_cast<int16_t>(c.plain + 1));
        ASSERT_TRUE(plain.IsBitmap());
        ASSERT_FALSE(encoded.IsBitmap());
        MMDrawPicture(expected, plain, c.source, c.destination, nullptr, nullptr);
        MMDrawPicture(actual, encoded, c.source, c.destination, nullptr, nullptr);
        std::vector<uint8_t> drawn = StoreBytes(actual);
        EXPECT_EQ(StoreBytes(expected), drawn) << "picture " << c.plain << " onto " << c.bits;
        EXPECT_NE(std::vector<uint8_t>(drawn.size(), 0), drawn);
        if (c.bits == 8) {
            // Indexes are copied: the sprite's index at its mirrored column.
            MMBitmap store;
            actual->GetBitmap(store);
            uint8_t index = *sprite8->PixelAddress(29, 0);
            if (index != 0) {
                EXPECT_EQ(index, *store.PixelAddress(1, 1));
            }
        }
        expected->Dispose();
        actual->Dispose();
    }
    delete loader;
    FSDeleteFile(folder, kFileName);
}

TEST(DrawPicture, EightBitPictureWithoutTableDrawsThroughTheDestinationsColours)
{
    FSDirectory folder = TempFolder();
    auto sprite = MakeSprite(kPixelIndexed, kTransparencyKeyed, 12, 8, 21);
    {
        MMPictureResourceFile file;
        ASSERT_TRUE(file.Create(folder, kFileName, FSFileKind(), 2, kCollection));
        for (int16_t item = 0; item < 2; ++item) {
            MMPictureSource source;
            source.bitmap = sprite.get();
            source.encode = item == 1;
            source.name = "bare";
            ASSERT_TRUE(MMWritePicture(file, item, source));
        }
        ASSERT_TRUE(file.MarkEndOfItems() && file.Close(true));
    }
    MMPictureLoader* loader = MMOpenPictureFile(folder, kFileName, false);
    ASSERT_NE(nullptr, loader);
    MMColorTable colours;
    for (int i = 0; i < 256; ++i) {
        colours.entries[i] = {static_cast<BYTE>(255 - i), static_cast<BYTE>(i), 90, 0};
    }
    for (int16_t item = 0; item < 2; ++item) {
        SCOPED_TRACE(item);
        WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(32, {0, 0, 20, 10}, &colours);
        ASSERT_NE(nullptr, surface);
        MMBitmap store;
        surface->GetBitmap(store);
        for (int y = 0; y < 10; ++y) {
            std::memset(store.PixelAddress(0, y), 0x11, 20 * 4);
        }
        MMPictureReference picture;
        picture.ConstructWith(loader, item);
        MMDrawPicture(surface, picture, {0, 0, 12, 8}, {3, 1, 15, 9}, nullptr, nullptr);
        int drawn = 0;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 12; ++x) {
                uint8_t index = *sprite->PixelAddress(x, y);
                const uint8_t* pixel = store.PixelAddress(3 + x, 1 + y);
                if (index == 0) {
                    EXPECT_EQ(0x11, pixel[0]) << x << "," << y;
                    continue;
                }
                const RGBQUAD& entry = colours.entries[index];
                EXPECT_EQ(entry.rgbBlue, pixel[0]) << x << "," << y;
                EXPECT_EQ(entry.rgbGreen, pixel[1]) << x << "," << y;
                EXPECT_EQ(entry.rgbRed, pixel[2]) << x << "," << y;
                ++drawn;
            }
        }
        EXPECT_GT(drawn, 0);
        surface->Dispose();
    }
    delete loader;
    FSDeleteFile(folder, kFileName);
}
