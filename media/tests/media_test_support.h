#pragma once
// Small pictures for the media tests.
#include <cstring>
#include <memory>
#include <random>
#include <vector>
#include "media/bitmap.h"
#include "media/encoded_image.h"

inline std::unique_ptr<MMBitmapWithPixels> MakeBitmap(int32_t pixelKind, int32_t width,
                                                      int32_t height, uint8_t fill = 0)
{
    std::unique_ptr<MMBitmapWithPixels> bitmap(
        MMBitmap::CreateWithPixels({0, 0, width, height}, pixelKind, nullptr));
    std::memset(bitmap->pixels, fill, bitmap->pitch * height);
    return bitmap;
}

// 32-bit pixels whose blue byte is the column and green byte the row.
inline std::unique_ptr<MMBitmapWithPixels> MakeCoordinates(int32_t width, int32_t height)
{
    auto bitmap = MakeBitmap(kPixelBGRA, width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = bitmap->PixelAddress(x, y);
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(y);
            p[2] = 7;
            p[3] = 0;
        }
    }
    return bitmap;
}

// A sprite of random runs: clear runs (index 0, or byte 3 = 255) between
// opaque and partly transparent ones.
inline std::unique_ptr<MMBitmapWithPixels> MakeSprite(int32_t pixelKind, int32_t transparency,
                                                      int32_t width, int32_t height,
                                                      unsigned seed)
{
    std::mt19937 random(seed);
    auto bitmap = MakeBitmap(pixelKind, width, height);
    bitmap->transparencyKind = transparency;
    for (int32_t y = 0; y < height; ++y) {
        int32_t x = 0;
        bool clear = random() % 2 == 0;
        while (x < width) {
            int32_t run = 1 + random() % (random() % 5 == 0 ? 300 : 12);
            for (; run > 0 && x < width; --run, ++x) {
                uint8_t* p = bitmap->PixelAddress(x, y);
                if (pixelKind == kPixelIndexed) {
                    *p = clear ? 0 : static_cast<uint8_t>(1 + random() % 255);
                    continue;
                }
                p[0] = static_cast<uint8_t>(random());
                p[1] = static_cast<uint8_t>(random());
                p[2] = static_cast<uint8_t>(random());
                p[3] = clear ? 255 : (random() % 3 == 0 ? static_cast<uint8_t>(random() % 255) : 0);
            }
            clear = !clear;
        }
    }
    return bitmap;
}

struct EncodedPicture {
    std::vector<uint8_t> data;
    MMEncodedImage image;
};

inline std::unique_ptr<EncodedPicture> Encode(const MMBitmap& bitmap)
{
    auto encoded = std::make_unique<EncodedPicture>();
    int32_t size = MeasureEncodedSize(bitmap);
    encoded->data.resize(size);
    if (size == 0 || EncodeBitmap(bitmap, encoded->data.data(), size) != size) {
        return nullptr;
    }
    MMEncodedImage& image = encoded->image;
    image.bitsPerPixel = bitmap.bitsPerPixel;
    image.bytesPerPixel = bitmap.bytesPerPixel;
    image.pixelKind = bitmap.pixelKind;
    image.transparencyKind = bitmap.transparencyKind;
    image.box = {0, 0, bitmap.Width(), bitmap.Height()};
    image.pixels = encoded->data.data();
    return encoded;
}

inline std::vector<uint8_t> Bytes(const MMBitmap& bitmap)
{
    const uint8_t* first = bitmap.pitch > 0 ? bitmap.pixels
                                            : bitmap.pixels + (bitmap.Height() - 1) * bitmap.pitch;
    int32_t pitch = bitmap.pitch > 0 ? bitmap.pitch : -bitmap.pitch;
    return std::vector<uint8_t>(first, first + pitch * bitmap.Height());
}
