#include "canvas/blend.h"

#include <algorithm>

#include "media/bitmap.h"

namespace {

constexpr KVXBlendTable MakeBlendTable()
{
    KVXBlendTable table{};
    for (unsigned i = 0; i < 256; ++i)
        for (unsigned j = 0; j < 256; ++j)
            table.entry[i][j] = static_cast<uint8_t>((128 + i * j) / 255);
    return table;
}

}  // namespace

// Filled by the compiler, so it is ready before any static constructor runs.
extern constinit const KVXBlendTable BlendTable = MakeBlendTable();

void SmoothUnmarkedPixels3x3(const MMBitmap& bitmap)
{
    if (bitmap.bitsPerPixel != 32 || bitmap.pixels == nullptr)
        return;
    const Box& b = bitmap.box;
    for (int32_t y = b.top + 1; y < b.bottom - 1; ++y) {
        for (int32_t x = b.left + 1; x < b.right - 1; ++x) {
            uint8_t* p = bitmap.PixelAddress(x, y);
            if (p[3] != 0)
                continue;
            const uint8_t* up = bitmap.PixelAddress(x, y - 1);
            const uint8_t* down = bitmap.PixelAddress(x, y + 1);
            for (int c = 0; c < 3; ++c) {
                int sum = BlendTable[p[c]][64] + BlendTable[p[c - 4]][32] +
                          BlendTable[p[c + 4]][32] + BlendTable[up[c]][32] +
                          BlendTable[down[c]][32] + BlendTable[up[c - 4]][16] +
                          BlendTable[up[c + 4]][16] + BlendTable[down[c - 4]][16] +
                          BlendTable[down[c + 4]][16];
                p[c] = uint8_t(std::min(sum, 255));
            }
        }
    }
}
