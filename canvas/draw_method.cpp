#include "canvas/draw_method.h"

#include "canvas/shading.h"
#include "media/offscreen_surface.h"

namespace {

// The dirty box clipped to the plane and kept one pixel in from every edge
// (each pixel reads its upper-left and lower-right neighbours).
Box ShadingArea(const KVXPlaneComponent& plane, const Box& area)
{
    Box r = area;
    r.Intersect(plane.Bounds());
    if (r.left == 0)
        r.left = 1;
    if (r.top == 0)
        r.top = 1;
    if (r.right == plane.width)
        r.right -= 1;
    if (r.bottom == plane.height)
        r.bottom -= 1;
    return r;
}

// Walks down and to the right from (x, y) while the shadow of height v, 32
// lower per pixel, still clears the heights there; max grows to cover it.
template <class HeightAt>
void FollowShadow(int32_t x, int32_t y, int32_t v, int32_t width, int32_t height,
                  HeightAt heightAt, int32_t& maxRight, int32_t& maxBottom)
{
    while (x < width - 1 && y < height - 1) {
        if (x > maxRight)
            maxRight = x + 1;
        if (y > maxBottom)
            maxBottom = y + 1;
        ++x;
        ++y;
        v -= 32;
        if (int32_t(heightAt(x, y)) > v)
            break;
    }
}

bool Reaches(int32_t x, int32_t y, int32_t shadow, int32_t maxRight, int32_t maxBottom)
{
    return x + shadow / 32 > maxRight || y + shadow / 32 > maxBottom;
}

void AddShadowArea(KVXPlaneComponent& plane, const Box& r, int32_t maxRight, int32_t maxBottom)
{
    plane.AddDirtyRect({r.left, r.top, maxRight + 5, maxBottom + 5});
}

// The heights and shadows of rendered pixels kept in the work copy, whose
// pixel (0, 0) is the plane's.
struct KeptHeights {
    KVXBitmap<uint32_t>* copy;
    int32_t left;  // the view's place in the plane
    int32_t top;
};

void KeepHeights(void* context, const KVXComponentPixel* pixels, int32_t x, int32_t y,
                 int32_t count)
{
    const KeptHeights& kept = *static_cast<const KeptHeights*>(context);
    const KVXBitmap<uint32_t>& copy = *kept.copy;
    int32_t keptX = kept.left + x;
    int32_t keptY = kept.top + y;
    if (keptY < 0 || keptY >= copy.height || keptX < 0)
        return;
    uint32_t* to = copy.PixelAt(keptX, keptY);
    int32_t n = std::min(count, copy.width - keptX);
    for (int32_t i = 0; i < n; ++i)
        to[i] = pixels[i].height | uint32_t(pixels[i].shadow) << 16;
}

}  // namespace

void KVXDrawMethod::Attach(WorkSurface*, KVXPlaneComponent&)
{
    needsFullRender = 1;
    active = 0;
}

void KVXDrawMethod::Detach(KVXPlaneComponent&)
{
    needsFullRender = 1;
    active = 0;
}

void KVXDrawMethodPlain::Render(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed)
{
    ShadeView(view, target, zoomed);
    view.ResetDirtyBoxIfFlagged();
}

void KVXDrawMethodAddHeight::Prepare(KVXPlaneComponent& plane) { RecomputeShading(plane); }

void KVXDrawMethodAddHeight::RecomputeShading(KVXPlaneComponent& plane)
{
    Box reached = RecomputeShading(plane, plane.DirtyBox());
    if (!reached.IsEmpty())
        plane.AddDirtyRect(reached);
}

