#include "canvas/drippy_draw_methods.h"

#include <algorithm>

#include "canvas/blend.h"

namespace {

bool Drips(const KVXComponentPixel& p) { return p.type == kPixelDrippy; }

uint16_t SaturatedHeight(int32_t h) { return uint16_t(std::clamp(h, 0, 65535)); }

// 15/16 of the running paint's colour over the paint below.
void RunColor(const KVXComponentPixel& upper, KVXComponentPixel& lower)
{
    lower.blue = uint8_t(BlendTable[upper.blue][239] + BlendTable[lower.blue][16]);
    lower.green = uint8_t(BlendTable[upper.green][239] + BlendTable[lower.green][16]);
    lower.red = uint8_t(BlendTable[upper.red][239] + BlendTable[lower.red][16]);
}

void StoreHeights(const KVXPlaneComponent& plane, const KVXBitmap<uint16_t>& floors)
{
    if (floors.bits == nullptr)
        return;
    for (int32_t y = 0; y < plane.height; ++y) {
        const KVXComponentPixel* p = plane.Row(y);
        uint16_t* f = floors.Row(y);
        for (int32_t x = 0; x < plane.width; ++x)
            f[x] = p[x].height;
    }
}

// Paint that ran stops where it is.
void SettleDrippyPaint(KVXPlaneComponent& plane)
{
    for (int32_t y = 0; y < plane.height; ++y) {
        KVXComponentPixel* p = plane.Row(y);
        for (int32_t x = 0; x < plane.width; ++x)
            if (p[x].type != kPixelLocked)
                p[x].type = kPixelPlain;
    }
}

KVXBitmap<uint16_t> WorkHeights(WorkSurface* work)
{
    return work != nullptr ? work->PlaneOf<uint16_t>() : KVXBitmap<uint16_t>();
}

}  // namespace

template <class Base>
void KVXDrippyMethod<Base>::Flow(KVXPlaneComponent& plane)
{
    Box r = dripBox;
    r.Intersect(plane.Bounds());
    dripBox = Box{0, 0, 0, 0};
    if (r.bottom > plane.height - 1)
        r.bottom = plane.height - 1;
    for (int32_t y = r.bottom; y >= r.top + 1; --y) {
        KVXComponentPixel* upper = plane.Row(y - 1);
        KVXComponentPixel* lower = plane.Row(y);
        for (int32_t x = r.left; x < r.right; ++x) {
            if (Drips(upper[x])) {
                this->active = 1;
                Moved(x, y);
            }
            FlowPixel(plane, upper[x], lower[x], x, y);
        }
    }
    if (dripBox.IsEmpty())
        return;
    dripBox.right += 1;
    dripBox.bottom += 1;
    if (GrowsUpLeft()) {
        dripBox.left = std::max(dripBox.left - 1, 0);
        dripBox.top = std::max(dripBox.top - 1, 0);
    }
}

template class KVXDrippyMethod<KVXDrawMethodPlain>;
template class KVXDrippyMethod<KVXDrawMethodRemoveHeight>;
template class KVXDrippyMethod<KVXDrawMethodAddHeight>;

// Drippy plain: floors in the work surface's 16-bit heights.

void KVXDrawMethodDrippyPlain::Attach(WorkSurface* workSurface, KVXPlaneComponent& plane)
{
    KVXDrawMethodPlain::Attach(workSurface, plane);
    work = workSurface;
    TakeWork(work);
    StoreHeights(plane, WorkHeights(work));
}

void KVXDrawMethodDrippyPlain::Detach(KVXPlaneComponent& plane)
{
    GiveWork(work);
    work = nullptr;
    KVXDrawMethodPlain::Detach(plane);
}

void KVXDrawMethodDrippyPlain::FlowPixel(KVXPlaneComponent&, KVXComponentPixel& upper,
                                         KVXComponentPixel& lower, int32_t x, int32_t y)
{
    KVXBitmap<uint16_t> floors = WorkHeights(work);
    int32_t floor = floors.bits ? *floors.PixelAt(x, y) : 0;
    int32_t h;
    if (Drips(upper)) {
        lower = upper;
        h = int32_t(upper.height) - 8;
    } else if (Drips(lower)) {
        Moved(x, y);
        h = int32_t(lower.height) - 18;
    } else {
        return;
    }
    if (h <= floor) {
        lower.height = uint16_t(floor);
        lower.type = kPixelPlain;
    } else {
        lower.height = uint16_t(h);
    }
}

// Drippy add height: the work surface holds the remove-height copy, the
// floors lie in a plane of their own.

void KVXDrawMethodDrippyAddHeight::Attach(WorkSurface* workSurface, KVXPlaneComponent& plane)
{
    KVXDrawMethodRemoveHeight::Attach(workSurface, plane);
    floors.reset(new (gDefaultHeap) KVXPlaneHeightTop(plane.Size()));
    StoreHeights(plane, *floors);
}

void KVXDrawMethodDrippyAddHeight::Detach(KVXPlaneComponent& plane)
{
    floors.reset();
    bool ran = active != 0;
    KVXDrawMethodRemoveHeight::Detach(plane);
    if (ran)
        SettleDrippyPaint(plane);
}

