#pragma once
// Image descriptions: an extent, a pixel format, a transparency rule and a
// pointer to pixels. Descriptions are values; copying never copies pixels.
#include <cstdint>
#include "framework/geometry.h"

class Heap;
class MMBlitRequest;
class MMSurface;

// Row routine: first source pixel of the row, first destination pixel, request.
typedef void (*MMRowRoutine)(const uint8_t* source, uint8_t* destination,
                             const MMBlitRequest& request);

// Byte order in memory, lowest address first.
enum MMPixelKind : int32_t {
    kPixelIndexed = 0,  // one palette index
    kPixelBGRA = 1,     // blue, green, red, byte 3
    kPixelBGR = 2,      // blue, green, red
    kPixelRGBA = 3,     // red, green, blue, byte 3
    kPixelRGB = 4,      // red, green, blue
    kPixelNoStore = 5   // a window surface without a pixel store
};

// Byte 3 counts transparency: 0 opaque, 255 clear.
enum MMTransparencyKind : int32_t {
    kTransparencyOpaque = 0,
    kTransparencyKeyed = 1,          // index 0, or byte 3 = 255, is clear
    kTransparencyPremultiplied = 2,
    kTransparencyStraight = 3
};

class MMImageDescription {
public:
    virtual ~MMImageDescription();
    virtual bool IsValid() const;
    virtual void BlitRows(MMBlitRequest& request, MMRowRoutine routine) const = 0;

    int32_t Width() const { return box.right - box.left; }
    int32_t Height() const { return box.bottom - box.top; }

    int32_t bitsPerPixel = 0;
    int32_t bytesPerPixel = 0;
    int32_t pixelKind = -1;
    int32_t transparencyKind = -1;
    Box box = {0, 0, 0, 0};
    uint8_t* pixels = nullptr;

protected:
    MMImageDescription() = default;
    MMImageDescription(const MMImageDescription&) = default;
    MMImageDescription& operator=(const MMImageDescription&) = default;
};

class MMBitmapWithPixels;

class MMBitmap : public MMImageDescription {
public:
    MMBitmap() = default;
    MMBitmap(const MMBitmap&) = default;
    MMBitmap& operator=(const MMBitmap&) = default;

    bool IsValid() const override;
    void BlitRows(MMBlitRequest& request, MMRowRoutine routine) const override;

    uint8_t* PixelAddress(int32_t x, int32_t y) const;
    // The box is used unchanged: callers clip it first.
    void SubBitmap(MMBitmap& out, const Box& part) const;

    // Byte 3 of every 32-bit pixel of the box becomes value.
    void SetAlphaInBox(uint8_t value);

    // Pixel memory from heap (null: the runtime allocator), not cleared.
    static MMBitmapWithPixels* CreateWithPixels(const Box& box, int32_t pixelKind, Heap* heap);

    // Byte distance between rows; negative for bottom-up storage.
    int32_t pitch = 0;
};

// Owns its pixel memory; rows are padded to 4 bytes, top-down.
class MMBitmapWithPixels : public MMBitmap {
public:
    MMBitmapWithPixels() = default;
    ~MMBitmapWithPixels() override;
    MMBitmapWithPixels(const MMBitmapWithPixels&) = delete;
    MMBitmapWithPixels& operator=(const MMBitmapWithPixels&) = delete;
};

// Views of 32-bit pixel memory used by the canvas and imaging code; the names
// tell whether byte 3 is alpha and whether the caller writes. Made from a
// bitmap and a box, a view covers their intersection; when they do not meet
// its box is {0, 0, 0, 0} and it holds no pixels.
class MMClippedBitmap : public MMBitmap {
public:
    MMClippedBitmap() = default;
    MMClippedBitmap(const MMBitmap& bitmap, const Box& box);
};
class CAlphaBitmap : public MMClippedBitmap {
public:
    using MMClippedBitmap::MMClippedBitmap;
};
class CConstAlphaBitmap : public MMClippedBitmap {
public:
    using MMClippedBitmap::MMClippedBitmap;
};
class CRGBBitmap : public MMClippedBitmap {
public:
    using MMClippedBitmap::MMClippedBitmap;
    // The surface's own description; all zero when it has no pixel store.
    static CRGBBitmap FromSurface(MMSurface* surface);
};
class CConstRGBBitmap : public MMClippedBitmap {
public:
    using MMClippedBitmap::MMClippedBitmap;
};

// Bits per pixel of a pixel kind: 8, 24 or 32.
int32_t MMBitsForPixelKind(int32_t pixelKind);
// (bytesPerPixel x width + 3) rounded down to a multiple of 4.
int32_t MMRowBytes(int32_t width, int32_t bytesPerPixel);
