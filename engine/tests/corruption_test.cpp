// Damaged resource files fail cleanly: at open with the file's header or read
// error, or later with a failed lock or an empty table, never with a crash.
#include <gtest/gtest.h>
#include <cstring>
#include <functional>
#include <random>
#include "engine/picture_loader.h"
#include "engine/record_table.h"
#include "engine/script_file.h"
#include "framework/pending_error.h"
#include "media/encoded_image.h"
#include "resource_fixture.h"

namespace {

bool IsPictureFileError(int32_t code)
{
    return code >= MME_PICTURE_RESOURCE_FILE_BAD_OPEN_FOR_READ &&
           code <= MME_PICTURE_RESOURCE_FILE_BAD_SEEK;
}

void PutLongAt(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    std::memcpy(&bytes[at], &value, 4);
}

uint32_t LongAt(const std::vector<uint8_t>& bytes, size_t at)
{
    uint32_t value;
    std::memcpy(&value, &bytes[at], 4);
    return value;
}

// Locks every picture in its own form and reads every pixel it describes.
int LockEverything(MMPictureLoader& loader)
{
    int locked = 0;
    for (int16_t i = 0; i < loader.PictureCount(); ++i) {
        Pair size = loader.PictureSize(i);
        const MMColorTable* table = nullptr;
        unsigned sum = 0;
        if (loader.IsBitmap(i)) {
            MMBitmap bitmap;
            if (!loader.LockBitmap(i, bitmap, &table)) continue;
            for (int y = 0; y < size.y; ++y)
                for (int x = 0; x < size.x * bitmap.bytesPerPixel; ++x)
                    sum += bitmap.PixelAddress(0, y)[x];
        } else {
            MMEncodedImage image;
            if (!loader.LockEncodedImage(i, image, &table)) continue;
            for (int y = 0; y < size.y; ++y)
                for (int x = 0; x < size.x; ++x)
                    if (const uint8_t* p = image.PixelAddress(Pair{x, y})) sum += *p;
        }
        if (table) sum += table->entries[255].rgbRed;
        loader.Unlock(i);
        for (int y = 0; y < size.y; ++y)
            for (int x = 0; x < size.x; ++x) sum += loader.TransparencyAt(i, Pair{x, y});
        ++locked;
        (void)sum;
    }
    return locked;
}

class CorruptionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearPendingError();
        pictures = StandardPictures();
        good = SerializePictureFile(pictures, StandardSharedTables(), false);
        n = pictures.size();
    }
    void TearDown() override { ClearPendingError(); }

    // Opens bytes as a picture file; the loader, or null with the error code.
    MMPictureLoader* Open(const std::vector<uint8_t>& bytes, int32_t* code)
    {
        ClearPendingError();
        EXPECT_TRUE(WriteFileBytes(temp.Folder(), "c.MMP", bytes));
        MMPictureLoader* loader = MMOpenPictureFile(temp.Folder(), "c.MMP", false);
        *code = gPendingError.code;
        return loader;
    }

    size_t OffsetEntry(size_t i) const { return 36 + 4 * i; }
    // Fields of the picture kind block.
    size_t Kind() const { return 42 + 40 * n + 2; }
    size_t SizeOf(size_t i) const { return Kind() + 2 * n + 4 * i; }
    size_t UnpackedOf(size_t i) const { return Kind() + 6 * n + 4 * i; }
    size_t TableByteOf(size_t i) const { return Kind() + 10 * n + i; }
    size_t HeaderEnd() const { return LongAt(good, OffsetEntry(0)); }

    TempFolder temp;
    std::vector<TestPicture> pictures;
    std::vector<uint8_t> good;
    size_t n;
};

TEST_F(CorruptionTest, TruncationAtEveryHeaderByteFailsWithHeaderOrReadError)
{
    for (size_t length = 0; length < HeaderEnd(); ++length) {
        std::vector<uint8_t> bytes(good.begin(), good.begin() + length);
        int32_t code;
        MMPictureLoader* loader = Open(bytes, &code);
        EXPECT_EQ(nullptr, loader) << length;
        EXPECT_TRUE(code == MME_PICTURE_RESOURCE_FILE_BAD_HEADER ||
                    code == MME_PICTURE_RESOURCE_FILE_BAD_READ)
            << "length " << length << " code " << code;
        delete loader;
    }
    // Truncated inside the items: the offset table runs past the end.
    int32_t code;
    std::vector<uint8_t> bytes(good.begin(), good.end() - 1);
    EXPECT_EQ(nullptr, Open(bytes, &code));
    EXPECT_EQ(MME_PICTURE_RESOURCE_FILE_BAD_HEADER, code);
}

