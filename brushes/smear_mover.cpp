#include "brushes/smear_brush.h"

#include <algorithm>
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
    pitch = plane->pitch;
    for (int32_t o = 0; o < 256; ++o) {
        if (quartered) {
            shiftX[o] = ShiftFor(o, stepX);
            shiftY[o] = ShiftFor(o, stepY);
        }
        PrepareReach(o);
    }
}

namespace {

// The pixels 0 <= i < size whose quick axis 4 i + quarters (from the clip's
// first pixel) neither clamps nor reaches the last two pixels:
// 0 <= 4 i + quarters < 4 (size - 2).
void ReachSpan(int32_t quarters, int32_t size, int32_t& first, uint32_t& count)
{
    int32_t whole = quarters >> 2;  // floor of quarters / 4
    int32_t begin = std::max(0, -whole);
    int32_t end = std::min(size, size - 2 - whole);
    first = begin;
    count = end > begin ? uint32_t(end - begin) : 0;
}

}  // namespace

// Inside the reach the quick axes give low = i + floor(quarters / 4), high =
// low + 1 and quarter = quarters & 3, on each axis.
void SmearColorAndHeightMover::PrepareReach(int32_t opacity)
{
    SmearReach& r = reach[opacity];
    r = SmearReach{};
    const SmearShift& sx = shiftX[opacity];
    const SmearShift& sy = shiftY[opacity];
    r.weights = SmearWeights.lanes[0];
    if (!quartered || sx.nearQuarter || sy.nearQuarter)
        return;
    ReachSpan(sx.quarters, clip.Width(), r.firstX, r.countX);
    ReachSpan(sy.quarters, clip.Height(), r.firstY, r.countY);
    r.offset = (sx.quarters >> 2) + ptrdiff_t(sy.quarters >> 2) * pitch;
    r.weights = SmearWeights.lanes[(sx.quarters & 3) * 4 + (sy.quarters & 3)];
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

KVXComponentPixel SmearColorAndHeightMover::PlainSample(const SmearAxis& ax,
                                                        const SmearAxis& ay) const
{
    const int32_t* w = SmearWeights.w[ax.quarter * 4 + ay.quarter];
    const KVXComponentPixel& p00 = plane->Row(ay.low)[ax.low];
    const KVXComponentPixel& p10 = plane->Row(ay.low)[ax.high];
    const KVXComponentPixel& p01 = plane->Row(ay.high)[ax.low];
    const KVXComponentPixel& p11 = plane->Row(ay.high)[ax.high];
    auto mix = [w](uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
        return (w[0] * a + w[1] * b + w[2] * c + w[3] * d) >> 8;
    };
    KVXComponentPixel sample = {};
    sample.blue = uint8_t(mix(p00.blue, p10.blue, p01.blue, p11.blue));
    sample.green = uint8_t(mix(p00.green, p10.green, p01.green, p11.green));
    sample.red = uint8_t(mix(p00.red, p10.red, p01.red, p11.red));
    sample.height = uint16_t(mix(p00.height, p10.height, p01.height, p11.height));
    return sample;
}