Box KVXDrawMethodAddHeight::RecomputeShading(KVXPlaneComponent& plane, const Box& area)
{
    Box r = ShadingArea(plane, area);
    if (r.left >= r.right || r.top >= r.bottom)
        return Box{0, 0, 0, 0};
    int32_t maxRight = r.right;
    int32_t maxBottom = r.bottom;
    auto heightAt = [&plane](int32_t x, int32_t y) { return plane.PixelAt(x, y)->height; };
    for (int32_t y = r.top; y < r.bottom; ++y) {
        for (int32_t x = r.left; x < r.right; ++x) {
            KVXComponentPixel* p = plane.PixelAt(x, y);
            int32_t h = p->height;
            int32_t s = p->shadow;
            int32_t carried;
            if (h >= s) {
                p->shadow = uint16_t(h);
                carried = h;
            } else {
                carried = s;
                const KVXComponentPixel* upperLeft = plane.PixelAt(x - 1, y - 1);
                if (upperLeft->height == upperLeft->shadow &&
                    Reaches(x, y, s, maxRight, maxBottom))
                    FollowShadow(x, y, h, plane.width, plane.height, heightAt, maxRight,
                                 maxBottom);
            }
            plane.PixelAt(x + 1, y + 1)->shadow = FallenShadow(carried);
        }
    }
    return Box{r.left, r.top, maxRight + 5, maxBottom + 5};
}

KVXBitmap<uint32_t> KVXDrawMethodRemoveHeight::HeightCopy() const
{
    if (work == nullptr)
        return KVXBitmap<uint32_t>();
    return work->PlaneOf<uint32_t>();
}

void KVXDrawMethodRemoveHeight::Attach(WorkSurface* workSurface, KVXPlaneComponent& plane)
{
    KVXDrawMethodPlain::Attach(workSurface, plane);
    work = workSurface;
    TakeWork(work);
    KVXBitmap<uint32_t> copy = HeightCopy();
    if (copy.bits == nullptr)
        return;
    int32_t width = std::min(plane.width, copy.width);
    int32_t height = std::min(plane.height, copy.height);
    for (int32_t y = 0; y < height; ++y) {
        const KVXComponentPixel* p = plane.Row(y);
        uint32_t* c = copy.Row(y);
        for (int32_t x = 0; x < width; ++x)
            c[x] = p[x].height | uint32_t(p[x].shadow) << 16;
    }
}

void KVXDrawMethodRemoveHeight::Detach(KVXPlaneComponent& plane)
{
    GiveWork(work);
    work = nullptr;
    KVXDrawMethodPlain::Detach(plane);
}

void KVXDrawMethodRemoveHeight::Render(KVXPlaneComponent& view, const MMBitmap& target,
                                       bool zoomed)
{
    KVXBitmap<uint32_t> copy = HeightCopy();
    if (copy.bits == nullptr) {
        KVXDrawMethodPlain::Render(view, target, zoomed);
        return;
    }
    KeptHeights kept = {&copy, view.placement.left, view.placement.top};
    ShadeView(view, target, zoomed, ShadeRowsDone{&KeepHeights, &kept});
    view.ResetDirtyBoxIfFlagged();
}

void KVXDrawMethodRemoveHeight::Prepare(KVXPlaneComponent& plane)
{
    KVXBitmap<uint32_t> copy = HeightCopy();
    // The kept heights cover the work surface, which may be smaller than the plane.
    int32_t width = std::min(plane.width, copy.width);
    int32_t height = std::min(plane.height, copy.height);
    Box r = ShadingArea(plane, plane.DirtyBox());
    r.Intersect(Box{0, 0, width, height});
    if (copy.bits == nullptr || r.left >= r.right || r.top >= r.bottom)
        return;
    int32_t maxRight = r.right;
    int32_t maxBottom = r.bottom;
    auto heightAt = [&copy](int32_t x, int32_t y) { return *copy.PixelAt(x, y) & 0xFFFF; };
    for (int32_t y = r.top; y < r.bottom; ++y) {
        for (int32_t x = r.left; x < r.right; ++x) {
            uint32_t old = *copy.PixelAt(x, y);
            int32_t h = old & 0xFFFF;
            int32_t s = old >> 16;
            if (h >= s)
                continue;
            uint32_t upperLeft = *copy.PixelAt(x - 1, y - 1);
            if ((upperLeft & 0xFFFF) == upperLeft >> 16 && Reaches(x, y, s, maxRight, maxBottom))
                FollowShadow(x, y, h, width, height, heightAt, maxRight, maxBottom);
        }
    }
    AddShadowArea(plane, r, maxRight, maxBottom);
}

void KVXDrawMethodStatic::Attach(WorkSurface* workSurface, KVXPlaneComponent& plane)
{
    KVXDrawMethod::Attach(workSurface, plane);
    work = workSurface;
    TakeWork(work);
    RenderIntoWork(plane, plane.Bounds());
}