TEST_F(CorruptionTest, InconsistentHeadersFailAtOpen)
{
    const struct {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
    } cases[] = {
        {"negative item count", [](auto& b) { b[34] = 0xFF; b[35] = 0xFF; }},
        {"item count beyond the offsets", [](auto& b) { b[34] += 40; }},
        {"decreasing offsets", [&](auto& b) { PutLongAt(b, OffsetEntry(2), LongAt(b, OffsetEntry(1)) - 1); }},
        {"first item inside the header", [&](auto& b) { PutLongAt(b, OffsetEntry(0), 40); }},
        {"end past the file", [&](auto& b) { PutLongAt(b, OffsetEntry(n), uint32_t(b.size() + 1)); }},
        {"shared table beyond the count", [&](auto& b) { b[TableByteOf(5)] = 2 + 2; }},
        {"negative shared table count", [&](auto& b) { b[TableByteOf(n - 1) + 1] = 0xFF; b[TableByteOf(n - 1) + 2] = 0xFF; }},
        {"plain item shorter than its rows", [&](auto& b) { b[SizeOf(3) + 2] = 4; }},
        {"own table missing", [&](auto& b) { b[SizeOf(0) + 2] = 40; }},
        {"unpacked size too small", [&](auto& b) { PutLongAt(b, UnpackedOf(2), 12); }},
        {"unpacked size above the rows", [&](auto& b) { PutLongAt(b, UnpackedOf(2), LongAt(b, UnpackedOf(2)) + 4); }},
        {"unpacked size far above the rows", [&](auto& b) { PutLongAt(b, UnpackedOf(2), 0x04000000); }},
        {"encoded unpacked size beyond 16-bit offsets", [&](auto& b) { PutLongAt(b, UnpackedOf(4), 0x04000000); }},
        {"encoded item shorter than its offsets", [&](auto& b) { b[SizeOf(5) + 2] = 200; }},
        {"negative width", [&](auto& b) { b[SizeOf(1)] = 0xFF; b[SizeOf(1) + 1] = 0xFF; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = good;
        c.damage(bytes);
        int32_t code;
        MMPictureLoader* loader = Open(bytes, &code);
        EXPECT_EQ(nullptr, loader);
        EXPECT_TRUE(IsPictureFileError(code)) << code;
        EXPECT_STREQ("c.MMP", gPendingError.name);
        delete loader;
    }
}

TEST_F(CorruptionTest, BadItemDataFailsTheLockOnly)
{
    const struct {
        const char* what;
        int16_t item;
        std::function<void(std::vector<uint8_t>&)> damage;
    } cases[] = {
        {"LZO stream garbage", 1, [&](auto& b) {
             for (uint32_t i = LongAt(b, OffsetEntry(1)); i < LongAt(b, OffsetEntry(2)); ++i) b[i] = 0xFF;
         }},
        {"LZO stream cut short", 2, [&](auto& b) { PutLongAt(b, OffsetEntry(3), LongAt(b, OffsetEntry(3)) - 1); }},
        {"unpacked size larger than the stream", 4, [&](auto& b) { PutLongAt(b, UnpackedOf(4), LongAt(b, UnpackedOf(4)) + 4); }},
        {"encoded end offset past the data", 5, [&](auto& b) {
             size_t data = LongAt(b, OffsetEntry(5));
             b[data + 8] = 0xFF;  // end offset of a 2-row image
         }},
        {"encoded row offset past the data", 5, [&](auto& b) { b[LongAt(b, OffsetEntry(5)) + 1] = 0x7F; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = good;
        c.damage(bytes);
        int32_t code;
        MMPictureLoader* loader = Open(bytes, &code);
        ASSERT_NE(nullptr, loader);
        MMBitmap bitmap;
        MMEncodedImage image;
        bool locked = loader->IsBitmap(c.item) ? loader->LockBitmap(c.item, bitmap, nullptr)
                                               : loader->LockEncodedImage(c.item, image, nullptr);
        EXPECT_FALSE(locked);
        EXPECT_FALSE(loader->ResourceHeap().IsAllocated(uint16_t(c.item)));
        EXPECT_EQ(0, loader->ResourceHeap().LockCount(uint16_t(c.item)));
        EXPECT_EQ(5, LockEverything(*loader));  // the other pictures still load
        delete loader;
    }
}

TEST_F(CorruptionTest, SeededFuzzingNeverCrashes)
{
    std::mt19937 random(20261210);
    std::vector<uint8_t> script = SerializeScriptFile(StandardTables(), 4, -1, 1252, false);
    for (int iteration = 0; iteration < 300; ++iteration) {
        bool pictureFile = iteration % 3 != 2;
        std::vector<uint8_t> bytes = pictureFile ? good : script;
        size_t header = pictureFile ? HeaderEnd() : LongAt(script, 36);
        int mutations = 1 + int(random() % 6);
        for (int m = 0; m < mutations; ++m) {
            size_t span = random() % 4 ? header : bytes.size();
            bytes[random() % span] = uint8_t(random());
        }
        if (random() % 5 == 0) bytes.resize(random() % bytes.size());
        ClearPendingError();
        if (pictureFile) {
            int32_t code;
            MMPictureLoader* loader = Open(bytes, &code);
            if (loader) LockEverything(*loader);
            else EXPECT_TRUE(IsPictureFileError(code)) << iteration << " code " << code;
            delete loader;
        } else {
            ASSERT_TRUE(WriteFileBytes(temp.Folder(), "c.mms", bytes));
            if (OpenScriptFile(temp.Folder(), "c.mms")) {
                for (int32_t rowSize : {2, 8, 10})
                    for (int16_t table = 0; table < 6; ++table) {
                        MMRecordTable records;
                        records.Load(table, rowSize, nullptr);
                        for (int32_t row = 0; row < records.RowCount(); ++row) {
                            records.StringAt(row, 2);
                            records.ItemIdAt(row, 2);
                            records.FindRow(row, 0, 1, records.ShortAt(row, 0));
                        }
                    }
                CloseAllScriptFiles();
            } else if (IsErrorPending()) {
                EXPECT_GE(gPendingError.code, MME_SCRIPT_FILE_BAD_OPEN_FOR_READ) << iteration;
                EXPECT_LE(gPendingError.code, MME_SCRIPT_FILE_BAD_SEEK) << iteration;
            }
        }
    }
}

}  // namespace
