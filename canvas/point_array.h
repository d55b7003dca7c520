#pragma once
// A growable list of points: the closed outline of an ellipse, rectangle or
// triangle of a box, as the shapes, the rope and the rubber bands use it.
#include <cstdint>
#include <vector>

#include "framework/geometry.h"

enum PointArrayShape : int32_t {
    kPointArrayEllipse = 0,
    kPointArrayRectangle = 1,
    kPointArrayTriangle = 2,
};

class PointArray {
public:
    // Kind 2: the closed triangle outline ((left + right) / 2, top), (right,
    // bottom), (left, bottom) and the first again. Kind 1, and an ellipse one
    // pixel thin: the five corners from (left, top) round to it again.
    // Kind 0: the traced ellipse, 4n points once round. No points for an
    // empty box or another kind.
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
