#pragma once
// An 8-bit palette picture drawn through an 8-bit mask (0 shows the
// picture, 255 keeps the destination) onto a 32-bit surface, at 1:1 or
// scaled to a box, optionally mirrored.
#include <cstdint>

#include "framework/color_table.h"
#include "framework/geometry.h"
#include "media/bitmap.h"

class MMSurface;

struct MaskedPaletteBlitRecord {
    MaskedPaletteBlitRecord();

    bool mirrorX;
    bool mirrorY;
    MMBitmap picture;  // palette indexes
    MMBitmap mask;     // addressed over the picture's box
    MMColorTable colours;
    Box source;        // computed by the blit
    Box destination;   // computed by the blit
    int32_t stepX;     // 16.16, scaled case
    int32_t stepY;
};

// Draws the whole picture over box of the surface; returns the unlock's
// result.
bool MaskedPaletteBlit(MaskedPaletteBlitRecord& record, MMSurface* surface, const Box& box);
