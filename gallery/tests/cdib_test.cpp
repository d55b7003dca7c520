#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "gallery/cdib.h"

namespace {

// A width x height bitmap whose pixel (x, y) holds value(x, y).
template <class Value>
std::unique_ptr<CDib> Filled(int32_t width, int32_t height, int32_t bits, Value value)
{
    auto dib = std::make_unique<CDib>();
    EXPECT_TRUE(dib->Create(width, height, bits));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            dib->SetPixelAt(x, y, value(x, y));
    return dib;
}

}  // namespace

TEST(CDib, PackedSizesFollowTheRules)
{
    EXPECT_EQ(4 * 2 + 8 + 40, PackedDibSize(9, 2, 1, BI_RGB));
    EXPECT_EQ(4 * 3 + 64 + 40, PackedDibSize(3, 3, 4, BI_RGB));
    EXPECT_EQ(8 * 2 + 1024 + 40, PackedDibSize(5, 2, 8, BI_RGB));
    EXPECT_EQ(12 * 2 + 40, PackedDibSize(3, 2, 24, BI_RGB));
    EXPECT_EQ(8 * 1 + 12 + 40, PackedDibSize(3, 1, 16, BI_BITFIELDS));
    EXPECT_EQ(12 * 1 + 40, PackedDibSize(3, 1, 32, BI_RGB));
}

TEST(CDib, UnpackedRows)
{
    auto one = Filled(9, 2, 1, [](int x, int y) { return uint32_t((x + y) % 2); });
    ASSERT_EQ(9, one->GetUnpackedRowSize());
    uint8_t row[32] = {};
    ASSERT_TRUE(one->GetUnpackedRow(1, row));
    EXPECT_EQ((std::vector<uint8_t>{1, 0, 1, 0, 1, 0, 1, 0, 1}), std::vector<uint8_t>(row, row + 9));

    auto four = Filled(3, 1, 4, [](int x, int) { return uint32_t(13 + x) & 15; });
    ASSERT_TRUE(four->GetUnpackedRow(0, row));
    EXPECT_EQ((std::vector<uint8_t>{13, 14, 15}), std::vector<uint8_t>(row, row + 3));

    auto rgb = Filled(2, 1, 24, [](int x, int) { return uint32_t(0x010203 * (x + 1)); });
    EXPECT_EQ(6, rgb->GetUnpackedRowSize());
    ASSERT_TRUE(rgb->GetUnpackedRow(0, row));
    EXPECT_EQ((std::vector<uint8_t>{3, 2, 1, 6, 4, 2}), std::vector<uint8_t>(row, row + 6));

    auto deep = Filled(2, 1, 32, [](int, int) { return 0u; });
    EXPECT_FALSE(deep->GetUnpackedRow(0, row));
}

TEST(CDib, RotationsMirrorsAndFlips)
{
    for (int32_t bits : {4, 8, 24, 32}) {
        SCOPED_TRACE(bits);
        auto value = [](int x, int y) { return uint32_t(1 + x + 3 * y); };  // 3 x 2
        auto dib = Filled(3, 2, bits, value);
        ASSERT_TRUE(dib->Rotate(360));
        EXPECT_EQ(3, dib->Width());
        ASSERT_TRUE(dib->Rotate(90));
        ASSERT_EQ(2, dib->Width());
        ASSERT_EQ(3, dib->Height());
        // Row r of the turned bitmap is source column 2 - r.
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 2; ++x)
                EXPECT_EQ(value(2 - y, x), dib->PixelAt(x, y)) << x << "," << y;
        ASSERT_TRUE(dib->Rotate(270));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(value(x, y), dib->PixelAt(x, y)) << x << "," << y;
        ASSERT_TRUE(dib->Rotate(180));
        EXPECT_EQ(value(2, 1), dib->PixelAt(0, 0));
        EXPECT_EQ(value(0, 0), dib->PixelAt(2, 1));
        EXPECT_FALSE(dib->Rotate(45));
    }
}

TEST(CDib, DuplicatesPalettesAndUniqueCopies)
{
    auto dib = Filled(4, 2, 8, [](int x, int y) { return uint32_t(x + 4 * y); });
    std::unique_ptr<CDib> copy(dib->Duplicate());
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(dib->PixelAt(3, 1), copy->PixelAt(3, 1));
    copy->SetPixelAt(3, 1, 99);
    EXPECT_EQ(7u, dib->PixelAt(3, 1));

    EXPECT_EQ(dib.get(), dib->MakeUnique());
    dib->AddUse();
    std::unique_ptr<CDib> unique(dib->MakeUnique());
    ASSERT_NE(dib.get(), unique.get());
    EXPECT_EQ(7u, unique->PixelAt(3, 1));

    HPALETTE palette = dib->CreatePalette();
    ASSERT_NE(nullptr, palette);
    EXPECT_EQ(256u, GetPaletteEntries(palette, 0, 0, nullptr));
    DeleteObject(palette);
    auto deep = Filled(1, 1, 24, [](int, int) { return 0u; });
    EXPECT_EQ(nullptr, deep->CreatePalette());

    // A block whose header does not fit it is refused.
    HGLOBAL bad = GlobalAlloc(GHND, 60);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(bad));
    header->biSize = 40;
    header->biWidth = 100;
    header->biHeight = 100;
    header->biBitCount = 24;
    GlobalUnlock(bad);
    CDib refused;
    EXPECT_FALSE(refused.SetGlobal(bad));
    EXPECT_EQ(0, refused.Width());
}
