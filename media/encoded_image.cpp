#include "media/encoded_image.h"

#include <cstring>
#include "framework/byte_order_streams.h"
#include "framework/heap.h"
#include "media/blit_request.h"

namespace {

// Rows whose decoded bytes fit here decode on the stack.
const int kStackRowBytes = 2048;
const int kMaxRunBytesPerRow = 1024;
const int32_t kMaxEncodedSize = MM_MAX_ENCODED_BYTES + 1;

int32_t RunCost(int32_t length)
{
    return 1 + 2 * ((length - 1) / 255);
}

bool IsClear(const uint8_t* pixel, int32_t pixelKind)
{
    return pixelKind == kPixelIndexed ? pixel[0] == 0 : pixel[3] == 255;
}

// Calls run(length, opaque) for each run of one bitmap row, starting with a
// (possibly empty) transparent run.
template <typename Run>
void ForEachRun(const MMBitmap& bitmap, int32_t y, Run run)
{
    const uint8_t* p = bitmap.PixelAddress(bitmap.box.left, y);
    int32_t w = bitmap.Width();
    bool opaque = false;
    int32_t x = 0;
    while (x < w) {
        int32_t start = x;
        while (x < w && IsClear(p + x * bitmap.bytesPerPixel, bitmap.pixelKind) != opaque) {
            ++x;
        }
        run(start, x - start, opaque);
        opaque = !opaque;
    }
}

}  // namespace

uint16_t MMEncodedImage::Offset(int index) const
{
    uint16_t value;
    std::memcpy(&value, pixels + 2 * index, 2);
    return value;
}

bool MMEncodedImage::IsValid() const
{
    return MMImageDescription::IsValid() && pixels != nullptr;
}

const uint8_t* MMEncodedImage::PixelAddress(const Pair& point) const
{
    int32_t h = Height();
    const uint8_t* runs = pixels + Offset(point.y);
    const uint8_t* opaquePixels = pixels + Offset(h + point.y);
    int32_t position = 0;
    bool opaque = false;
    for (;;) {
        int32_t length = *runs++;
        if (point.x < position + length) {
            return opaque ? opaquePixels + (point.x - position) * bytesPerPixel : nullptr;
        }
        if (opaque) {
            opaquePixels += length * bytesPerPixel;
        }
        position += length;
        opaque = !opaque;
    }
}

void MMEncodedImage::BlitRows(MMBlitRequest& request, MMRowRoutine routine) const
{
    if (request.xStep == 0x10000) {
        BlitRowsOneToOne(request, routine);
    } else {
        BlitRowsThroughBuffer(request, routine);
    }
}

void MMEncodedImage::BlitRowsOneToOne(MMBlitRequest& request, MMRowRoutine routine) const
{
    const MMBitmap& target = request.destination;
    const int16_t width = request.width;
    const int32_t first = request.sourceX >> 16;
    const int32_t last = first + width;
    const int32_t h = Height();
    const uint8_t* runsEnd = pixels + Offset(2 * h);
    uint8_t* d = target.pixels;
    int32_t y = request.sourceY;
    for (int32_t rows = target.Height(); rows > 0; --rows, y += request.yStep, d += target.pitch) {
        int32_t row = y >> 16;
        const uint8_t* runs = pixels + Offset(row);
        const uint8_t* opaquePixels = pixels + Offset(h + row);
        uint8_t* out = d;
        int32_t position = 0;
        bool opaque = false;
        while (position < last && runs < runsEnd) {
            int32_t length = *runs++;
            int32_t start = position;
            position += length;
            if (position > first) {
                int32_t visibleStart = start > first ? start : first;
                int32_t visibleEnd = position < last ? position : last;
                if (opaque && visibleEnd > visibleStart) {
                    request.width = static_cast<int16_t>(visibleEnd - visibleStart);
                    routine(opaquePixels + (visibleStart - start) * bytesPerPixel, out, request);
                }
                out += (visibleEnd - visibleStart) * target.bytesPerPixel;
            }
            if (opaque) {
                opaquePixels += length * bytesPerPixel;
            }
            opaque = !opaque;
        }
    }
    request.width = width;
}

void MMEncodedImage::BlitRowsThroughBuffer(MMBlitRequest& request, MMRowRoutine routine) const
{
    const MMBitmap& target = request.destination;
    const int32_t h = Height();
    const int32_t w = Width();
    const uint8_t* runsEnd = pixels + Offset(2 * h);
    // The highest column the routine reads.
    int32_t highest = request.sourceX >> 16;
    if (request.xStep > 0) {
        highest = (request.sourceX + request.xStep * (request.width - 1)) >> 16;
    }
    if (highest >= w) {
        highest = w - 1;
    }

    // Sized from the image: a fixed buffer would overflow on wide rows.
    uint8_t stackRow[kStackRowBytes];
    uint8_t* buffer = stackRow;
    int32_t bufferBytes = w * bytesPerPixel;
    if (bufferBytes > kStackRowBytes) {
        buffer = static_cast<uint8_t*>(HeapAllocate(bufferBytes, nullptr));
        if (buffer == nullptr) {
            return;
        }
    }
    const uint8_t fill = pixelKind == kPixelIndexed ? 0 : 255;
    const uint8_t* rowStart = buffer + (request.sourceX >> 16) * bytesPerPixel;

    uint8_t* d = target.pixels;
    int32_t y = request.sourceY;
    for (int32_t rows = target.Height(); rows > 0; --rows, y += request.yStep, d += target.pitch) {
        int32_t row = y >> 16;
        const uint8_t* runs = pixels + Offset(row);
        const uint8_t* opaquePixels = pixels + Offset(h + row);
        int32_t position = 0;
        bool opaque = false;
        while (position <= highest && runs < runsEnd) {
            int32_t length = *runs++;
            if (length > w - position) {
                length = w - position;
            }
            uint8_t* at = buffer + position * bytesPerPixel;
            if (opaque) {
                std::memcpy(at, opaquePixels, length * bytesPerPixel);
                opaquePixels += length * bytesPerPixel;
            } else {
                std::memset(at, fill, length * bytesPerPixel);
            }
            position += length;
            opaque = !opaque;
        }
        routine(rowStart, d, request);
    }
    if (buffer != stackRow) {
        operator delete(buffer);
    }
}

