#pragma once
// The visual of a character or prop: its picture drawn into a box of the
// stamp's displayed size (scaled and mirrored by the blit), hit where the
// picture under the point is no more transparent than the threshold.
#include <cstdint>

#include "media/picture_visual.h"

class MMStampPictureBasedVisual : public MMPictureVisual {
public:
    // A new stamp visual takes every pixel of its picture as a hit; placed
    // stamps take the threshold 254.
    MMStampPictureBasedVisual();

    Box GetBounds() const override;
    bool ContainsPoint(int32_t x, int32_t y) override;

    // -1 keeps the picture's natural width or height.
    void SetDisplaySize(int32_t w, int32_t h);
    Pair DisplaySize() const;

private:
    int32_t width = -1;
    int32_t height = -1;
};
