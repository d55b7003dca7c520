#pragma once
// Colour and alpha operations on 32-bit bitmaps (blue, green, red, and a
// transparency byte: 0 opaque, 255 clear). Pictures are placed with their
// top-left corner at (x, y) and clipped to the bitmap; one that cannot be
// loaded or locked leaves the bitmap as it was.
#include <cstdint>

#include "engine/picture_collection.h"

class MMBitmap;
class MMPictureCollection;

void FillBitmapColor(const MMBitmap& bitmap, uint8_t blue, uint8_t green, uint8_t red);
void SetBitmapAlpha(const MMBitmap& bitmap, uint8_t value);
// Blackens every pixel that is not opaque; the bitmap's transparency rule
// becomes straight alpha.
void ClearColorWhereAlpha(MMBitmap& bitmap);
// alpha = 255 - the 8-bit picture's value.
void SetAlphaFromPicture(const MMBitmap& bitmap, int32_t x, int32_t y, MMPictureID picture);
// The colour wherever the 8-bit picture is not 0; alpha stays.
void PaintColorThroughMask(const MMBitmap& bitmap, const uint8_t* bgr, int32_t x, int32_t y,
                           MMPictureID picture);
// The colour mixed in by the picture's coverage, which makes the pixel opaque.
void SetAlphaFromPictureClipped(const MMBitmap& bitmap, int32_t x, int32_t y, MMPictureID picture,
                                const uint8_t* bgr);
// The same only where the mask picture is not 0, over the mask's extent.
void BlitPictureThroughMask(const MMBitmap& bitmap, int32_t x, int32_t y, MMPictureID coverage,
                            const uint8_t* bgr, MMPictureID mask);

struct DrawPictureRecord {
    const MMBitmap* destination;
    int32_t x;
    int32_t y;
    MMPictureID picture;
};
// The picture (plain or encoded) drawn 1:1 through a blit request.
void DrawPictureIntoBitmap(const DrawPictureRecord& record);
// The picture laid over the bitmap keeping both transparencies: where the
// bitmap is clear the picture's own alpha comes through (a picture composed
// on a clear bitmap keeps its see-through corners), where it is opaque the
// picture mixes in as drawn.
void ComposePictureOverBitmap(const DrawPictureRecord& record);

// A copy of the picture tinted toward bgr, its transparency pushed toward
// clear by factor, bound into a free slot of collection. result names it, or
// nothing on failure.
MMPictureReference& TintPicture(MMPictureReference& result, MMPictureCollection* collection,
                                MMPictureID picture, const uint8_t* bgr, double factor);
