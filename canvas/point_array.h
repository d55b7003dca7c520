#pragma once
// A growable list of points, and the triangle of a box that the shapes use.
#include <cstdint>
#include <vector>

#include "framework/geometry.h"

enum PointArrayShape : int32_t { kPointArrayTriangle = 2 };

class PointArray {
public:
    // Kind 2: the closed triangle outline ((left + right) / 2, top), (right,
    // bottom), (left, bottom) and the first again; no points for an empty box.
    void AssignRect(int32_t kind, const Box& box);
    // Moves the three corners toward their centroid by a / 510 of the way.
    void ShrinkTriangleToCentroid(int32_t a);

    int32_t Count() const { return int32_t(points.size()); }
    const Pair* Points() const { return points.data(); }
    const Pair& operator[](int32_t i) const { return points[i]; }

private:
    std::vector<Pair> points;
};

struct DoublePair {
    double x;
    double y;
};

// Where the line through a and b meets the line through c and d.
DoublePair IntersectLines(const Pair& a, const Pair& b, const Pair& c, const Pair& d);
