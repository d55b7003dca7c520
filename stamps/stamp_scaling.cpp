#include "stamps/stamp_scaling.h"

#include <algorithm>
#include <cmath>

namespace {

const int32_t kSmallestSide = 25;
const int32_t kEdgeZone = 10;

// The other side for one side of a stamp of the natural aspect.
int32_t HeightFor(int32_t width, double aspect)
{
    return int32_t(aspect * width);
}

int32_t WidthFor(int32_t height, double aspect)
{
    return int32_t(height / aspect);
}

}  // namespace

bool ScaleStampBox(const Box& box, const Pair& natural, const Pair& point, const Box& canvas,
                   Box* result)
{
    const int32_t w = natural.x;
    const int32_t h = natural.y;
    if (w <= 0 || h <= 0)
        return false;
    const double aspect = double(h) / double(w);
    int32_t a = point.x - box.left;
    int32_t g = box.bottom - point.y;
    double rw = double(a) / w;
    double rh = double(g) / h;
    if (rh > rw)
        g = int32_t(h * rw);
    else if (rh < rw)
        a = int32_t(w * rh);

    if (a < w / 10 || g < h / 10) {
        if (w < h) {
            a = w / 10;
            g = HeightFor(a, aspect);
        } else {
            g = h / 10;
            a = WidthFor(g, aspect);
        }
    }
    if (a < kSmallestSide || g < kSmallestSide) {
        if (w < h) {
            a = kSmallestSide;
            g = HeightFor(kSmallestSide, aspect);
        } else {
            g = kSmallestSide;
            a = WidthFor(kSmallestSide, aspect);
        }
    }

    int32_t right = box.left + a;
    if (a > w)
        right = box.left + w;
    else if (a < w / 11)
        right = box.right;
    int32_t top = box.bottom - g;
    if (g > h)
        top = box.bottom - h;
    else if (g < h / 11)
        top = box.top;

    if (right <= canvas.left + kEdgeZone || top >= canvas.bottom - kEdgeZone)
        return false;
    *result = {box.left, top, right, box.bottom};
    return true;
}

Pair LimitScalePoint(const Pair& point, const Box& canvas)
{
    return {std::max(point.x, canvas.left + kEdgeZone), std::min(point.y, canvas.bottom - kEdgeZone)};
}

int16_t SizeStepFor(const Pair& displayed, const Pair& natural)
{
    if (natural.x <= 0 || natural.y <= 0)
        return 0;
    float r = std::max(float(displayed.x) / float(natural.x), float(displayed.y) / float(natural.y));
    if (r <= 0.1f)
        return 0;
    if (r < 0.2f)
        return 1;
    float clamped = std::clamp(r + 0.049f, 0.0f, 1.0f);
    return int16_t(10.0f * clamped);
}

int32_t ScaleSoundFrequency(int32_t distance, int32_t startDistance)
{
    const int32_t highest = 0x10000;
    const int32_t lowest = 4096;
    if (startDistance <= 0)
        return highest;
    int64_t frequency = highest - int64_t(distance) * 0x8000 / startDistance;
    return int32_t(std::clamp<int64_t>(frequency, lowest, highest));
}
