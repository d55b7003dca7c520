#include "canvas/point_array.h"

void PointArray::AssignRect(int32_t kind, const Box& box)
{
    points.clear();
    if (kind != kPointArrayTriangle || box.IsEmpty())
        return;
    points = {{(box.left + box.right) / 2, box.top},
              {box.right, box.bottom},
              {box.left, box.bottom},
              {(box.left + box.right) / 2, box.top}};
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
