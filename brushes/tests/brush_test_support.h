#pragma once
// Small canvases, nibs and standard brush arguments for the brush tests.
#include <cstring>
#include <vector>

#include "brushes/brush_dab.h"
#include "canvas/plane.h"

// {spacing low, spacing high, diameter min, diameter max}.
inline const double* DiameterParams(double low, double high)
{
    static double params[4];
    params[0] = 0.0;
    params[1] = 0.0;
    params[2] = low;
    params[3] = high;
    return params;
}

// Opacity straight from the nib byte: texture ramp 0, opacity ramp 255.
inline const double kNibOpacity[4] = {0.0, 255.0, 0.0, 255.0};
inline const uint8_t kNoSaturation[4] = {0, 0, 0, 0};

// A plane of width x height bytes all set to value.
struct BytePlane : KVXPlaneUCharTop {
    BytePlane(int32_t width, int32_t height, uint8_t value) : KVXPlaneUCharTop({width, height})
    {
        Fill(value);
    }
    BytePlane(int32_t width, int32_t height, const std::vector<uint8_t>& bytes)
        : KVXPlaneUCharTop({width, height})
    {
        std::memcpy(bits, bytes.data(), bytes.size());
    }
};

struct BlankCanvas : KVXPlaneComponentTop {
    BlankCanvas(int32_t width, int32_t height) : KVXPlaneComponentTop({width, height})
    {
        Fill(kBlankPixel);
        SetDirtyBox({0, 0, 0, 0});
    }
};

inline BrushDab Sample(double x, double y, int32_t size, int32_t dx = 0, int32_t dy = 0)
{
    BrushDab dab;
    return dab.Set(x, y, size, dx, dy);
}

inline bool SamePixel(const KVXComponentPixel& a, const KVXComponentPixel& b)
{
    return std::memcmp(&a, &b, 6) == 0;
}
