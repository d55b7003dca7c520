#include <windows.h>

#include <algorithm>
#include <cmath>

#include "canvas/plane.h"
#include "canvas/point_array.h"
#include "canvas/work_surface.h"
#include "framework/random.h"
#include "media/color.h"
#include "media/surface.h"

namespace {

const MMColor kWhite = {-1, 255, 255, 255, 0};
const MMColor kBlack = {-1, 0, 0, 0, 0};

uint16_t ClampHeight(double h) { return uint16_t(std::clamp(h, 0.0, 65535.0)); }

void WritePixel(KVXComponentPixel& p, const MMColor& color, int16_t step)
{
    if (p.type == kPixelLocked)
        return;
    p.blue = color.blue;
    p.green = color.green;
    p.red = color.red;
    p.type = kPixelPlain;
    p.height = ClampHeight(double(p.height) + step);
}

// The work surface held for one shape: busy, locked, drawn without outlines.
class WorkLease {
public:
    WorkLease(WorkSurface* work, bool create) : work(work)
    {
        if (work == nullptr || (create && !work->EnsureSurface()) || work->surface == nullptr)
            return;
        surface = work->surface;
        work->busy = 1;
        surface->Lock();
        SelectObject(surface->GetDC(), GetStockObject(NULL_PEN));
        surface->SetClipBox(surface->GetBounds());
        surface->GetBitmap(store);
    }
    ~WorkLease()
    {
        if (surface == nullptr)
            return;
        surface->Unlock();
        work->busy = 0;
    }
    bool Ready() const { return surface != nullptr && store.pixels != nullptr; }
    // After GDI drawing, before the pixels are read.
    void Flush() { GdiFlush(); }
    uint32_t& Word(int32_t x, int32_t y) const
    {
        return *reinterpret_cast<uint32_t*>(store.PixelAddress(x, y));
    }

    WorkSurface* work;
    MMSurface* surface = nullptr;
    MMBitmap store;
};

// Writes every pixel of box (clipped) that the work surface holds black.
void TransferBlack(KVXPlaneComponent& plane, WorkLease& lease, const Box& box,
                   const MMColor& color, int16_t step)
{
    lease.Flush();
    Box part = box;
    part.Intersect(plane.Bounds());
    part.Intersect(lease.store.box);
    for (int32_t y = part.top; y < part.bottom; ++y)
        for (int32_t x = part.left; x < part.right; ++x)
            if ((lease.Word(x, y) & 0xFFFFFF) == 0)
                WritePixel(*plane.PixelAt(x, y), color, step);
}

void FillTrianglePoints(MMSurface* surface, const PointArray& points, const MMColor& color)
{
    if (points.Count() > 0)
        surface->FillPolygon(points.Points(), points.Count(), color);
}

// The lens: radius r from the box's width, its square around the box's
// centre clipped to the plane. False when the box is too narrow.
struct Lens {
    int32_t r, cx, cy;
    Box square;

