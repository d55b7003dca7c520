#pragma once
#include <cstdint>

// Integer pixel geometry. A Box is half-open: right and bottom lie outside.

struct Pair {
    int32_t x;
    int32_t y;

    int32_t Length() const;
    void SetLength(int32_t n);  // not for a zero-length Pair
    void Subtract(const Pair& other)
    {
        x -= other.x;
        y -= other.y;
    }
    bool operator==(const Pair& other) const { return x == other.x && y == other.y; }
    bool operator!=(const Pair& other) const { return !(*this == other); }
};

struct Box {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;

    void Assign(const Box& other) { *this = other; }
    void Normalize();
    void Union(const Box& other);
    void Intersect(const Box& other);
    void Offset(const Pair& by);
    void Inflate(int32_t n);

    Pair TopLeft() const { return Pair{left, top}; }
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return left == right || top == bottom; }
    bool IsZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool Contains(const Pair& point) const
    {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }
    // The other box lies inside this one, edges included. (A template, so
    // that a braced pair still means a point.)
    template <class B, class = decltype(static_cast<const Box*>(static_cast<const B*>(nullptr)))>
    bool Contains(const B& other) const
    {
        return other.left >= left && other.top >= top && other.right <= right &&
               other.bottom <= bottom;
    }
    Pair Center() const { return {(left + right) / 2, (top + bottom) / 2}; }
    // Whether the two share at least one pixel (touching edges do not).
    bool Overlaps(const Box& other) const
    {
        return !IsEmpty() && !other.IsEmpty() && left < other.right && other.left < right &&
               top < other.bottom && other.top < bottom;
    }
    Box Intersected(const Box& other) const
    {
        Box result = *this;
        result.Intersect(other);
        return result;
    }
    Box United(const Box& other) const
    {
        Box result = *this;
        result.Union(other);
        return result;
    }
    bool operator==(const Box& other) const
    {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
    bool operator!=(const Box& other) const { return !(*this == other); }
};

// Quarter-turn helpers. Angles are degrees; multiples of 90 are meaningful.
int32_t WidthAtAngle(const Box& box, int angle);
int32_t HeightAtAngle(const Box& box, int angle);
Box CenterBoxOnPoint(int32_t width, int32_t height, const Pair& center);
Box CenterBoxInBox(int32_t width, int32_t height, const Box& outer);
Box ScaleBoxAboutCenter(const Box& box, double scaleX, double scaleY);
// The largest box of the aspect ratio of `box` that fits width x height,
// placed at the origin.
Box FitBoxInSize(const Box& box, int32_t width, int32_t height);
Box RotateBox(const Box& box, int angle, const Pair& about);
Pair RotatePair(const Pair& pair, int angle);

// Maps coordinates of one Box into another, rounding to nearest.
struct BoxMapping {
    double scaleX = 1.0;
    double scaleY = 1.0;
    Pair fromOrigin = {0, 0};
    Pair toOrigin = {0, 0};

    void Set(const Box& from, const Box& to, bool keepAspect);
    Pair Map(const Pair& point) const;
    Box Map(const Box& box) const;
};
