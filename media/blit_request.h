#pragma once
// Blit requests: prepared once (clipping, 16.16 steps, row routine), then
// performed. Positions and steps are signed 16.16 fixed point; 0x10000 is
// 1:1, -0x10000 mirrored 1:1.
#include <cstdint>
#include "framework/color_table.h"
#include "framework/geometry.h"
#include "media/bitmap.h"

class MMSurface;
class MMPictureReference;

class MMBlitRequest {
public:
    MMBlitRequest() = default;
    virtual ~MMBlitRequest();
    virtual bool Perform() = 0;

    // Chooses the row routine for the source, its transparency, the index
    // map and the step kind; false when there is none.
    bool SelectSpanFunction(int32_t destinationKind);
    // The source's row loop, inside an MMX section while MMX routines are used.
    void RunRows();

    bool ready = false;
    const MMImageDescription* source = nullptr;
    MMBitmap destination;
    int32_t sourceX = 0;
    int32_t sourceY = 0;
    int32_t xStep = 0x10000;
    int32_t yStep = 0x10000;
    const MMColorTable* colorTable = nullptr;
    const uint8_t* indexMap = nullptr;
    MMRowRoutine rowRoutine = nullptr;
    int16_t width = 0;
};

class MMBitmapBlitRequest : public MMBlitRequest {
public:
    bool PrepareToBox(const MMImageDescription& image, const MMBitmap& target,
                      const Box& destinationBox);
    // A source box with left > right (or top > bottom) mirrors.
    bool PrepareBoxToBox(const MMImageDescription& image, const MMBitmap& target,
                         const Box& sourceBox, const Box& destinationBox);
    bool Perform() override;
};

class MMDrawingSurfaceBlitRequest : public MMBlitRequest {
public:
    bool PrepareToBox(const MMImageDescription& image, MMSurface* target,
                      const Box& destinationBox);
    bool PrepareBoxToBox(const MMImageDescription& image, MMSurface* target,
                         const Box& sourceBox, const Box& destinationBox);
    // Writes the clip offset into the start: each Perform needs its own
    // preparation.
    bool Perform() override;

    MMSurface* surface = nullptr;
    Box destinationBox = {0, 0, 0, 0};
    Box clippedBox = {0, 0, 0, 0};
};

// Draws a box of a picture of a picture collection onto a surface.
void MMDrawPicture(MMSurface* surface, const MMPictureReference& picture,
                   const Box& sourceBox, const Box& destinationBox,
                   const uint8_t* indexMap, const MMColorTable* colorTable);