    Lens(const KVXPlaneComponent& plane, const Box& box)
    {
        r = (box.right - box.left) / 2;
        cx = box.left + (box.right - box.left) / 2;
        cy = box.top + (box.bottom - box.top) / 2;
        square = {cx - r, cy - r, cx + r, cy + r};
        square.Intersect(plane.Bounds());
    }
    bool Usable() const { return r > 0 && !square.IsEmpty(); }
};

// value(x, y) of the copy, sampled bilinearly at (sx, sy) clamped to the plane.
template <class Value>
double Bilinear(const KVXPlaneComponent& plane, double sx, double sy, Value value)
{
    sx = std::clamp(sx, 0.0, double(plane.width - 1));
    sy = std::clamp(sy, 0.0, double(plane.height - 1));
    int32_t x0 = int32_t(sx);
    int32_t x1 = int32_t(std::min(sx + 1.0, double(plane.width - 1)));
    int32_t y0 = int32_t(sy);
    int32_t y1 = int32_t(std::min(sy + 1.0, double(plane.height - 1)));
    double fx = sx - std::floor(sx);
    double fy = sy - std::floor(sy);
    return (1 - fx) * (1 - fy) * value(x0, y0) + fx * (1 - fy) * value(x1, y0) +
           (1 - fx) * fy * value(x0, y1) + fx * fy * value(x1, y1);
}

enum class LensShape { kBox, kEllipse };

// For each pixel of the lens square: the offset it samples and the lens
// depth there; false for pixels the shape leaves.
bool LensOffset(LensShape shape, const Lens& lens, int32_t amount, double& dx, double& dy,
                double& depth)
{
    double r = lens.r;
    if (shape == LensShape::kEllipse) {
        double d2 = dx * dx + dy * dy;
        if (d2 > r * r)
            return false;
        depth = std::sqrt(r * r - d2) * amount / 255.0;
        double f = (r - depth) / r;
        dx *= f;
        dy *= f;
        return true;
    }
    if (std::fabs(dy) > std::fabs(dx)) {
        depth = std::sqrt(std::max(r * r - dy * dy, 0.0)) * amount / 255.0;
        dy *= (r - depth) / r;
    } else {
        depth = std::sqrt(std::max(r * r - dx * dx, 0.0)) * amount / 255.0;
        dx *= (r - depth) / r;
    }
    return true;
}

void Refract(KVXPlaneComponent& plane, LensShape shape, const Box& box, int32_t amount,
             WorkSurface* work)
{
    Lens lens(plane, box);
    WorkLease lease(work, false);
    if (!lens.Usable() || !lease.Ready())
        return;
    const Box& l = lens.square;
    for (int32_t y = l.top; y < l.bottom; ++y)
        for (int32_t x = l.left; x < l.right; ++x)
            lease.Word(x, y) = plane.ColorAt(x, y);
    for (int32_t y = l.top; y < l.bottom; ++y) {
        for (int32_t x = l.left; x < l.right; ++x) {
            double dx = x - lens.cx, dy = y - lens.cy, depth;
            if (!LensOffset(shape, lens, amount, dx, dy, depth))
                continue;
            uint8_t* channels = &plane.PixelAt(x, y)->blue;
            for (int c = 0; c < 3; ++c) {
                channels[c] = uint8_t(Bilinear(plane, lens.cx + dx, lens.cy + dy,
                                               [&](int32_t px, int32_t py) {
                                                   return double((lease.Word(px, py) >> (8 * c)) & 0xFF);
                                               }));
            }
        }
    }
}

void Raise(KVXPlaneComponent& plane, LensShape shape, const Box& box, int32_t amount,
           WorkSurface* work)
{
    Lens lens(plane, box);
    WorkLease lease(work, false);
    if (!lens.Usable() || !lease.Ready())
        return;
    KVXBitmap<uint16_t> copy = work->PlaneOf<uint16_t>();
    const Box& l = lens.square;
    for (int32_t y = l.top; y < l.bottom; ++y)
        for (int32_t x = l.left; x < l.right; ++x)
            *copy.PixelAt(x, y) = plane.PixelAt(x, y)->height;
    for (int32_t y = l.top; y < l.bottom; ++y) {
        for (int32_t x = l.left; x < l.right; ++x) {
            double dx = x - lens.cx, dy = y - lens.cy, depth;
            if (!LensOffset(shape, lens, amount, dx, dy, depth))
                continue;
            double h = Bilinear(plane, lens.cx + dx, lens.cy + dy,
                                [&](int32_t px, int32_t py) { return double(*copy.PixelAt(px, py)); });
            plane.PixelAt(x, y)->height = ClampHeight(std::trunc(32.0 * depth + h));
        }
    }
}

// The level map of a triangle: each pixel inside holds, in the channel of
// the side whose sector it lies in (red, green, blue for sides 1 to 3), a
// level growing from about 0 at the side to 254 near the centroid.
void DrawLevels(WorkLease& lease, const Box& box, const Box& square)
{
    PointArray triangle;
    triangle.AssignRect(kPointArrayTriangle, box);
    Box cleared = box;
    cleared.Union(square);
    lease.surface->FillBox(cleared, kBlack);
    if (triangle.Count() == 0)
        return;
    Pair p[3] = {triangle[0], triangle[1], triangle[2]};
    Pair m12 = {(p[1].x + p[2].x) / 2, (p[1].y + p[2].y) / 2};
    Pair m02 = {(p[0].x + p[2].x) / 2, (p[0].y + p[2].y) / 2};
    DoublePair c = IntersectLines(p[0], m12, p[1], m02);
    Pair centroid = {int32_t(c.x), int32_t(c.y)};
    for (int side = 0; side < 3; ++side) {
        Pair a = p[side];
        Pair b = p[(side + 1) % 3];
        for (int i = 1; i <= 254; ++i) {
            Pair polygon[3] = {{a.x + (centroid.x - a.x) * i / 255, a.y + (centroid.y - a.y) * i / 255},
                               {b.x + (centroid.x - b.x) * i / 255, b.y + (centroid.y - b.y) * i / 255},
                               centroid};
            MMColor level = {-1, 0, 0, 0, 0};
            (side == 0 ? level.red : side == 1 ? level.green : level.blue) = uint8_t(i);
            lease.surface->FillPolygon(polygon, 3, level);
        }
    }
    lease.Flush();
}

// Side 1 to 3 and level of a level-map pixel; side 0 outside the triangle.
void SideAndLevel(uint32_t word, int32_t& side, int32_t& level)
{
    uint8_t blue = word & 0xFF, green = (word >> 8) & 0xFF, red = (word >> 16) & 0xFF;
    side = red ? 1 : green ? 2 : blue ? 3 : 0;
    level = red ? red : green ? green : blue;
}

enum class TriangleLens { kColors, kHeights };

void TriangleLensPass(KVXPlaneComponent& plane, const Box& box, int32_t amount, WorkSurface* work,
                      TriangleLens what)
{
    Lens lens(plane, box);
    WorkLease lease(work, true);
    if (!lens.Usable() || !lease.Ready())
        return;
    const Box& l = lens.square;
    DrawLevels(lease, box, l);
    for (int32_t y = l.top; y < l.bottom; ++y) {
        for (int32_t x = l.left; x < l.right; ++x) {
            int32_t side, level;
            SideAndLevel(lease.Word(x, y), side, level);
            const KVXComponentPixel& p = *plane.PixelAt(x, y);
            if (what == TriangleLens::kHeights)
                lease.Word(x, y) = p.height | uint32_t(side) << 16 | uint32_t(level) << 24;
            else
                lease.Word(x, y) = uint32_t((p.blue & ~3) | side) | uint32_t(p.green) << 8 |
                                   uint32_t(p.red) << 16 | uint32_t(level) << 24;
        }
    }
    double r = lens.r;
    for (int32_t y = l.top; y < l.bottom; ++y) {
        for (int32_t x = l.left; x < l.right; ++x) {
            uint32_t word = lease.Word(x, y);
            int32_t side = what == TriangleLens::kHeights ? (word >> 16) & 0xFF : word & 3;
            int32_t v = word >> 24;
            if (side == 0)
                continue;
            int32_t q = int32_t(v * r / 255.0);
            double shrink = (r - q * amount / 255.0) / r;
            double dx = x - lens.cx, dy = (y - lens.cy) * shrink;
            if (side != 2)
                dx *= shrink;
            double sx = lens.cx + dx, sy = lens.cy + dy;
            KVXComponentPixel& p = *plane.PixelAt(x, y);
            if (what == TriangleLens::kHeights) {
                double h = Bilinear(plane, sx, sy, [&](int32_t px, int32_t py) {
                    return double(lease.Word(px, py) & 0xFFFF);
                });
                p.height = ClampHeight(std::trunc(32.0 * r * (v / 255.0) * (amount / 255.0) + h));
                continue;
            }
            uint8_t* channels = &p.blue;
            for (int c = 0; c < 3; ++c) {
                channels[c] = uint8_t(Bilinear(plane, sx, sy, [&](int32_t px, int32_t py) {
                    return double((lease.Word(px, py) >> (8 * c)) & 0xFF);
                }));
            }
        }
    }
}

}  // namespace

