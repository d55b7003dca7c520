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

    // -1 keeps the picture's natural width or height, times the scale.
    void SetDisplaySize(int32_t w, int32_t h);
    Pair DisplaySize() const;
    // Factors on the natural size (the display size truncates); both are set
    // together.
    void SetScale(double x, double y);
    double ScaleX() const { return scaleX; }
    double ScaleY() const { return scaleY; }

private:
    int32_t width = -1;
    int32_t height = -1;
    double scaleX = 1.0;
    double scaleY = 1.0;
};
