#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "framework/color_table.h"
#include "framework/files.h"

namespace {

MMColorTable Ramp()
{
    MMColorTable table;
    for (int i = 0; i < 256; ++i)
        table.entries[i] = RGBQUAD{static_cast<BYTE>(255 - i), static_cast<BYTE>(i / 2),
                                   static_cast<BYTE>(i), 0};
    return table;
}

}  // namespace

TEST(Palette, StaticColoursAreExplicitOnPaletteDevices)
{
    MMColorTable table = Ramp();
    MMLogPalette palette;
    MakeLogPaletteForDevice(table.entries, true, palette);
    EXPECT_EQ(0x300, palette.palVersion);
    EXPECT_EQ(256, palette.palNumEntries);
    for (int i : {0, 5, 9, 246, 250, 255}) {
        const PALETTEENTRY& e = palette.palPalEntry[i];
        EXPECT_EQ(i, e.peRed) << i;
        EXPECT_EQ(0, e.peGreen) << i;
        EXPECT_EQ(0, e.peBlue) << i;
        EXPECT_EQ(PC_EXPLICIT, e.peFlags) << i;
    }
    for (int i : {10, 128, 245}) {
        const PALETTEENTRY& e = palette.palPalEntry[i];
        EXPECT_EQ(i, e.peRed) << i;
        EXPECT_EQ(i / 2, e.peGreen) << i;
        EXPECT_EQ(255 - i, e.peBlue) << i;
        EXPECT_EQ(PC_NOCOLLAPSE, e.peFlags) << i;
    }

    MakeLogPaletteForDevice(table.entries, false, palette);
    EXPECT_EQ(5, palette.palPalEntry[5].peRed);
    EXPECT_EQ(2, palette.palPalEntry[5].peGreen);
    EXPECT_EQ(PC_NOCOLLAPSE, palette.palPalEntry[5].peFlags);

    HDC screen = GetDC(nullptr);
    bool paletteDevice = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
    MakeLogPalette(table, screen, palette);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(paletteDevice ? PC_EXPLICIT : PC_NOCOLLAPSE, palette.palPalEntry[0].peFlags);
    HPALETTE handle = CreatePalette(reinterpret_cast<LOGPALETTE*>(&palette));
    EXPECT_NE(nullptr, handle);
    DeleteObject(handle);
}

TEST(Palette, ComparisonsAndTransparencyKinds)
{
    MMColorTable a = Ramp();
    MMColorTable b = a;
    b.entries[7].rgbReserved = 255;
    EXPECT_TRUE(ColorTablesEqual(a, b));
    EXPECT_FALSE(a.Equals(b));
    b.entries[7].rgbGreen ^= 1;
    EXPECT_FALSE(ColorTablesEqual(a, b));

    MMColorTable keyed = a;
    keyed.entries[0].rgbReserved = 255;
    MMColorTable partial = a;
    partial.entries[3].rgbReserved = 128;
    EXPECT_TRUE(a.IsOpaque());
    EXPECT_FALSE(a.IsKeyed());
    EXPECT_TRUE(keyed.IsKeyed());
    EXPECT_FALSE(keyed.IsOpaque());
    EXPECT_FALSE(keyed.HasPartialAlpha());
    EXPECT_TRUE(partial.HasPartialAlpha());
    EXPECT_FALSE(partial.IsKeyed());

    MMColorTable ends;
    partial.WithBlackAndWhiteEnds(ends);
    EXPECT_EQ(0, std::memcmp(&ends.entries[0], "\0\0\0\0", 4));
    EXPECT_EQ(0, std::memcmp(&ends.entries[255], "\xFF\xFF\xFF\0", 4));
    EXPECT_TRUE(ends.IsOpaque());
    EXPECT_EQ(partial.entries[3].rgbRed, ends.entries[3].rgbRed);
}

TEST(Palette, TablesReadInEitherByteOrder)
{
    MMColorTable table = Ramp();
    table.entries[1].rgbReserved = 9;
    uint8_t bytes[2 + 1024];
    FSMemory writer(bytes, sizeof bytes);
    ASSERT_TRUE(writer.WriteByteOrderMark());
    ASSERT_TRUE(WriteColorTable(writer, table));

    FSMemory reader(bytes, sizeof bytes);
    MMColorTable back;
    ASSERT_TRUE(reader.ReadByteOrderMark());
    ASSERT_TRUE(ReadColorTable(reader, back));
    EXPECT_TRUE(back.Equals(table));

    // The same entries stored big-endian come back reversed per entry.
    bytes[0] = bytes[1] = 'M';
    FSMemory bigReader(bytes, sizeof bytes);
    ASSERT_TRUE(bigReader.ReadByteOrderMark());
    ASSERT_TRUE(back.Read(bigReader));
    MMColorTable swapped = table;
    SwapColorTable(swapped);
    EXPECT_TRUE(back.Equals(swapped));
    EXPECT_EQ(table.entries[1].rgbReserved, back.entries[1].rgbBlue);

    FSMemory shortReader(bytes, 100);
    EXPECT_FALSE(back.Read(shortReader));
    EXPECT_TRUE(back.Equals(MMColorTable()));
}
