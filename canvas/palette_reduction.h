#pragma once
// Reduction of true colour to a 256-colour palette: the nearest entry of a
// palette by a 16 x 16 x 16 grid of cells, error-diffusion dithering of
// rows, and shrinking pictures into palette or true-colour bitmaps.
#include <windows.h>

#include <cstdint>
#include <vector>

class MMBitmap;

class InversePalette {
public:
    // excludedList ends at the first value of 256 or more (null: none).
    void Build(const RGBQUAD* palette, int32_t excludedIndex, const int16_t* excludedList);
    // The index whose colour lies nearest the centre of the colour's cell
    // (-1 when every entry is excluded).
    int16_t Nearest(uint8_t red, uint8_t green, uint8_t blue);
    const RGBQUAD& Entry(int32_t index) const { return palette[index]; }

    static int32_t Cell(uint8_t red, uint8_t green, uint8_t blue)
    {
        return (red >> 4) * 256 + (green >> 4) * 16 + (blue >> 4);
    }

private:
    RGBQUAD palette[256];
    int32_t excluded = -1;
    bool flagged[256];
    int16_t cached[4096];
    int16_t head[4096];
    int16_t next[256];
};

enum KVXDitherSource : int32_t {
    kDitherBGRX = 0,     // 32-bit blue, green, red, spare
    kDitherRGB = 1,      // 24-bit red, green, blue
    kDitherBGR = 2,      // 24-bit blue, green, red
    kDitherIndexed = 3,  // 8-bit through a second palette
};

// Floyd-Steinberg on integers, one row after another.
class PaletteDitherer {
public:
    PaletteDitherer(int32_t width, const RGBQUAD* palette, int32_t excludedIndex,
                    const int16_t* excludedList);
    void SetSource(int32_t kind, const RGBQUAD* sourcePalette = nullptr);
    // Colours that only err one way: at the first, positive errors are
    // dropped; at the second, negative ones (-1: none).
    void SetSpecialIndexes(int32_t first, int32_t second);
    // width palette indexes for width source pixels; nothing when width is 0
    // or wider than the ditherer.
    void DitherRow(const uint8_t* source, uint8_t* out, int32_t width);
    InversePalette& Inverse() { return inverse; }

private:
    int32_t width;
    InversePalette inverse;
    // One spare place before the first position and after the last.
    std::vector<int32_t> errors[3];
    int32_t kind = kDitherBGRX;
    const RGBQUAD* sourcePalette = nullptr;
    int32_t firstSpecial = -1;
    int32_t secondSpecial = -1;
};

// What the box-filter shrink reads of a device-independent bitmap.
class KVXDibRows {
public:
    virtual ~KVXDibRows() = default;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    virtual int32_t BitsPerPixel() const = 0;
    // The row counted from the top, one byte per pixel (1, 4, 8 bits) or
    // blue, green, red (24 bits); false for other depths.
    virtual bool UnpackedRow(int32_t row, uint8_t* buffer) const = 0;
    virtual bool CopyColorTable(RGBQUAD* table) const = 0;
};

// Shrinks a bitmap into destination (32-bit: blue, green, red, 0; 24-bit;
// or 8-bit through a ditherer to palette), each channel the rounded mean of
// the whole source rows and columns a destination pixel covers, then
// trunc(contrast factor x value) + brightness offset. brightness and
// contrast are percentages, 50 leaving the picture as it is.
bool BoxFilterShrink(const KVXDibRows& source, const MMBitmap& destination, int32_t brightness,
                     int32_t contrast, const RGBQUAD* palette);

// Shrinks an 8-bit palette picture into another of the same palette. At
// most half the size in both directions: each destination pixel takes the
// mean colour of its group of whole source pixels, mapped to the nearest
// index. Otherwise every source pixel counts by the part of it a
// destination pixel covers, and each row of means is dithered into the
// palette. A group with a transparent pixel stays transparent; one with more
// of the special index than coloured pixels takes the reserved index. mirror
// turns every destination row left to right. false when a size is empty.
bool ShrinkPalettePicture(const MMBitmap& source, const MMBitmap& destination,
                          const RGBQUAD* palette, int32_t transparentIndex, int32_t specialIndex,
                          int32_t reservedIndex, bool mirror);
// The same of two pictures of one size mixed pixel by pixel: first counts
// (weight + 1) / 256, second (255 - weight) / 256; a pixel is transparent
// or special as the one of the picture weighing more is.
bool ShrinkMixedPalettePictures(const MMBitmap& first, const MMBitmap& second, int32_t weight,
                                const MMBitmap& destination, const RGBQUAD* palette,
                                int32_t transparentIndex, int32_t specialIndex,
                                int32_t reservedIndex, bool mirror);