void KVXPlaneComponent::FillBox(const Box& box, const MMColor& color, int16_t heightStep)
{
    Box part = box;
    part.Intersect(Bounds());
    for (int32_t y = part.top; y < part.bottom; ++y)
        for (int32_t x = part.left; x < part.right; ++x)
            WritePixel(*PixelAt(x, y), color, heightStep);
}

void KVXPlaneComponent::FillBoxBorder(const Box& box, const MMColor& color, int32_t width,
                                      int16_t heightStep)
{
    Box inner = box;
    inner.Inflate(-width);
    Box part = box;
    part.Intersect(Bounds());
    for (int32_t y = part.top; y < part.bottom; ++y)
        for (int32_t x = part.left; x < part.right; ++x)
            if (!(x >= inner.left && x < inner.right && y >= inner.top && y < inner.bottom))
                WritePixel(*PixelAt(x, y), color, heightStep);
}

void KVXPlaneComponent::FillTriangle(const Box& box, const MMColor& color, int32_t width,
                                     int16_t heightStep, WorkSurface* work)
{
    WorkLease lease(work, true);
    if (!lease.Ready())
        return;
    lease.surface->FillBox(box, kWhite);
    PointArray triangle;
    triangle.AssignRect(kPointArrayTriangle, box);
    FillTrianglePoints(lease.surface, triangle, kBlack);
    if (width > 0) {
        int32_t c = width;
        int32_t drop = int32_t(2.0f * FastSqrt(float(2 * c * c)));
        triangle.AssignRect(kPointArrayTriangle,
                            {box.left + 2 * c, box.top + drop, box.right - 2 * c, box.bottom - c});
        FillTrianglePoints(lease.surface, triangle, kWhite);
    }
    TransferBlack(*this, lease, box, color, heightStep);
}

