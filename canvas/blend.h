#pragma once
// 8-bit mixing through one program-wide product table: BlendTable[a][b] is
// a x b on the 0..255 scale, rounded.
#include <cstdint>

class MMBitmap;

struct KVXBlendTable {
    uint8_t entry[256][256];
    const uint8_t* operator[](unsigned a) const { return entry[a]; }
};
extern const KVXBlendTable BlendTable;

// a moved toward b by w / 255.
inline uint8_t BlendBytes(uint8_t a, uint8_t b, uint8_t w)
{
    return static_cast<uint8_t>(BlendTable[a][255 - w] + BlendTable[b][w]);
}

// Blue, green and red of destination moved toward those of source by
// weight / 255; the fourth byte is not touched. 0 keeps, 255 replaces.
inline void BlendRgb(uint8_t* destination, const uint8_t* source, uint8_t weight)
{
    const uint8_t* keep = BlendTable[255 - weight];
    const uint8_t* take = BlendTable[weight];
    // Three statements, not a loop, so that a pixel held in registers stays there.
    destination[0] = static_cast<uint8_t>(keep[destination[0]] + take[source[0]]);
    destination[1] = static_cast<uint8_t>(keep[destination[1]] + take[source[1]]);
    destination[2] = static_cast<uint8_t>(keep[destination[2]] + take[source[2]]);
}

// Smooths a locked 32-bit bitmap in place, row by row, except its one-pixel
// border: every pixel whose fourth byte is 0 becomes a 3 x 3 weighted sum of
// itself (64), its side neighbours (32) and its corners (16), capped at 255.
// Neighbours smoothed earlier in the pass count with their new values.
void SmoothUnmarkedPixels3x3(const MMBitmap& bitmap);