void KVXDrawMethodStatic::UpdateRect(KVXPlaneComponent& plane, int32_t left, int32_t top,
                                     int32_t right, int32_t bottom)
{
    if (work != nullptr && left < right && top < bottom)
        RenderIntoWork(plane, {left, top, right, bottom});
}

void KVXDrawMethodStatic::Detach(KVXPlaneComponent& plane)
{
    GiveWork(work);
    work = nullptr;
    KVXDrawMethod::Detach(plane);
}

void KVXDrawMethodStatic::RenderIntoWork(KVXPlaneComponent& plane, const Box& box)
{
    MMBitmap store;
    if (work == nullptr || work->surface == nullptr || !work->surface->GetBitmap(store))
        return;
    Box part = box;
    part.Intersect(plane.Bounds());
    part.Intersect(store.box);
    if (part.IsEmpty())
        return;
    // The view reaches the plane's right and bottom edges so that the last
    // pixels of the part still have neighbours to read.
    KVXPlaneComponent view;
    view.MakeSubView(plane, {part.left, part.top, plane.width, plane.height});
    MMBitmap target;
    store.SubBitmap(target, part);
    view.RenderPlain(target);
}

void KVXDrawMethodStatic::CopyWork(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed)
{
    MMBitmap store;
    if (work == nullptr || work->surface == nullptr || !work->surface->GetBitmap(store))
        return;
    const Box& box = target.box;
    int32_t phaseX = zoomed ? (box.left & 1) : 0;
    int32_t phaseY = zoomed ? (box.top & 1) : 0;
    int32_t columns = ShadedSpan(box.Width() + phaseX, view.width, zoomed);
    int32_t rows = ShadedSpan(box.Height() + phaseY, view.height, zoomed);
    int32_t left = view.placement.left;
    int32_t top = view.placement.top;
    columns = std::min(columns, store.box.right - left);
    rows = std::min(rows, store.box.bottom - top);
    if (columns <= 0 || rows <= 0)
        return;
    if (!zoomed) {
        for (int32_t y = 0; y < rows; ++y)
            std::memcpy(target.pixels + ptrdiff_t(y) * target.pitch, store.PixelAddress(left, top + y),
                        size_t(columns) * 4);
        return;
    }
    int32_t width = std::min(2 * columns - phaseX, box.Width());
    int32_t height = std::min(2 * rows - phaseY, box.Height());
    for (int32_t r = 0; r < height; ++r) {
        const uint32_t* from =
            reinterpret_cast<const uint32_t*>(store.PixelAddress(left, top + (r + phaseY) / 2));
        uint32_t* out = reinterpret_cast<uint32_t*>(target.pixels + ptrdiff_t(r) * target.pitch);
        for (int32_t t = 0; t < width; ++t)
            out[t] = from[(t + phaseX) / 2];
    }
}

void KVXDrawMethodStatic::Render(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed)
{
    CopyWork(view, target, zoomed);
    view.ResetDirtyBoxIfFlagged();
}

void KVXDrawMethodUpdateableStatic::Render(KVXPlaneComponent& view, const MMBitmap& target,
                                           bool zoomed)
{
    if (!view.DirtyBox().IsEmpty()) {
        int32_t scale = zoomed ? 2 : 1;
        Box area = {view.placement.left, view.placement.top,
                    view.placement.left + (target.box.Width() + scale - 1) / scale,
                    view.placement.top + (target.box.Height() + scale - 1) / scale};
        MMBitmap store;
        if (work != nullptr && work->surface != nullptr && work->surface->GetBitmap(store)) {
            area.Intersect(store.box);
            MMBitmap part;
            if (!area.IsEmpty()) {
                store.SubBitmap(part, area);
                view.RenderPlain(part);
            }
        }
        view.ResetDirtyBoxIfFlagged();
    }
    CopyWork(view, target, zoomed);
}

bool KVXPlaneComponent::RenderPlain(const MMBitmap& bitmap)
{
    KVXDrawMethodPlain method;
    method.needsFullRender = 1;
    method.active = 0;
    method.Render(*this, bitmap, false);
    return true;
}
