#pragma once
// The 256-entry colour table of pictures and of the screen, and its
// conversion to a logical palette that leaves the system's 20 static
// colours in place on palette displays.

#include <windows.h>
#include <cstdint>

class FSReader;
class FSWriter;

// Entries are blue, green, red and a fourth byte that carries the entry's
// transparency (0 opaque, 255 clear) where pictures use it.
class MMColorTable {
public:
    MMColorTable();  // all zeros
    MMColorTable(const MMColorTable& other);
    MMColorTable& operator=(const MMColorTable& other);

    void Assign(const MMColorTable& other);  // nothing when other is this table
    void Copy(const MMColorTable& other) { Assign(other); }

    // 256 32-bit entries; a big-endian reader reverses each entry. On failure
    // the table becomes all zeros.
    bool Read(FSReader& reader);
    bool Write(FSWriter& writer) const;
    void SwapBytes();

    // Entry 0 black, entry 255 white, fourth bytes cleared.
    void WithBlackAndWhiteEnds(MMColorTable& out) const;
    bool IsOpaque() const;         // every fourth byte is 0
    bool IsKeyed() const;          // fourth bytes only 0 or 255, some 255
    bool HasPartialAlpha() const;  // some fourth byte neither 0 nor 255
    bool Equals(const MMColorTable& other) const;  // all four bytes

    RGBQUAD entries[256];
};

// Red, green and blue of all entries agree (the fourth byte is ignored).
bool ColorTablesEqual(const MMColorTable& a, const MMColorTable& b);
bool ReadColorTable(FSReader& reader, MMColorTable& table);
bool WriteColorTable(FSWriter& writer, const MMColorTable& table);
void SwapColorTable(MMColorTable& table);

// A LOGPALETTE with room for all 256 entries.
struct MMLogPalette {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[256];
};

// On a palette device entries 0-9 and 246-255 are explicit references to
// the system palette's static colours; every other entry takes the table's
// colour with PC_NOCOLLAPSE.
void MakeLogPalette(const MMColorTable& table, HDC dc, MMLogPalette& palette);
// The same over 256 RGBQUAD entries.
void MakeLogPalette(const RGBQUAD* table, HDC dc, MMLogPalette& palette);
// The same for a device known to be (or not to be) palette-based.
void MakeLogPaletteForDevice(const RGBQUAD* table, bool paletteDevice, MMLogPalette& palette);
