#include "brushes/squeegee_brush.h"

#include <algorithm>
#include <cmath>

#include "framework/random.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"

SqueegeeBand::SqueegeeBand(double halfWidth) : halfWidth(halfWidth)
{
    for (int i = 0; i < 256; ++i)
        greys.entries[i] = RGBQUAD{uint8_t(i), uint8_t(i), uint8_t(i), 0};
}

SqueegeeBand::~SqueegeeBand() = default;

void SqueegeeBand::Reset(const BrushDab& sample)
{
    points.clear();
    firstDab = true;
    side = true;
    start = {int32_t(sample.x), int32_t(sample.y)};
}

void SqueegeeBand::AddDab(const BrushDab& dab)
{
    double e = halfWidth * 255;
    double h = FastSqrt(float(dab.dx * dab.dx + dab.dy * dab.dy));
    double ox = h == 0 ? 0 : e * dab.dy / h;
    double oy = h == 0 ? 0 : -e * dab.dx / h;
    if (firstDab) {
        firstDab = false;
        points.insert(points.begin(), {start, start});
    } else if (points.size() >= 2) {
        points.erase(points.begin(), points.begin() + 2);
    }
    Pair l = {int32_t(dab.x + ox), int32_t(dab.y + oy)};
    Pair r = {int32_t(dab.x - ox), int32_t(dab.y - oy)};
    if (side) {
        points.push_back(l);
        points.push_back(r);
    } else {
        points.push_back(r);
        points.push_back(l);
    }
    side = !side;
}

WinMMOffscreenSurface* SqueegeeBand::MakeMask(Box& bounds, MMBitmap& bits) const
{
    if (points.empty())
        return nullptr;
    bounds = {points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Pair& p : points) {
        bounds.left = std::min(bounds.left, p.x);
        bounds.top = std::min(bounds.top, p.y);
        bounds.right = std::max(bounds.right, p.x);
        bounds.bottom = std::max(bounds.bottom, p.y);
    }
    int32_t width = bounds.Width();
    int32_t height = bounds.Height();
    if (width == 0 || height == 0)
        width = height = 1;
    Box maskBox = {0, 0, width, height};
    WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(8, maskBox, &greys);
    if (surface == nullptr)
        return nullptr;
    std::vector<Pair> moved;
    for (const Pair& p : points)
        moved.push_back({p.x - bounds.left, p.y - bounds.top});
    moved.push_back(moved.front());
    surface->Lock();
    surface->SetClipBox(maskBox);
    surface->FillBox(maskBox, MakeMMColorFromRgb(0));
    surface->FillPolygon(moved.data(), int32_t(moved.size()), MakeMMColorFromRgb(0xFFFFFF));
    GdiFlush();
    surface->GetBitmap(bits);
    surface->Unlock();
    return surface;
}

void DisposeSqueegeeMask(WinMMOffscreenSurface* surface) { surface->Dispose(); }
