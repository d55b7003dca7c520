#include "brushes/smear_brush.h"

#include <cmath>

#include "framework/random.h"

namespace {

struct BuiltWeights : BilinearQuarterWeights {
    BuiltWeights()
    {
        for (int fx = 0; fx < 4; ++fx)
            for (int fy = 0; fy < 4; ++fy) {
                int32_t* e = w[fx * 4 + fy];
                e[0] = 16 * (4 - fx) * (4 - fy);
                e[1] = 16 * fx * (4 - fy);
                e[2] = 16 * fy * (4 - fx);
                e[3] = 16 * fx * fy;
            }
    }
};

const BuiltWeights& Built()
{
    static const BuiltWeights* table = new BuiltWeights;
    return *table;
}

}  // namespace

const BilinearQuarterWeights& SmearWeights = Built();

void SmearColorAndHeightMover::PrepareDab(const Box& newClip, const BrushDab& dab)
{
    clip = newClip;
    originX = clip.left;
    originY = clip.top;
    width = clip.right - clip.left;
    double length = FastSqrt(float(dab.dx * dab.dx + dab.dy * dab.dy));
    scale = length != 0 ? width / (length * 728) : 0;
    dx = dab.dx;
    dy = dab.dy;
    stepX = dx * scale;
    stepY = dy * scale;
}

void SmearColorAndHeightMover::Smear(int32_t x, int32_t y, uint8_t opacity, uint16_t& height,
                                     uint8_t* colour) const
{
    double sx = (originX + x) - opacity * stepX;
    double sy = (originY + y) - opacity * stepY;
    sx = std::clamp(sx, double(clip.left), double(clip.right - 1));
    sy = std::clamp(sy, double(clip.top), double(clip.bottom - 1));
    int32_t fx = int32_t(std::floor(4 * (sx - std::floor(sx))));
    int32_t fy = int32_t(std::floor(4 * (sy - std::floor(sy))));
    int32_t ix = int32_t(sx);
    int32_t iy = int32_t(sy);
    int32_t ix1 = sx > clip.right - 2 ? ix : int32_t(sx + 1);
    int32_t iy1 = sy > clip.bottom - 2 ? iy : int32_t(sy + 1);
    const int32_t* w = SmearWeights.w[fx * 4 + fy];
    const KVXComponentPixel* p00 = plane->PixelAt(ix, iy);
    const KVXComponentPixel* p10 = plane->PixelAt(ix1, iy);
    const KVXComponentPixel* p01 = plane->PixelAt(ix, iy1);
    const KVXComponentPixel* p11 = plane->PixelAt(ix1, iy1);
    height = uint16_t((w[0] * p00->height + w[1] * p10->height + w[2] * p01->height +
                       w[3] * p11->height) >> 8);
    const uint8_t* c00 = &p00->blue;
    const uint8_t* c10 = &p10->blue;
    const uint8_t* c01 = &p01->blue;
    const uint8_t* c11 = &p11->blue;
    for (int i = 0; i < 3; ++i)
        colour[i] = uint8_t((w[0] * c00[i] + w[1] * c10[i] + w[2] * c01[i] + w[3] * c11[i]) >> 8);
}
