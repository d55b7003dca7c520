#pragma once
// The colour argument of the drawing primitives.
#include <windows.h>
#include <cstdint>

// A palette index of -1 means the blue, green and red bytes give the colour;
// any other index draws that palette entry. The spare byte never counts.
struct MMColor {
    int16_t index;
    uint8_t blue;
    uint8_t green;
    uint8_t red;
    uint8_t spare;
};
static_assert(sizeof(MMColor) == 6, "MMColor is passed as 6 bytes");

bool MMColorEqual(const MMColor& a, const MMColor& b);
// blueGreenRed holds blue in its lowest byte, then green, then red.
MMColor MakeMMColorFromRgb(uint32_t blueGreenRed);
MMColor MakeMMColorFromIndex(int16_t index);
// RGB() for index -1, else PALETTEINDEX(index).
COLORREF MMColorToColorRef(const MMColor& color);
