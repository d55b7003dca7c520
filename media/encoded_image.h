#pragma once
// Run-length encoded images: per row alternating transparent and opaque runs;
// only opaque pixels are stored. All offsets are 16-bit from the data start.
#include <cstdint>
#include "framework/geometry.h"
#include "media/bitmap.h"

class MMEncodedImage : public MMImageDescription {
public:
    MMEncodedImage() = default;
    MMEncodedImage(const MMEncodedImage&) = default;
    MMEncodedImage& operator=(const MMEncodedImage&) = default;

    bool IsValid() const override;
    void BlitRows(MMBlitRequest& request, MMRowRoutine routine) const override;

    // Null when the point (relative to the top-left) lies in a transparent run.
    const uint8_t* PixelAddress(const Pair& point) const;

private:
    void BlitRowsOneToOne(MMBlitRequest& request, MMRowRoutine routine) const;
    void BlitRowsThroughBuffer(MMBlitRequest& request, MMRowRoutine routine) const;
    uint16_t Offset(int index) const;
};

// The largest encoded data: every offset is 16-bit.
const int32_t MM_MAX_ENCODED_BYTES = 65535;

// True when every row's runs and pixels of `size` bytes of encoded data lie
// inside the data, so that drawing, byte swapping and hit tests never leave
// it; `swapped` reads the offsets in the other byte order.
bool IsSoundEncodedImage(const uint8_t* data, int32_t size, int32_t width, int32_t height,
                         int32_t pixelSize, bool swapped);

// Reverses the row offsets and, for 4-byte pixels, every pixel word.
void SwapEncodedImageBytes(uint8_t* data, int32_t height, int32_t pixelSize);

// Bytes EncodeBitmap needs for a bitmap of pixel kind 0 or 1; 0 when a row
// needs more than 1024 run bytes or the data would reach 65536 bytes.
int32_t MeasureEncodedSize(const MMBitmap& bitmap);
// Writes the encoded data; the number of bytes written, 0 on failure.
int32_t EncodeBitmap(const MMBitmap& bitmap, uint8_t* buffer, int32_t bufferSize);
