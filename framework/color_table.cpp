#include "framework/color_table.h"

#include <cstring>

#include "framework/byte_order_streams.h"

MMColorTable::MMColorTable() { std::memset(entries, 0, sizeof entries); }

MMColorTable::MMColorTable(const MMColorTable& other)
{
    std::memcpy(entries, other.entries, sizeof entries);
}

MMColorTable& MMColorTable::operator=(const MMColorTable& other)
{
    Assign(other);
    return *this;
}

void MMColorTable::Assign(const MMColorTable& other)
{
    if (&other != this)
        std::memcpy(entries, other.entries, sizeof entries);
}

bool MMColorTable::Read(FSReader& reader)
{
    if (reader.GetError() == 0 && reader.ReadBytes(entries, sizeof entries) &&
        reader.GetError() == 0) {
        if (reader.SwapsBytes())
            SwapBytes();
        return true;
    }
    std::memset(entries, 0, sizeof entries);
    return false;
}

bool MMColorTable::Write(FSWriter& writer) const
{
    if (writer.GetError() != 0)
        return false;
    writer.WriteBytes(entries, sizeof entries);
    return writer.GetError() == 0;
}

void MMColorTable::SwapBytes() { SwapLongBytes(entries, 256); }

void MMColorTable::WithBlackAndWhiteEnds(MMColorTable& out) const
{
    out.Assign(*this);
    for (RGBQUAD& entry : out.entries)
        entry.rgbReserved = 0;
    out.entries[0] = RGBQUAD{0, 0, 0, 0};
    out.entries[255] = RGBQUAD{255, 255, 255, 0};
}

bool MMColorTable::IsOpaque() const
{
    for (const RGBQUAD& entry : entries) {
        if (entry.rgbReserved != 0)
            return false;
    }
    return true;
}

bool MMColorTable::IsKeyed() const
{
    bool anyClear = false;
    for (const RGBQUAD& entry : entries) {
        if (entry.rgbReserved != 0 && entry.rgbReserved != 255)
            return false;
        anyClear |= entry.rgbReserved == 255;
    }
    return anyClear;
}

bool MMColorTable::HasPartialAlpha() const
{
    for (const RGBQUAD& entry : entries) {
        if (entry.rgbReserved != 0 && entry.rgbReserved != 255)
            return true;
    }
    return false;
}

bool MMColorTable::Equals(const MMColorTable& other) const
{
    return std::memcmp(entries, other.entries, sizeof entries) == 0;
}

bool ColorTablesEqual(const MMColorTable& a, const MMColorTable& b)
{
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD& x = a.entries[i];
        const RGBQUAD& y = b.entries[i];
        if (x.rgbRed != y.rgbRed || x.rgbGreen != y.rgbGreen || x.rgbBlue != y.rgbBlue)
            return false;
    }
    return true;
}

bool ReadColorTable(FSReader& reader, MMColorTable& table) { return table.Read(reader); }

bool WriteColorTable(FSWriter& writer, const MMColorTable& table) { return table.Write(writer); }

void SwapColorTable(MMColorTable& table) { table.SwapBytes(); }

namespace {

void FillLogPalette(const RGBQUAD* table, bool paletteDevice, MMLogPalette& palette)
{
    palette.palVersion = 0x300;
    palette.palNumEntries = 256;
    for (int i = 0; i < 256; ++i) {
        PALETTEENTRY& entry = palette.palPalEntry[i];
        if (paletteDevice && (i < 10 || i >= 246)) {
            // The static colours stay where the system keeps them.
            entry = PALETTEENTRY{static_cast<BYTE>(i), 0, 0, PC_EXPLICIT};
        } else {
            entry = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue,
                                 PC_NOCOLLAPSE};
        }
    }
}

}  // namespace

void MakeLogPalette(const RGBQUAD* table, HDC dc, MMLogPalette& palette)
{
    FillLogPalette(table, (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0, palette);
}

void MakeLogPalette(const MMColorTable& table, HDC dc, MMLogPalette& palette)
{
    MakeLogPalette(table.entries, dc, palette);
}

void MakeLogPaletteForDevice(const RGBQUAD* table, bool paletteDevice, MMLogPalette& palette)
{
    FillLogPalette(table, paletteDevice, palette);
}