void KVXPlaneComponent::FillTriangleBorder(const Box& box, const MMColor& color, int32_t width,
                                           int16_t heightStep, WorkSurface* work)
{
    WorkLease lease(work, true);
    if (!lease.Ready())
        return;
    lease.surface->FillBox(box, kWhite);
    PointArray triangle;
    triangle.AssignRect(kPointArrayTriangle, box);
    FillTrianglePoints(lease.surface, triangle, kBlack);
    PointArray inner = triangle;
    inner.ShrinkTriangleToCentroid(std::max(width, 1));
    FillTrianglePoints(lease.surface, inner, kWhite);
    if (triangle.Count() > 0)
        lease.surface->DrawPolyline(triangle.Points(), triangle.Count(), kBlack, 1);
    TransferBlack(*this, lease, box, color, heightStep);
}

void KVXPlaneComponent::FillEllipse(const Box& box, const MMColor& color, int32_t width,
                                    int16_t heightStep, WorkSurface* work)
{
    WorkLease lease(work, true);
    if (!lease.Ready())
        return;
    lease.surface->FillBox(box, kWhite);
    lease.surface->FillEllipse(box, kBlack);
    Box inner = box;
    inner.Inflate(-width);
    if (width > 0 && inner.right >= inner.left && inner.bottom >= inner.top)
        lease.surface->FillEllipse(inner, kWhite);
    TransferBlack(*this, lease, box, color, heightStep);
}

void KVXPlaneComponent::RefractBoxColors(const Box& box, int32_t amount, WorkSurface* work)
{
    Refract(*this, LensShape::kBox, box, amount, work);
}

void KVXPlaneComponent::RefractEllipseColors(const Box& box, int32_t amount, WorkSurface* work)
{
    Refract(*this, LensShape::kEllipse, box, amount, work);
}

void KVXPlaneComponent::RaiseBoxHeights(const Box& box, int32_t amount, WorkSurface* work)
{
    Raise(*this, LensShape::kBox, box, amount, work);
}

void KVXPlaneComponent::RaiseEllipseHeights(const Box& box, int32_t amount, WorkSurface* work)
{
    Raise(*this, LensShape::kEllipse, box, amount, work);
}

void KVXPlaneComponent::RefractTriangleColors(const Box& box, int32_t amount, WorkSurface* work)
{
    TriangleLensPass(*this, box, amount, work, TriangleLens::kColors);
}

void KVXPlaneComponent::RaiseTriangleHeights(const Box& box, int32_t amount, WorkSurface* work)
{
    TriangleLensPass(*this, box, amount, work, TriangleLens::kHeights);
}
