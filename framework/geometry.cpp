#include "framework/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

int32_t Pair::Length() const
{
    int64_t a = std::llabs(x);
    int64_t b = std::llabs(y);
    int64_t estimate = std::max(a, b) + std::min(a, b) / 2;
    if (estimate == 0)
        return 0;
    int64_t s = a * a + b * b;
    for (int step = 0; step < 3; ++step)
        estimate = (estimate + s / estimate) / 2;
    return static_cast<int32_t>(estimate);
}

void Pair::SetLength(int32_t n)
{
    int64_t length = Length();
    if (length == 0)
        return;
    x = static_cast<int32_t>(int64_t(n) * x / length);
    y = static_cast<int32_t>(int64_t(n) * y / length);
}

void Box::Normalize()
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
}

void Box::Union(const Box& other)
{
    if (IsEmpty()) {
        *this = other;
        return;
    }
    if (other.IsEmpty())
        return;
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
}

void Box::Intersect(const Box& other)
{
    left = std::max(left, other.left);
    top = std::max(top, other.top);
    right = std::min(right, other.right);
    bottom = std::min(bottom, other.bottom);
    if (right < left || bottom < top)
        *this = Box{0, 0, 0, 0};
}

void Box::Offset(const Pair& by)
{
    left += by.x;
    right += by.x;
    top += by.y;
    bottom += by.y;
}

void Box::Inflate(int32_t n)
{
    left -= n;
    top -= n;
    right += n;
    bottom += n;
}

namespace {

int NormalAngle(int angle)
{
    angle %= 360;
    return angle < 0 ? angle + 360 : angle;
}

bool IsQuarterTurn(int angle)
{
    angle = NormalAngle(angle);
    return angle == 90 || angle == 270;
}

}  // namespace

int32_t WidthAtAngle(const Box& box, int angle)
{
    return IsQuarterTurn(angle) ? box.Height() : box.Width();
}

int32_t HeightAtAngle(const Box& box, int angle)
{
    return IsQuarterTurn(angle) ? box.Width() : box.Height();
}

Box CenterBoxOnPoint(int32_t width, int32_t height, const Pair& center)
{
    Box box;
    box.left = center.x - width / 2;
    box.top = center.y - height / 2;
    box.right = box.left + width;
    box.bottom = box.top + height;
    return box;
}

Box CenterBoxInBox(int32_t width, int32_t height, const Box& outer)
{
    return CenterBoxOnPoint(width, height,
                            Pair{outer.left + outer.Width() / 2, outer.top + outer.Height() / 2});
}

Box ScaleBoxAboutCenter(const Box& box, double scaleX, double scaleY)
{
    int32_t width = static_cast<int32_t>(std::lround(box.Width() * scaleX));
    int32_t height = static_cast<int32_t>(std::lround(box.Height() * scaleY));
    return CenterBoxInBox(width, height, box);
}

Box FitBoxInSize(const Box& box, int32_t width, int32_t height)
{
    if (box.Width() <= 0 || box.Height() <= 0)
        return Box{0, 0, 0, 0};
    double scale = std::min(double(width) / box.Width(), double(height) / box.Height());
    return Box{0, 0, static_cast<int32_t>(std::lround(box.Width() * scale)),
               static_cast<int32_t>(std::lround(box.Height() * scale))};
}

Pair RotatePair(const Pair& pair, int angle)
{
    switch (NormalAngle(angle)) {
    case 90: return Pair{pair.y, -pair.x};
    case 180: return Pair{-pair.x, -pair.y};
    case 270: return Pair{-pair.y, pair.x};
    default: return pair;
    }
}

Box RotateBox(const Box& box, int angle, const Pair& about)
{
    Pair a = RotatePair(Pair{box.left - about.x, box.top - about.y}, angle);
    Pair b = RotatePair(Pair{box.right - about.x, box.bottom - about.y}, angle);
    Box rotated{a.x + about.x, a.y + about.y, b.x + about.x, b.y + about.y};
    rotated.Normalize();
    return rotated;
}

void BoxMapping::Set(const Box& from, const Box& to, bool keepAspect)
{
    scaleX = from.Width() ? double(to.Width()) / from.Width() : 1.0;
    scaleY = from.Height() ? double(to.Height()) / from.Height() : 1.0;
    if (keepAspect)
        scaleX = scaleY = std::min(scaleX, scaleY);
    fromOrigin = Pair{from.left, from.top};
    toOrigin = Pair{to.left, to.top};
}

Pair BoxMapping::Map(const Pair& point) const
{
    return Pair{toOrigin.x + static_cast<int32_t>(std::lround((point.x - fromOrigin.x) * scaleX)),
                toOrigin.y + static_cast<int32_t>(std::lround((point.y - fromOrigin.y) * scaleY))};
}

Box BoxMapping::Map(const Box& box) const
{
    Pair a = Map(Pair{box.left, box.top});
    Pair b = Map(Pair{box.right, box.bottom});
    return Box{a.x, a.y, b.x, b.y};
}
