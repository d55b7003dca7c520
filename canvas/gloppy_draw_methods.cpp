#include "canvas/gloppy_draw_methods.h"

#include <algorithm>
#include <cmath>

#include "canvas/blend.h"
#include "canvas/shading.h"

namespace {

int32_t Raised(int32_t h) { return h < 1 ? 0 : h; }

void HalfMix(uint8_t* out, const uint8_t* glob, const KVXComponentPixel& p)
{
    const uint8_t* own = &p.blue;
    for (int i = 0; i < 3; ++i)
        out[i] = uint8_t(BlendTable[glob[i]][128] + BlendTable[own[i]][127]);
}

}  // namespace

uint32_t ShadeGlopPixel(KVXComponentPixel* p, KVXComponentPixel* below, int32_t g, int32_t gBelow,
                        int32_t gRight, const uint8_t* bgr)
{
    int32_t f = Raised(int32_t(p->height) + g);
    int32_t dx = Raised(int32_t(p[1].height) + gRight) - f;
    int32_t dy = Raised(int32_t(below->height) + gBelow) - f;
    int w = LookupSlopeLight(dx, dy);
    int32_t s = p->shadow;
    int32_t carried;
    if (f < s) {
        carried = s;
        w = std::max(w - (s - f), kDarkestLight);
    } else {
        carried = std::min(f, 65535);
        p->shadow = uint16_t(carried);
    }
    below[1].shadow = FallenShadow(carried);
    return LightColor(bgr, w);
}

void KVXDrawMethodGloppy::Attach(WorkSurface* workSurface, KVXPlaneComponent& plane)
{
    KVXDrawMethodPlain::Attach(workSurface, plane);
    work = workSurface;
    TakeWork(work);
    field.reset(new (gDefaultHeap) KVXPlaneDensityTop(plane.Size()));
    if (field->bits != nullptr)
        field->Fill(Density{0.0f, 0.0f});
    globBox = Box{0, 0, 0, 0};
}

void KVXDrawMethodGloppy::Detach(KVXPlaneComponent& plane)
{
    if (active)
        FlushGlobs(plane);
    GiveWork(work);
    work = nullptr;
    field.reset();
    KVXDrawMethodPlain::Detach(plane);
}

uint16_t KVXDrawMethodGloppy::GlobValue(int32_t x, int32_t y) const
{
    if (!field || field->bits == nullptr)
        return 0;
    const Density& cell = *field->PixelAt(x, y);
    float a = cell.a;
    float b = cell.b;
    if ((a == 0.0f && b == 0.0f) || a == b)
        return 0;
    float k = (256.0f * b - a) / (a - b);
    float f = a * (k + 1.0f) - k;
    if (!(f > 0.0f))
        return 0;
    float g = std::sqrt(f) * 255.0f;
    return g >= 65535.0f ? 65535 : uint16_t(g);
}

int32_t KVXDrawMethodGloppy::GlobHeight(uint16_t g) const
{
    int32_t h = (heightScale - 255) * (g / 8) / 255;
    return h == 0 ? 1 : h;
}

void KVXDrawMethodGloppy::AddGlob(KVXPlaneComponent& plane, const Pair& centre, int32_t diameter,
                                  uint32_t blueGreenRed)
{
    uint8_t color[4] = {uint8_t(blueGreenRed), uint8_t(blueGreenRed >> 8),
                        uint8_t(blueGreenRed >> 16), 0};
    if (active && (color[0] != globColor[0] || color[1] != globColor[1] ||
                   color[2] != globColor[2]))
        FlushGlobs(plane);
    active = 1;
    std::copy(color, color + 4, globColor);
    int32_t d = diameter / 2;
    AccumulateGlob(centre, 2 * d);
    Box box = {centre.x - 2 * d, centre.y - 2 * d, centre.x + 2 * d, centre.y + 2 * d};
    globBox.Union(box);
    plane.AddDirtyRect(box);
}

void KVXDrawMethodGloppy::AccumulateGlob(const Pair& centre, int32_t r)
{
    if (!field || field->bits == nullptr || r <= 0)
        return;
    Box square = {centre.x - r, centre.y - r, centre.x + r, centre.y + r};
    Box cells = square;
    cells.Intersect(field->Bounds());
    float r2 = float(r) * float(r);
    for (int32_t y = cells.top; y < cells.bottom; ++y) {
        int32_t i = y - square.top;
        for (int32_t x = cells.left; x < cells.right; ++x) {
            int32_t j = x - square.left;
            int32_t t = (j - r) * (j - r) + (i - r) * (i - r);
            if (float(t) >= r2)
                continue;
            float s = t == 0 ? 1.0f : std::sqrt(float(t));
            float v = (r2 / 4.0f) * (1.0f - s / float(r));
            Density& cell = *field->PixelAt(x, y);
            cell.a += v / float(t + 1);
            cell.b += v / float(t + 256);
        }
    }
}

void KVXDrawMethodGloppy::ClearField(const Box& box)
{
    if (field && field->bits != nullptr)
        field->FillElements(box, Density{0.0f, 0.0f});
}

void KVXDrawMethodGloppy::MixGlob(KVXComponentPixel& p, uint16_t g, int32_t, int32_t)
{
    p.blue = globColor[0];
    p.green = globColor[1];
    p.red = globColor[2];
    p.type = kPixelPlain;
    p.height = uint16_t(std::clamp(int32_t(p.height) + GlobHeight(g), 0, 65535));
}

