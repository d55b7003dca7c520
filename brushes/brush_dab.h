#pragma once
// One dab, or one pen sample: where, how hard (size index 0 to 19) and which
// way the stroke travels (0, 0 when nobody knows).
#include <cstdint>

constexpr int32_t kBrushSizes = 20;

struct BrushDab {
    double x;
    double y;
    int32_t sizeIndex;
    int32_t dx;
    int32_t dy;

    BrushDab& Set(double newX, double newY, int32_t size, int32_t newDx, int32_t newDy)
    {
        x = newX;
        y = newY;
        sizeIndex = size;
        dx = newDx;
        dy = newDy;
        return *this;
    }
};
