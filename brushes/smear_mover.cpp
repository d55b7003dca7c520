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
                for (int k = 0; k < 4; ++k)
                    for (int lane = 0; lane < 8; ++lane)
                        lanes[fx * 4 + fy][k][lane] = int16_t(e[k]);
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
    PrepareShifts();
}

void SmearColorAndHeightMover::PrepareShifts()
{
    quartered = clip.left >= 0 && clip.top >= 0 && clip.right < (1 << 15) &&
                clip.bottom < (1 << 15);
    if (quartered) {
        for (int32_t o = 0; o < 256; ++o) {
            shiftX[o] = ShiftFor(o, stepX);
            shiftY[o] = ShiftFor(o, stepY);
        }
    }
}

// A sample lies at X - t, t = opacity x step, X the pixel's place (0 to
// 2^15), reckoned in doubles within 2^-37 of its true place. When 4t lies
// more than 2^-30 from a whole number, that error never carries the sample
// across a quarter, and floor(4 (X - t)) = 4X + floor(-4t) exactly; when 4t
// is whole, X - t is exact.
SmearShift SmearColorAndHeightMover::ShiftFor(int32_t opacity, double step)
{
    const double kNear = 1.0 / (1 << 30);
    double v = -4.0 * (opacity * step);
    if (!(std::fabs(v) < double(1 << 20)))
        return {0, 0, true};
    double whole = std::floor(v);
    double fraction = v - whole;
    if (fraction == 0.0)
        return {int32_t(whole), 1, false};
    if (fraction < kNear || fraction > 1.0 - kNear)
        return {0, 0, true};
    return {int32_t(whole), 0, false};
}
