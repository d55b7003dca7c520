#include "selection/shape_visuals.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "canvas/point_array.h"
#include "media/surface.h"

namespace {

const MMColor kBlackPen = {-1, 0, 0, 0, 0};

Box PointsBox(const Pair* points, int32_t count)
{
    Box box = {points[0].x, points[0].y, points[0].x, points[0].y};
    for (int32_t i = 1; i < count; ++i) {
        box.left = std::min(box.left, points[i].x);
        box.top = std::min(box.top, points[i].y);
        box.right = std::max(box.right, points[i].x);
        box.bottom = std::max(box.bottom, points[i].y);
    }
    box.Inflate(1);
    return box;
}

bool ShiftDown() { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; }

}  // namespace

Box RubberBandBox(const Pair& anchor, const Pair& end, bool squared)
{
    Box box = {anchor.x, anchor.y, end.x, end.y};
    if (squared) {
        int16_t dx = int16_t(end.x - anchor.x);
        int16_t dy = int16_t(end.y - anchor.y);
        int32_t side = std::abs(int32_t(std::max(dx, dy)));
        box.right = dx > 0 ? anchor.x + side : anchor.x - side;
        box.bottom = dy > 0 ? anchor.y + side : anchor.y - side;
    }
    box.Normalize();
    return box;
}

KVXShapeVisual::KVXShapeVisual(MMVisual* target, int32_t x, int32_t y, int16_t layer)
    : MMPointBasedVisual(x, y), end{x, y}, target(target)
{
    this->layer = layer;
}

void KVXShapeVisual::TrackPoint(int32_t newX, int32_t newY)
{
    if (end == Pair{newX, newY})
        return;
    Invalidate();
    end = {newX, newY};
    Invalidate();
}

Box KVXShapeVisual::SquaredBounds() const
{
    return RubberBandBox({x, y}, end, constrain == 0 || ShiftDown());
}

Box KVXShapeVisual::GetBounds() const { return SquaredBounds(); }

void KVXShapeVisual::Draw(MMSurface* surface)
{
    Box clip = surface->GetClipBox();
    if (target != nullptr)
        clip.Intersect(target->GetBounds());
    if (clip.Width() <= 0 || clip.Height() <= 0)
        return;
    Box old = surface->GetClipBox();
    surface->SetClipBox(clip);
    HDC dc = surface->GetDC();
    int mode = dc != nullptr ? SetROP2(dc, R2_NOTXORPEN) : 0;
    DrawOutline(surface);
    if (dc != nullptr)
        SetROP2(dc, mode);
    surface->SetClipBox(old);
}

void KVXShapeVisual::DrawOutline(MMSurface* surface)
{
    surface->FrameBox(GetBounds(), kBlackPen, 1);
}

Box KVXLineShapeVisual::GetBounds() const
{
    Box box = {x, y, end.x, end.y};
    box.Normalize();
    box.Inflate(1);
    return box;
}

void KVXLineShapeVisual::DrawOutline(MMSurface* surface)
{
    surface->DrawLine(x, y, end.x, end.y, kBlackPen, 2);
}

KVXCurveLineShapeVisual::KVXCurveLineShapeVisual(MMVisual* target, int32_t x, int32_t y,
                                                 int16_t layer)
    : KVXLineShapeVisual(target, x, y, layer), control{x, y}
{
    path.Init(kMostPoints, 2.0);
}

void KVXCurveLineShapeVisual::StartBend()
{
    control = end;
    mode = 1;
}

void KVXCurveLineShapeVisual::SetControlPoint(int32_t cx, int32_t cy)
{
    if (control == Pair{cx, cy} && count > 0)
        return;
    Invalidate();
    control = {cx, cy};
    path.SetPoints({x, y}, control, end);
    count = int16_t(path.ComputePoints(points));
    Invalidate();
}

Box KVXCurveLineShapeVisual::GetBounds() const
{
    if (mode == 0 || count == 0)
        return KVXLineShapeVisual::GetBounds();
    return PointsBox(points, count);
}

void KVXCurveLineShapeVisual::DrawOutline(MMSurface* surface)
{
    if (mode == 0)
        KVXLineShapeVisual::DrawOutline(surface);
    else if (count > 1)
        surface->DrawPolyline(points, count, kBlackPen, 2);
}

void KVXEllipticalShapeVisual::DrawOutline(MMSurface* surface)
{
    Box box = GetBounds();
    box.Inflate(-1);
    box.Normalize();
    surface->FrameEllipse(box, kBlackPen, 2);
}

Box KVXEllipticalCenterShapeVisual::GetBounds() const
{
    int32_t r = std::max(std::abs(int32_t(int16_t(end.x - x))), std::abs(int32_t(int16_t(end.y - y))));
    Box box = {x - r, y - r, x + r, y + r};
    box.Normalize();
    box.Inflate(1);
    return box;
}

void KVXRectangularShapeVisual::DrawOutline(MMSurface* surface)
{
    surface->FrameBox(GetBounds(), kBlackPen, 1);
}

void KVXTriangularShapeVisual::DrawOutline(MMSurface* surface)
{
    PointArray triangle;
    triangle.AssignRect(kPointArrayTriangle, GetBounds());
    if (triangle.Count() > 0)
        surface->DrawPolyline(triangle.Points(), triangle.Count(), kBlackPen, 2);
}

bool KVXPolyLineShapeVisual::AddPoint(int32_t px, int32_t py)
{
    if (count >= kMostPoints)
        return false;
    Invalidate();
    points[count++] = {px, py};
    Invalidate();
    return true;
}

Box KVXPolyLineShapeVisual::GetBounds() const
{
    if (count == 0)
        return {x, y, x, y};
    return PointsBox(points, count);
}

void KVXPolyLineShapeVisual::DrawOutline(MMSurface* surface)
{
    if (count >= 2)
        surface->DrawPolyline(points, count, kBlackPen, 2);
}
