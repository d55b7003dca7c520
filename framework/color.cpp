#include "framework/color.h"

bool MMColorEqual(const MMColor& a, const MMColor& b)
{
    if (a.index != b.index) {
        return false;
    }
    if (a.index != -1) {
        return true;
    }
    return a.blue == b.blue && a.green == b.green && a.red == b.red;
}

MMColor MakeMMColorFromRgb(uint32_t blueGreenRed)
{
    MMColor color;
    color.index = -1;
    color.blue = static_cast<uint8_t>(blueGreenRed);
    color.green = static_cast<uint8_t>(blueGreenRed >> 8);
    color.red = static_cast<uint8_t>(blueGreenRed >> 16);
    color.spare = 0;
    return color;
}

MMColor MakeMMColorFromIndex(int16_t index)
{
    MMColor color = {index, 0, 0, 0, 0};
    return color;
}

COLORREF MMColorToColorRef(const MMColor& color)
{
    if (color.index == -1) {
        return RGB(color.red, color.green, color.blue);
    }
    return PALETTEINDEX(static_cast<WORD>(color.index));
}
