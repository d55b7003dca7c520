#include "brushes/smear_brush.h"

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