void SwapEncodedImageBytes(uint8_t* data, int32_t height, int32_t pixelSize)
{
    SwapShortBytes(data, 2 * height + 1);
    if (pixelSize != 4) {
        return;
    }
    uint16_t first;
    uint16_t end;
    std::memcpy(&first, data + 2 * height, 2);
    std::memcpy(&end, data + 4 * height, 2);
    if (end > first) {
        SwapLongBytes(data + first, (end - first) / 4);
    }
}

namespace {

uint16_t ReadOffset(const uint8_t* data, int32_t index, bool swapped)
{
    uint16_t value;
    std::memcpy(&value, data + 2 * index, 2);
    return swapped ? static_cast<uint16_t>((value >> 8) | (value << 8)) : value;
}

}  // namespace

bool IsSoundEncodedImage(const uint8_t* data, int32_t size, int32_t width, int32_t height,
                         int32_t pixelSize, bool swapped)
{
    int32_t header = 4 * height + 2;
    if (height < 0 || width < 0 || size < header) {
        return false;
    }
    int32_t end = ReadOffset(data, 2 * height, swapped);
    if (end < header || end > size) {
        return false;
    }
    for (int32_t y = 0; y < height; ++y) {
        int32_t run = ReadOffset(data, y, swapped);
        int32_t pixel = ReadOffset(data, height + y, swapped);
        if (run < header || pixel > end) {
            return false;
        }
        bool opaque = false;
        for (int32_t x = 0; x < width; opaque = !opaque) {
            if (run >= end) {
                return false;
            }
            int32_t count = data[run++];
            if (opaque) {
                pixel += count * pixelSize;
            }
            x += count;
        }
        if (pixel > end) {
            return false;
        }
    }
    return true;
}

int32_t MeasureEncodedSize(const MMBitmap& bitmap)
{
    if (bitmap.pixelKind != kPixelIndexed && bitmap.pixelKind != kPixelBGRA) {
        return 0;
    }
    int32_t h = bitmap.Height();
    int32_t runBytes = 0;
    int32_t pixelBytes = 0;
    for (int32_t y = bitmap.box.top; y < bitmap.box.bottom; ++y) {
        int32_t rowRuns = 0;
        ForEachRun(bitmap, y, [&](int32_t, int32_t length, bool opaque) {
            rowRuns += RunCost(length);
            if (opaque) {
                pixelBytes += length * bitmap.bytesPerPixel;
            }
        });
        if (rowRuns > kMaxRunBytesPerRow) {
            return 0;
        }
        runBytes += rowRuns;
    }
    int32_t total = 2 + 4 * h + runBytes;
    if (bitmap.bytesPerPixel == 4) {
        total = (total + 3) & ~3;  // the pixel area starts 4-aligned
    }
    total += pixelBytes;
    return total >= kMaxEncodedSize ? 0 : total;
}

int32_t EncodeBitmap(const MMBitmap& bitmap, uint8_t* buffer, int32_t bufferSize)
{
    int32_t size = MeasureEncodedSize(bitmap);
    if (size == 0 || size > bufferSize) {
        return 0;
    }
    int32_t h = bitmap.Height();
    int32_t bpp = bitmap.bytesPerPixel;
    auto putOffset = [&](int32_t index, int32_t value) {
        uint16_t v = static_cast<uint16_t>(value);
        std::memcpy(buffer + 2 * index, &v, 2);
    };
    int32_t at = 4 * h + 2;
    for (int32_t row = 0; row < h; ++row) {
        putOffset(row, at);
        ForEachRun(bitmap, bitmap.box.top + row, [&](int32_t, int32_t length, bool) {
            while (length > 255) {
                buffer[at++] = 255;
                buffer[at++] = 0;
                length -= 255;
            }
            buffer[at++] = static_cast<uint8_t>(length);
        });
    }
    while (bpp == 4 && at % 4 != 0) {
        buffer[at++] = 0;
    }
    for (int32_t row = 0; row < h; ++row) {
        putOffset(h + row, at);
        int32_t y = bitmap.box.top + row;
        const uint8_t* source = bitmap.PixelAddress(bitmap.box.left, y);
        ForEachRun(bitmap, y, [&](int32_t start, int32_t length, bool opaque) {
            if (opaque) {
                std::memcpy(buffer + at, source + start * bpp, length * bpp);
                at += length * bpp;
            }
        });
    }
    putOffset(2 * h, at);
    return at;
}
