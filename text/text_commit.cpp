#include "text/text_commit.h"

#include <algorithm>
#include <cstring>

#include "selection/pixel_kernels.h"
#include "canvas/plane.h"
#include "media/bitmap.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"

void SetTextAlpha(const MMBitmap& text, int32_t opacity)
{
    uint8_t inked = uint8_t((510 - opacity) * 255 / 510);
    const Box& b = text.box;
    for (int32_t y = b.top; y < b.bottom; ++y) {
        uint8_t* p = text.PixelAddress(b.left, y);
        for (int32_t x = b.left; x < b.right; ++x, p += 4)
            p[3] = (p[0] == 255 && p[1] == 255 && p[2] == 255) ? 255 : inked;
    }
}

Box BlendTextIntoPlane(KVXPlaneComponentTop& plane, const MMBitmap& text, const Pair& at,
                       int32_t relief)
{
    Box target = {at.x, at.y, at.x + text.box.Width(), at.y + text.box.Height()};
    target.Intersect(plane.Bounds());
    if (target.right <= target.left || target.bottom <= target.top)
        return Box{0, 0, 0, 0};
    for (int32_t y = target.top; y < target.bottom; ++y) {
        KVXComponentPixel* p = plane.PixelAt(target.left, y);
        const uint8_t* s = text.PixelAddress(text.box.left + target.left - at.x,
                                             text.box.top + y - at.y);
        for (int32_t x = target.left; x < target.right; ++x, ++p, s += 4) {
            int32_t a = s[3];
            p->blue = uint8_t((a * p->blue + (255 - a) * s[0]) / 255);
            p->green = uint8_t((a * p->green + (255 - a) * s[1]) / 255);
            p->red = uint8_t((a * p->red + (255 - a) * s[2]) / 255);
            p->type = kPixelPlain;
            // Paint as high or as deep as it goes stays there instead of wrapping.
            int32_t height = p->height + (relief - 255) * (255 - a) / 255;
            p->height = uint16_t(std::clamp(height, 0, 65535));
        }
    }
    return target;
}

bool RenderTextIntoCanvas(KVXTextDrawing& drawing, KVXTextCanvas& canvas, const Box& box,
                          int32_t opacity, int32_t relief)
{
    KVXPlaneComponentTop* plane = canvas.Plane();
    if (plane == nullptr || box.Width() <= 0 || box.Height() <= 0 || !drawing.HasText())
        return false;
    WinMMOffscreenSurface* surface =
        MMSurface::CreateBitmapDC(32, Box{0, 0, box.Width(), box.Height()}, nullptr);
    if (surface == nullptr)
        return false;
    canvas.TakeUndoSnapshot();
    const MMBitmap& store = surface->Store();
    for (int32_t y = 0; y < box.Height(); ++y)
        std::memset(store.PixelAddress(0, y), 255, size_t(box.Width()) * 4);
    drawing.DrawTextInto(surface);
    SetTextAlpha(store, opacity);
    SoftenPixels3x3(store);
    Pair origin = canvas.Origin();
    BlendTextIntoPlane(*plane, store, Pair{box.left - origin.x, box.top - origin.y}, relief);
    plane->MarkAllDirty();
    canvas.PlaneChanged();
    surface->Dispose();
    return true;
}