void KVXDrawMethodDrippyAddHeight::FlowPixel(KVXPlaneComponent&, KVXComponentPixel& upper,
                                             KVXComponentPixel& lower, int32_t x, int32_t y)
{
    if (!Drips(upper)) {
        if (Drips(lower))
            lower.type = kPixelPlain;
        return;
    }
    int32_t floor = floors && floors->bits ? *floors->PixelAt(x, y - 1) : 0;
    // Signed: paint below its floor has nothing to give and stops.
    int32_t excess = int32_t(upper.height) - floor;
    if (excess < 5) {
        upper.type = kPixelPlain;
    } else {
        lower.height = SaturatedHeight(int32_t(lower.height) + excess - 4);
        RunColor(upper, lower);
        lower.type = kPixelDrippy;
    }
    upper.height = uint16_t(floor);
}

// Drippy remove height: carved paint runs, floors in the work surface.

void KVXDrawMethodDrippyRemoveHeight::Attach(WorkSurface* workSurface, KVXPlaneComponent& plane)
{
    KVXDrawMethodAddHeight::Attach(workSurface, plane);
    work = workSurface;
    TakeWork(work);
    StoreHeights(plane, WorkHeights(work));
}

void KVXDrawMethodDrippyRemoveHeight::Detach(KVXPlaneComponent& plane)
{
    GiveWork(work);
    work = nullptr;
    KVXDrawMethodAddHeight::Detach(plane);
}

void KVXDrawMethodDrippyRemoveHeight::FlowPixel(KVXPlaneComponent&, KVXComponentPixel& upper,
                                                KVXComponentPixel& lower, int32_t x, int32_t y)
{
    if (!Drips(upper)) {
        if (Drips(lower))
            lower.type = kPixelPlain;
        return;
    }
    KVXBitmap<uint16_t> floors = WorkHeights(work);
    int32_t floor = floors.bits ? *floors.PixelAt(x, y - 1) : 0;
    int32_t deficit = floor - int32_t(upper.height);
    if (deficit < 5) {
        upper.type = kPixelPlain;
    } else {
        lower.height = SaturatedHeight(int32_t(lower.height) - deficit + 4);
        RunColor(upper, lower);
        lower.type = kPixelDrippy;
    }
    upper.height = uint16_t(floor);
}

// Drippy water: the work surface keeps heights and shadows, which water
// gives back when it is detached.

void KVXDrawMethodDrippyWater::Attach(WorkSurface* workSurface, KVXPlaneComponent& plane)
{
    KVXDrawMethodAddHeight::Attach(workSurface, plane);
    work = workSurface;
    TakeWork(work);
    KVXBitmap<uint32_t> stored = work ? work->PlaneOf<uint32_t>() : KVXBitmap<uint32_t>();
    if (stored.bits == nullptr)
        return;
    for (int32_t y = 0; y < plane.height; ++y) {
        const KVXComponentPixel* p = plane.Row(y);
        uint32_t* s = stored.Row(y);
        for (int32_t x = 0; x < plane.width; ++x)
            s[x] = p[x].height | uint32_t(p[x].shadow) << 16;
    }
}

void KVXDrawMethodDrippyWater::Detach(KVXPlaneComponent& plane)
{
    KVXBitmap<uint32_t> stored = work ? work->PlaneOf<uint32_t>() : KVXBitmap<uint32_t>();
    if (active && stored.bits != nullptr) {
        for (int32_t y = 0; y < plane.height; ++y) {
            KVXComponentPixel* p = plane.Row(y);
            const uint32_t* s = stored.Row(y);
            for (int32_t x = 0; x < plane.width; ++x) {
                p[x].height = uint16_t(s[x]);
                p[x].shadow = uint16_t(s[x] >> 16);
                if (p[x].type != kPixelLocked)
                    p[x].type = kPixelPlain;
            }
        }
    }
    GiveWork(work);
    work = nullptr;
    KVXDrawMethodAddHeight::Detach(plane);
}

void KVXDrawMethodDrippyWater::FlowPixel(KVXPlaneComponent&, KVXComponentPixel& upper,
                                         KVXComponentPixel& lower, int32_t x, int32_t y)
{
    if (!Drips(upper)) {
        if (Drips(lower))
            lower.type = kPixelPlain;
        return;
    }
    KVXBitmap<uint32_t> stored = work ? work->PlaneOf<uint32_t>() : KVXBitmap<uint32_t>();
    int32_t floor = stored.bits ? int32_t(*stored.PixelAt(x, y - 1) & 0xFFFF) : 0;
    int32_t excess = int32_t(upper.height) - floor;
    if (excess < 9) {
        upper.type = kPixelPlain;
    } else {
        lower.height = SaturatedHeight(int32_t(lower.height) + excess - 4);
        uint8_t t = uint8_t(floor * 255 / (floor + int32_t(upper.height)));
        uint8_t* l[3] = {&lower.blue, &lower.green, &lower.red};
        const uint8_t u[3] = {upper.blue, upper.green, upper.red};
        for (int i = 0; i < 3; ++i) {
            int c = BlendTable[*l[i]][t] + BlendTable[u[i]][255 - t];
            *l[i] = uint8_t(BlendTable[c][254] + BlendTable[255][1]);
        }
        lower.type = kPixelDrippy;
    }
    upper.height = uint16_t(floor);
}
