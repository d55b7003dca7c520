#pragma once
// Small canvases and render targets for the canvas tests.
#include <cstring>
#include <memory>

#include "canvas/plane.h"
#include "media/bitmap.h"

// A 32-bit target whose every byte is fill.
inline std::unique_ptr<MMBitmapWithPixels> MakeTarget(int32_t width, int32_t height,
                                                      uint8_t fill = 0xEE)
{
    std::unique_ptr<MMBitmapWithPixels> bitmap(
        MMBitmap::CreateWithPixels({0, 0, width, height}, kPixelBGRA, nullptr));
    std::memset(bitmap->pixels, fill, size_t(bitmap->pitch) * height);
    return bitmap;
}

inline uint32_t TargetWord(const MMBitmap& target, int32_t x, int32_t y)
{
    uint32_t word;
    std::memcpy(&word, target.PixelAddress(x, y), 4);
    return word;
}

// Colour bytes as a word: blue low.
inline uint32_t Bgr(int blue, int green, int red) { return uint32_t(blue | green << 8 | red << 16); }

// Every pixel the given colour, type 0, height h, shadow 0.
inline void Paint(KVXPlaneComponent& plane, uint32_t bgr, uint16_t h)
{
    KVXComponentPixel p = {uint8_t(bgr), uint8_t(bgr >> 8), uint8_t(bgr >> 16), 0, h, 0};
    plane.Fill(p);
}
