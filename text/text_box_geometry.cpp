#include "text/text_box_geometry.h"

#include <algorithm>
#include <cmath>

bool OpensTextBox(const Box& rect)
{
    return rect.right > rect.left && rect.bottom > rect.top &&
           rect.Width() >= kSmallestTextBox && rect.Height() >= kSmallestTextBox;
}

Box ClipToCanvas(const Box& rect, const Box& canvas)
{
    Box clipped = rect;
    clipped.Intersect(canvas);
    if (clipped.right < clipped.left || clipped.bottom < clipped.top)
        return Box{0, 0, 0, 0};
    return clipped;
}

Pair ScaleHandlePlace(const Box& box) { return Pair{box.right, box.bottom}; }

Pair MoveHandlePlace(const Box& box, const Pair& handleSize)
{
    return Pair{box.left - handleSize.x, box.top - handleSize.y};
}

Box ScaledTextBox(const Box& box, const Pair& corner, const Box& canvas)
{
    Box scaled = {box.left, box.top, std::max(corner.x, box.left + kSmallestTextBox),
                  std::max(corner.y, box.top + kSmallestTextBox)};
    return ClipToCanvas(scaled, canvas);
}

Box MovedTextBox(const Box& box, const Pair& topLeft, const Box& canvas)
{
    int32_t left = std::max(topLeft.x, canvas.left);
    if (left + box.Width() > canvas.right)
        left = canvas.right - box.Width();
    int32_t top = std::max(topLeft.y, canvas.top);
    if (top + box.Height() > canvas.bottom)
        top = canvas.bottom - box.Height();
    return Box{left, top, left + box.Width(), top + box.Height()};
}

int32_t TextHandleFrequency(int32_t distance, int32_t startDistance)
{
    const int32_t highest = 0x10000;
    const int32_t lowest = 4096;
    if (startDistance <= 0)
        return highest;
    if (startDistance < distance)
        return lowest;
    int64_t frequency = highest - int64_t(distance) * 61440 / startDistance;
    return int32_t(std::clamp<int64_t>(frequency, lowest, highest));
}

int32_t TextHandleStartDistance(const Pair& point)
{
    double length = std::sqrt(double(point.x) * point.x + double(point.y) * point.y);
    return int16_t(int32_t(length));
}
