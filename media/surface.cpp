#include "media/surface.h"

#include "media/offscreen_surface.h"

namespace {

const POINT* AsPoints(const Pair* points)
{
    static_assert(sizeof(Pair) == sizeof(POINT), "a Pair is laid out as a POINT");
    return reinterpret_cast<const POINT*>(points);
}

}  // namespace

MMSurface::MMSurface() : clipBox{-32768, -32768, 32767, 32767} {}

MMSurface::~MMSurface() = default;

bool MMSurface::GetClippedBitmap(MMBitmap& out)
{
    MMBitmap store;
    if (!GetBitmap(store)) {
        return false;
    }
    Box part = GetBounds();
    part.Intersect(clipBox);
    store.SubBitmap(out, part);
    return !part.IsEmpty();
}

HDC MMSurface::GetDC()
{
    ApplyClip();
    return dc;
}

void MMSurface::ReleaseResources()
{
    if (dc != nullptr && ownPalette != nullptr) {
        SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), TRUE);
        DeleteObject(ownPalette);
        ownPalette = nullptr;
    }
}

void MMSurface::ApplyClip()
{
    if (!clipPending) {
        return;
    }
    Box bounds = GetBounds();
    if (clipBox.Contains(bounds)) {
        SelectClipRgn(dc, nullptr);
    } else {
        HRGN region = CreateRectRgn(clipBox.left - bounds.left, clipBox.top - bounds.top,
                                    clipBox.right - bounds.left, clipBox.bottom - bounds.top);
        SelectClipRgn(dc, region);
        DeleteObject(region);
    }
    clipPending = false;
}

void MMSurface::OnUnlocked() {}

void MMSurface::SetOrigin(const Pair&) {}

void MMSurface::SetColorTable(const MMColorTable&) {}

void MMSurface::CopyFromOffscreen(WinMMOffscreenSurface& offscreen, const Box& box)
{
    CopyFromOffscreenTo(offscreen, {box.left, box.top}, box);
}

void MMSurface::CopyFromOffscreenTo(WinMMOffscreenSurface& offscreen, const Pair& source,
                                    const Box& destination)
{
    BitBlt(GetDC(), destination.left, destination.top, destination.Width(), destination.Height(),
           offscreen.GetDC(), source.x, source.y, SRCCOPY);
}

void MMSurface::Lock()
{
    ++lockCount;
}

void MMSurface::Unlock()
{
    if (lockCount == 1) {
        OnUnlocked();
    }
    --lockCount;
}

void MMSurface::SetClipBox(const Box& box)
{
    clipBox = box;
    clipPending = true;
}

void MMSurface::Dispose()
{
    goingAway = 1;
    ReleaseResources();
    delete this;
}

void MMSurface::SelectOwnPalette(HPALETTE palette, BOOL background)
{
    SelectPalette(dc, palette, background);
    if (ownPalette != nullptr && ownPalette != palette) {
        DeleteObject(ownPalette);
    }
    ownPalette = palette;
    RealizePalette(dc);
}

HPEN MMSurface::MakePen(MMColor color, int32_t width)
{
    HPEN pen = CreatePen(PS_SOLID, width, MMColorToColorRef(color));
    SelectObject(GetDC(), pen);
    return pen;
}

HBRUSH MMSurface::MakeBrush(MMColor color)
{
    HBRUSH brush = CreateSolidBrush(MMColorToColorRef(color));
    SelectObject(GetDC(), brush);
    return brush;
}

void MMSurface::DropPen(HPEN pen)
{
    SelectObject(dc, GetStockObject(NULL_PEN));
    DeleteObject(pen);
}

void MMSurface::DropBrush(HBRUSH brush)
{
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    DeleteObject(brush);
}

BOOL MMSurface::SetPixel(int32_t x, int32_t y, MMColor color)
{
    return SetPixelV(GetDC(), x, y, MMColorToColorRef(color));
}

BOOL MMSurface::FillBox(const Box& box, MMColor color)
{
    HBRUSH brush = MakeBrush(color);
    BOOL result = PatBlt(dc, box.left, box.top, box.Width(), box.Height(), PATCOPY);
    DropBrush(brush);
    return result;
}

BOOL MMSurface::FrameBox(const Box& box, MMColor color, int32_t width)
{
    HPEN pen = MakePen(color, width);
    BOOL result = Rectangle(dc, box.left, box.top, box.right, box.bottom);
    DropPen(pen);
    return result;
}

BOOL MMSurface::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, MMColor color,
                         int32_t width)
{
    HPEN pen = MakePen(color, width);
    MoveToEx(dc, x1, y1, nullptr);
    BOOL result = LineTo(dc, x2, y2);
    DropPen(pen);
    return result;
}

BOOL MMSurface::DrawPolyline(const Pair* points, int32_t count, MMColor color, int32_t width)
{
    HPEN pen = MakePen(color, width);
    BOOL result = Polyline(dc, AsPoints(points), count);
    DropPen(pen);
    return result;
}

BOOL MMSurface::FillPolygon(const Pair* points, int32_t count, MMColor color)
{
    HBRUSH brush = MakeBrush(color);
    BOOL result = Polygon(dc, AsPoints(points), count);
    DropBrush(brush);
    return result;
}

BOOL MMSurface::FillPolyPolygon(const Pair* points, const int16_t* counts, int32_t polygonCount,
                                MMColor color)
{
    if (polygonCount <= 0) {
        return FALSE;
    }
    if (polygonCount > kMaxPolygons) {
        polygonCount = kMaxPolygons;
    }
    HBRUSH brush = MakeBrush(color);
    BOOL result;
    if (polygonCount == 1) {
        result = Polygon(dc, AsPoints(points), counts[0]);
    } else {
        INT wide[kMaxPolygons];
        for (int32_t i = 0; i < polygonCount; ++i) {
            wide[i] = counts[i];
        }
        result = PolyPolygon(dc, AsPoints(points), wide, polygonCount);
    }
    DropBrush(brush);
    return result;
}

BOOL MMSurface::FrameEllipse(const Box& box, MMColor color, int32_t width)
{
    HPEN pen = MakePen(color, width);
    BOOL result = Ellipse(dc, box.left, box.top, box.right, box.bottom);
    DropPen(pen);
    return result;
}

BOOL MMSurface::FillEllipse(const Box& box, MMColor color)
{
    HBRUSH brush = MakeBrush(color);
    BOOL result = Ellipse(dc, box.left, box.top, box.right, box.bottom);
    DropBrush(brush);
    return result;
}

int MMSurface::FillBlack(const RECT& rectangle)
{
    return FillRect(GetDC(), &rectangle, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

bool MMSurface::Scroll(const RECT& rectangle, int32_t dx, int32_t dy)
{
    RECT update = {0, 0, 0, 0};
    ScrollDC(GetDC(), dx, dy, &rectangle, &rectangle, nullptr, &update);
    RECT strip = rectangle;
    if (dx > 0) {
        strip.right = rectangle.left + dx;
    } else if (dx < 0) {
        strip.left = rectangle.right + dx;
    } else if (dy > 0) {
        strip.bottom = rectangle.top + dy;
    } else if (dy < 0) {
        strip.top = rectangle.bottom + dy;
    } else {
        return true;
    }
    if (dx != 0) {
        return update.left == strip.left && update.right == strip.right;
    }
    return EqualRect(&update, &strip) != 0;
}