void KVXDrawMethodGloppy::FlushGlobs(KVXPlaneComponent& plane)
{
    Box area = globBox;
    area.Intersect(plane.Bounds());
    for (int32_t y = area.top; y < area.bottom; ++y) {
        for (int32_t x = area.left; x < area.right; ++x) {
            KVXComponentPixel& p = *plane.PixelAt(x, y);
            uint16_t g = GlobValue(x, y);
            if (p.type != kPixelLocked && g > 7)
                MixGlob(p, g, x, y);
        }
    }
    ClearField(area);
    plane.AddDirtyRect(globBox);
    globBox = Box{0, 0, 0, 0};
    active = 0;
}

uint32_t KVXDrawMethodGloppy::RenderGlobPixel(KVXComponentPixel* p, KVXComponentPixel* below,
                                              int32_t x, int32_t y,
                                              const KVXBitmap<uint16_t>& heights)
{
    int32_t g = *heights.PixelAt(x, y);
    if (g == 0 || p->type == kPixelLocked)
        return ShadePixel(p, below);
    return ShadeGlopPixel(p, below, g, *heights.PixelAt(x, y + 1), *heights.PixelAt(x + 1, y),
                          globColor);
}

void KVXDrawMethodGloppy::Render(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed)
{
    KVXBitmap<uint16_t> heights = work ? work->PlaneOf<uint16_t>() : KVXBitmap<uint16_t>();
    if (!active || heights.bits == nullptr) {
        KVXDrawMethodPlain::Render(view, target, zoomed);
        return;
    }
    int32_t left = view.placement.left;
    int32_t top = view.placement.top;
    // One more column and row: each pixel reads its right and lower neighbours.
    Box area = {left, top, left + target.box.Width() + 1, top + target.box.Height() + 1};
    area.Intersect({0, 0, left + view.width, top + view.height});
    for (int32_t y = area.top; y < area.bottom; ++y) {
        for (int32_t x = area.left; x < area.right; ++x) {
            uint16_t g = GlobValue(x, y);
            *heights.PixelAt(x, y) = uint16_t(g > 7 ? GlobHeight(g) : 0);
        }
    }
    ShadeWalk(view, target, zoomed,
              [&](KVXComponentPixel* p, KVXComponentPixel* below, int32_t x, int32_t y) {
                  return RenderGlobPixel(p, below, left + x, top + y, heights);
              });
    view.ResetDirtyBoxIfFlagged();
}

void KVXDrawMethodTrasparentGloppy::MixGlob(KVXComponentPixel& p, uint16_t g, int32_t, int32_t)
{
    HalfMix(&p.blue, globColor, p);
    p.type = kPixelPlain;
    p.height = uint16_t(std::clamp(int32_t(p.height) + GlobHeight(g), 0, 65535));
}

uint32_t KVXDrawMethodTrasparentGloppy::RenderGlobPixel(KVXComponentPixel* p,
                                                        KVXComponentPixel* below, int32_t x,
                                                        int32_t y,
                                                        const KVXBitmap<uint16_t>& heights)
{
    int32_t g = *heights.PixelAt(x, y);
    if (g == 0 || p->type == kPixelLocked)
        return ShadePixel(p, below);
    uint8_t mixed[3];
    HalfMix(mixed, globColor, *p);
    return ShadeGlopPixel(p, below, g, *heights.PixelAt(x, y + 1), *heights.PixelAt(x + 1, y),
                          mixed);
}

uint8_t KVXDrawMethodGrainyTrasparentGloppy::GrainWeight(uint16_t g, int32_t x, int32_t y) const
{
    int32_t w = g > 8191 ? 128 : (1024 - g / 8) * 128 / 1024 + 128;
    int32_t grain = texture && texture->bits && x < texture->width && y < texture->height
                        ? *texture->PixelAt(x, y)
                        : 255;
    return uint8_t(grain * w / 255);
}

void KVXDrawMethodGrainyTrasparentGloppy::MixGlob(KVXComponentPixel& p, uint16_t g, int32_t x,
                                                  int32_t y)
{
    uint8_t u = GrainWeight(g, x, y);
    uint8_t* own = &p.blue;
    for (int i = 0; i < 3; ++i)
        own[i] = uint8_t(BlendTable[globColor[i]][u] + BlendTable[own[i]][255 - u]);
    p.type = kPixelPlain;
}

uint32_t KVXDrawMethodGrainyTrasparentGloppy::RenderGlobPixel(KVXComponentPixel* p,
                                                              KVXComponentPixel* below, int32_t x,
                                                              int32_t y,
                                                              const KVXBitmap<uint16_t>&)
{
    if (p->type == kPixelLocked)
        return ShadePixel(p, below);
    uint16_t g = GlobValue(x, y);
    if (g < 8)
        return ShadePixel(p, below);
    uint8_t u = GrainWeight(g, x, y);
    uint8_t mixed[3];
    const uint8_t* own = &p->blue;
    for (int i = 0; i < 3; ++i)
        mixed[i] = uint8_t(BlendTable[globColor[i]][u] + BlendTable[own[i]][255 - u]);
    return ShadeGlopPixel(p, below, 0, 0, 0, mixed);
}
