#pragma once
// The smooth curve of the curved-line tools: two arcs through a start, a
// control and an end point, meeting at the control point with one tangent,
// sampled at an even spacing.
#include <cstdint>

#include "framework/geometry.h"

double PointDistance(int32_t x0, int32_t y0, int32_t x1, int32_t y1);

class CurvePath {
public:
    void Init(int32_t largestCount, double spacing);
    void SetPoints(const Pair& start, const Pair& control, const Pair& end);
    // Fills out (room for the largest count) and answers the point count;
    // -1 without an array. A given end point replaces the stored one.
    int32_t ComputePoints(Pair* out, const Pair* end = nullptr);

private:
    void Prepare();
    void PointAt(double length, double* x, double* y) const;

    int32_t largest = 1;
    Pair p0 = {0, 0}, p1 = {0, 0}, p2 = {0, 0};
    double spacing = 2.0;
    double l1 = 0, k1 = 0, l2 = 0, k2 = 0, fx = 0, fy = 0;
};
