#include "selection/curve_path.h"

#include <algorithm>
#include <cmath>

double PointDistance(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    double dx = double(x0) - x1, dy = double(y0) - y1;
    return std::sqrt(dx * dx + dy * dy);
}

void CurvePath::Init(int32_t largestCount, double newSpacing)
{
    largest = std::max(largestCount, 1);
    spacing = newSpacing;
}

void CurvePath::SetPoints(const Pair& start, const Pair& control, const Pair& end)
{
    p0 = start;
    p1 = control;
    p2 = end;
}

void CurvePath::Prepare()
{
    l1 = PointDistance(p1.x, p1.y, p0.x, p0.y);
    k1 = l1 != 0 ? 1 / l1 : 0;
    l2 = PointDistance(p2.x, p2.y, p1.x, p1.y);
    k2 = l2 != 0 ? 1 / l2 : 0;
    double tx = (p1.x - p0.x) * k1 + (p2.x - p1.x) * k2;
    double ty = (p1.y - p0.y) * k1 + (p2.y - p1.y) * k2;
    double length = std::sqrt(tx * tx + ty * ty);
    double scale = length != 0 ? std::min(l1, l2) / 2 / length : 0;
    fx = tx * scale;
    fy = ty * scale;
}

void CurvePath::PointAt(double c, double* x, double* y) const
{
    if (c < l1) {
        double s = c * k1, grow = 1 - (1 - s) * (1 - s);
        *x = fx * s * s + (p1.x - fx - p0.x) * grow + p0.x;
        *y = fy * s * s + (p1.y - fy - p0.y) * grow + p0.y;
        return;
    }
    double s = (c - l1) * k2, grow = 1 - (1 - s) * (1 - s);
    *x = (p2.x - p1.x - fx) * s * s + fx * grow + p1.x;
    *y = (p2.y - p1.y - fy) * s * s + fy * grow + p1.y;
}

int32_t CurvePath::ComputePoints(Pair* out, const Pair* end)
{
    if (out == nullptr)
        return -1;
    if (end != nullptr)
        p2 = *end;
    Prepare();
    double total = l1 + l2;
    int32_t n = largest;
    if (spacing > 0)
        n = std::min(int32_t(total / spacing + 1.5), largest);
    out[0] = p0;
    if (n <= 1)
        return n;
    double step = total / (n - 1);
    for (int32_t k = 1; k < n - 1; ++k) {
        double x, y;
        PointAt(k * step, &x, &y);
        out[k] = {int16_t(int32_t(x + 0.5)), int16_t(int32_t(y + 0.5))};
    }
    out[n - 1] = p2;
    return n;
}
