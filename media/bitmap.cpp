#include "media/bitmap.h"

#include <cstdlib>
#include <new>
#include "framework/heap.h"
#include "media/surface.h"

MMImageDescription::~MMImageDescription() = default;

int32_t MMBitsForPixelKind(int32_t pixelKind)
{
    switch (pixelKind) {
    case kPixelBGRA:
    case kPixelRGBA:
        return 32;
    case kPixelBGR:
    case kPixelRGB:
        return 24;
    default:
        return 8;
    }
}

int32_t MMRowBytes(int32_t width, int32_t bytesPerPixel)
{
    return (bytesPerPixel * width + 3) & ~3;
}

bool MMImageDescription::IsValid() const
{
    if (box.left >= box.right || box.top >= box.bottom) {
        return false;
    }
    if (pixelKind < kPixelIndexed || pixelKind > kPixelRGB) {
        return false;
    }
    if (transparencyKind < kTransparencyOpaque || transparencyKind > kTransparencyStraight) {
        return false;
    }
    if ((pixelKind == kPixelBGR || pixelKind == kPixelRGB) &&
        transparencyKind != kTransparencyOpaque) {
        return false;
    }
    return bitsPerPixel == MMBitsForPixelKind(pixelKind) && bitsPerPixel == 8 * bytesPerPixel;
}

bool MMBitmap::IsValid() const
{
    if (!MMImageDescription::IsValid()) {
        return false;
    }
    if (pitch != 0 && std::abs(pitch) < Width() * bytesPerPixel) {
        return false;
    }
    return pixels != nullptr;
}

uint8_t* MMBitmap::PixelAddress(int32_t x, int32_t y) const
{
    return pixels + (y - box.top) * pitch + (x - box.left) * bitsPerPixel / 8;
}

void MMBitmap::SubBitmap(MMBitmap& out, const Box& part) const
{
    out = *this;
    out.box = part;
    out.pixels = PixelAddress(part.left, part.top);
}

void MMBitmap::SetAlphaInBox(uint8_t value)
{
    if (bitsPerPixel != 32 || pixels == nullptr) {
        return;
    }
    for (int32_t y = box.top; y < box.bottom; ++y) {
        uint8_t* p = PixelAddress(box.left, y) + 3;
        for (int32_t x = box.left; x < box.right; ++x, p += 4) {
            *p = value;
        }
    }
}

MMClippedBitmap::MMClippedBitmap(const MMBitmap& bitmap, const Box& part)
{
    Box clipped = bitmap.box;
    clipped.Intersect(part);
    if (clipped.IsEmpty()) {
        box = {0, 0, 0, 0};
        return;
    }
    MMBitmap::operator=(bitmap);
    box = clipped;
    pixels = bitmap.PixelAddress(clipped.left, clipped.top);
}

CRGBBitmap CRGBBitmap::FromSurface(MMSurface* surface)
{
    CRGBBitmap view;
    if (surface == nullptr || !surface->GetBitmap(view)) {
        view.bitsPerPixel = 0;
        view.bytesPerPixel = 0;
        view.pixelKind = 0;
        view.transparencyKind = 0;
        view.box = {0, 0, 0, 0};
        view.pixels = nullptr;
        view.pitch = 0;
    }
    return view;
}

MMBitmapWithPixels* MMBitmap::CreateWithPixels(const Box& box, int32_t pixelKind, Heap* heap)
{
    int32_t bits = MMBitsForPixelKind(pixelKind);
    int32_t pitch = MMRowBytes(box.Width(), bits / 8);
    void* memory = HeapAllocate(static_cast<size_t>(pitch) * box.Height(), heap);
    if (memory == nullptr) {
        return nullptr;
    }
    MMBitmapWithPixels* bitmap = new (gDefaultHeap) MMBitmapWithPixels;
    if (bitmap == nullptr) {
        operator delete(memory);
        return nullptr;
    }
    bitmap->bitsPerPixel = bits;
    bitmap->bytesPerPixel = bits / 8;
    bitmap->pixelKind = pixelKind;
    bitmap->transparencyKind = kTransparencyOpaque;
    bitmap->box = box;
    bitmap->pitch = pitch;
    bitmap->pixels = static_cast<uint8_t*>(memory);
    return bitmap;
}

MMBitmapWithPixels::~MMBitmapWithPixels()
{
    // The block records the heap it came from.
    operator delete(pixels);
}
