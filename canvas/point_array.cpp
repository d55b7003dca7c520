#include "canvas/point_array.h"

#include <algorithm>

namespace {

// The first quadrant from (0, b) down to (a, 0), by integer error terms.
std::vector<Pair> TraceQuadrant(int64_t a, int64_t b)
{
    int64_t a2 = a * a, b2 = b * b;
    int64_t e1 = b2 - 2 * a2 * (2 * b - 1);
    int64_t e2 = 2 * b2 + (1 - 2 * b) * a2;
    int64_t p = 6 * b2, q = 2 * b2, r = 3 * b2, s = 2 * a2 * b, t = 4 * a2 * b, u = 4 * b2;
    int64_t x = 0, y = b;
    std::vector<Pair> traced = {{0, int32_t(b)}};
    while (y > 0) {
        bool low = e1 < 0;
        bool yStep = e2 >= 0;
        bool xGrows = e2 < 0 || low;
        x += xGrows ? 1 : 0;
        y -= yStep ? 1 : 0;
        traced.push_back({int32_t(x), int32_t(y)});
        if (yStep) {
            e1 += 6 * a2 + (low ? 2 * q - 2 * s : -t);
            e2 += 4 * a2 + (low ? 2 * r - 2 * s : -t);
        } else {
            e1 += u;
            e2 += p;
        }
        if (xGrows) {
            p += 4 * b2;
            q += 2 * b2;
            r += 2 * b2;
            u += 4 * b2;
        }
        if (yStep) {
            s -= 2 * a2;
            t -= 4 * a2;
        }
    }
    return traced;
}

}  // namespace

void PointArray::AssignRect(int32_t kind, const Box& box)
{
    points.clear();
    if (box.Width() == 0 || box.Height() == 0)
        return;
    int32_t w = box.Width(), h = box.Height();
    if (kind == kPointArrayRectangle || (kind == kPointArrayEllipse && (w <= 1 || h <= 1))) {
        points = {{box.left, box.top},
                  {box.right, box.top},
                  {box.right, box.bottom},
                  {box.left, box.bottom},
                  {box.left, box.top}};
        return;
    }
    if (kind == kPointArrayTriangle) {
        points = {{(box.left + box.right) / 2, box.top},
                  {box.right, box.bottom},
                  {box.left, box.bottom},
                  {(box.left + box.right) / 2, box.top}};
        return;
    }
    if (kind != kPointArrayEllipse)
        return;
    int32_t a = w / 2, b = h / 2;
    std::vector<Pair> q = TraceQuadrant(a, b);
    const size_t n = q.size();
    points.reserve(4 * n);
    for (size_t i = 0; i < n; ++i)
        points.push_back(q[i]);
    for (size_t i = n; i-- > 0;)
        points.push_back({q[i].x, -q[i].y});
    for (size_t i = 0; i < n; ++i)
        points.push_back({-q[i].x, -q[i].y});
    for (size_t i = n; i-- > 0;)
        points.push_back({-q[i].x, q[i].y});
    for (Pair& p : points)
        p = {p.x + box.left + a, p.y + box.top + b};
}

void PointArray::ShrinkTriangleToCentroid(int32_t a)
{
    if (points.size() < 3)
        return;
    double cx = (points[0].x + points[1].x + points[2].x) / 3.0;
    double cy = (points[0].y + points[1].y + points[2].y) / 3.0;
    for (int i = 0; i < 3; ++i) {
        points[i].x = int32_t(points[i].x + (cx - points[i].x) * a / 510.0);
        points[i].y = int32_t(points[i].y + (cy - points[i].y) * a / 510.0);
    }
    points.resize(4);
    points[3] = points[0];
}

DoublePair IntersectLines(const Pair& a, const Pair& b, const Pair& c, const Pair& d)
{
    double x1 = a.x, y1 = a.y, x2 = b.x, y2 = b.y;
    double x3 = c.x, y3 = c.y, x4 = d.x, y4 = d.y;
    double denominator = (x1 - x2) * (y3 - y4) - (y1 - y2) * (x3 - x4);
    if (denominator == 0.0)
        return {x1, y1};
    double p = x1 * y2 - y1 * x2;
    double q = x3 * y4 - y3 * x4;
    return {(p * (x3 - x4) - (x1 - x2) * q) / denominator,
            (p * (y3 - y4) - (y1 - y2) * q) / denominator};
}
