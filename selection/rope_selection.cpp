#include "selection/rope_selection.h"

#include <algorithm>
#include <cmath>

#include "canvas/resample.h"
#include "media/bitmap.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"
#include "selection/pixel_kernels.h"

namespace {

const MMColor kWhite = {-1, 255, 255, 255, 0};
const MMColor kBlack = {-1, 0, 0, 0, 0};

int32_t Mix(int32_t inside, int32_t outside, int32_t t)
{
    return inside * (255 - t) / 255 + outside * t / 255;
}

}  // namespace

bool AddRopePoint(std::vector<Pair>& points, const Pair& point, const Box& bounds)
{
    if (int32_t(points.size()) >= kRopePoints - 1)
        return false;
    if (!points.empty()) {
        int32_t dx = int16_t(point.x - points.back().x);
        int32_t dy = int16_t(point.y - points.back().y);
        if (int32_t(std::sqrt(double(dx * dx + dy * dy))) <= kRopeStepOver)
            return false;
    }
    points.push_back({std::clamp(point.x, bounds.left, bounds.right - 1),
                      std::clamp(point.y, bounds.top, bounds.bottom - 1)});
    return true;
}

void CloseRope(std::vector<Pair>& points)
{
    if (!points.empty())
        points.push_back(points.front());
}

int32_t ScaleHandleFrequency(int32_t d, int32_t reference)
{
    if (reference <= 0)
        return 0x10000;
    if (d > reference)
        return 4096;
    return 0x10000 - d * 61440 / reference;
}

KVXRopeSelection::KVXRopeSelection(const Box& canvasArea) : area(canvasArea) {}

KVXRopeSelection::~KVXRopeSelection() { Drop(); }

void KVXRopeSelection::Drop()
{
    if (surface != nullptr)
        surface->Dispose();
    surface = nullptr;
    cut.reset();
    outline.clear();
    baseOutline.clear();
    savedMasks.clear();
}

bool KVXRopeSelection::MakeSurface(const Pair& size)
{
    surface = MMSurface::CreateBitmapDC(32, {0, 0, size.x, size.y}, nullptr);
    if (surface != nullptr)
        surface->SetClipBox(surface->GetBounds());
    return surface != nullptr;
}

uint8_t* KVXRopeSelection::SurfacePixel(int32_t x, int32_t y) const
{
    MMBitmap pixels;
    if (surface == nullptr || !surface->GetBitmap(pixels) || !pixels.box.Contains({x, y}))
        return nullptr;
    return pixels.PixelAddress(x, y);
}

uint8_t KVXRopeSelection::MaskAt(int32_t x, int32_t y) const
{
    const uint8_t* p = SurfacePixel(x, y);
    return p != nullptr ? p[3] : 255;
}

bool KVXRopeSelection::Make(const Pair* points, int32_t count, KVXPlaneComponent& canvas,
                            bool cutOut)
{
    if (count < 3)
        return false;
    Box bounds = {points[0].x, points[0].y, points[0].x, points[0].y};
    for (int32_t i = 1; i < count; ++i) {
        bounds.left = std::min(bounds.left, points[i].x);
        bounds.top = std::min(bounds.top, points[i].y);
        bounds.right = std::max(bounds.right, points[i].x);
        bounds.bottom = std::max(bounds.bottom, points[i].y);
    }
    if (bounds.IsEmpty())
        return false;
    bounds.right += 1;
    bounds.bottom += 1;
    bounds.Intersect(area);
    if (bounds.Width() <= 0 || bounds.Height() <= 0)
        return false;
    Drop();
    box = bounds;
    Pair size = {box.Width(), box.Height()};
    cut = std::make_unique<KVXPlaneComponentTop>(size);
    for (int32_t y = 0; y < size.y; ++y)
        std::copy_n(canvas.PixelAt(box.left - area.left, box.top - area.top + y), size.x,
                    cut->Row(y));
    if (!MakeSurface(size)) {
        cut.reset();
        return false;
    }
    outline.assign(points, points + count);
    std::vector<Pair> relative;
    for (const Pair& p : outline)
        relative.push_back({p.x - box.left, p.y - box.top});
    RenderMask(relative);
    RenderColours();
    if (cutOut)
        CutFromCanvas(canvas);
    fromPicture = false;
    KeepBase();
    return true;
}

void KVXRopeSelection::RenderMask(const std::vector<Pair>& relative)
{
    surface->Lock();
    surface->FillBox(surface->GetBounds(), kWhite);
    surface->FillPolygon(relative.data(), int32_t(relative.size()), kBlack);
    GdiFlush();
    for (int32_t y = 0; y < box.Height(); ++y) {
        for (int32_t x = 0; x < box.Width(); ++x) {
            uint8_t* p = SurfacePixel(x, y);
            p[3] = p[2];
            p[0] = p[1] = p[2] = 255;
        }
    }
    surface->Unlock();
}

void KVXRopeSelection::RenderColours()
{
    if (surface == nullptr || cut == nullptr)
        return;
    for (int32_t y = 0; y < cut->height; ++y) {
        for (int32_t x = 0; x < cut->width; ++x) {
            const KVXComponentPixel& c = *cut->PixelAt(x, y);
            uint8_t* p = SurfacePixel(x, y);
            p[0] = c.blue;
            p[1] = c.green;
            p[2] = c.red;
        }
    }
}

void KVXRopeSelection::CutFromCanvas(KVXPlaneComponent& canvas)
{
    for (int32_t y = 0; y < box.Height(); ++y)
        for (int32_t x = 0; x < box.Width(); ++x)
            if (MaskAt(x, y) == 0)
                *canvas.PixelAt(box.left - area.left + x, box.top - area.top + y) = kBlankPixel;
    Box changed = box;
    changed.Inflate(1);
    changed.Intersect(area);
    canvas.AddDirtyRect({changed.left - area.left, changed.top - area.top,
                         changed.right - area.left, changed.bottom - area.top});
}

bool KVXRopeSelection::TakePicture(const MMBitmap& picture)
{
    int32_t w = picture.box.Width(), h = picture.box.Height();
    if (w <= 0 || h <= 0 || picture.bitsPerPixel != 32)
        return false;
    Drop();
    cut = std::make_unique<KVXPlaneComponentTop>(Pair{w, h});
    if (!MakeSurface({w, h})) {
        cut.reset();
        return false;
    }
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const uint8_t* s = picture.PixelAddress(picture.box.left + x, picture.box.top + y);
            uint8_t* p = SurfacePixel(x, y);
            p[0] = s[0];
            p[1] = s[1];
            p[2] = s[2];
            p[3] = 0;
            *cut->PixelAt(x, y) = {s[0], s[1], s[2], 0, kBlankHeight, 0};
        }
    }
    int32_t left = area.left + (area.Width() - w) / 2;
    int32_t top = area.top + (area.Height() - h) / 2;
    box = {left, top, left + w, top + h};
    outline = {{left, top}, {box.right - 1, top}, {box.right - 1, box.bottom - 1},
               {left, box.bottom - 1}, {left, top}};
    fromPicture = true;
    KeepBase();
    return true;
}

void KVXRopeSelection::Place(KVXPlaneComponent& canvas) const
{
    if (surface == nullptr || cut == nullptr)
        return;
    Box covered = box;
    covered.Intersect(area);
    for (int32_t y = covered.top; y < covered.bottom; ++y) {
        for (int32_t x = covered.left; x < covered.right; ++x) {
            const uint8_t* s = SurfacePixel(x - box.left, y - box.top);
            if (s == nullptr)
                continue;
            uint8_t t = s[3];
            KVXComponentPixel& c = *canvas.PixelAt(x - area.left, y - area.top);
            if (t == 255 || c.IsLocked())
                continue;
            const KVXComponentPixel& lifted = *cut->PixelAt(x - box.left, y - box.top);
            const uint8_t* from = fromPicture ? s : &lifted.blue;
            for (int k = 0; k < 3; ++k)
                (&c.blue)[k] = uint8_t(Mix(from[k], (&c.blue)[k], t));
            if (fromPicture) {
                c.type = 0;
            } else {
                c.type = lifted.type;
                c.height = uint16_t(Mix(lifted.height, c.height, t));
            }
        }
    }
    canvas.AddDirtyRect({covered.left - area.left, covered.top - area.top,
                         covered.right - area.left, covered.bottom - area.top});
}

void KVXRopeSelection::MoveTo(const Pair& topLeft)
{
    Pair by = {topLeft.x - box.left, topLeft.y - box.top};
    for (Pair& p : outline)
        p = {p.x + by.x, p.y + by.y};
    for (Pair& p : baseOutline)
        p = {p.x + by.x, p.y + by.y};
    box.Offset(by);
    baseBox.Offset(by);
}

bool KVXRopeSelection::Resize(const Box& next, bool rebuild)
{
    if (surface == nullptr || next.IsEmpty() || baseBox.IsEmpty())
        return false;
    double sx = double(next.Width()) / baseBox.Width(), sy = double(next.Height()) / baseBox.Height();
    for (size_t i = 0; i < outline.size() && i < baseOutline.size(); ++i)
        outline[i] = {int32_t(sx * (baseOutline[i].x - baseBox.left) + next.left),
                      int32_t(sy * (baseOutline[i].y - baseBox.top) + next.top)};
    box = next;
    if (!rebuild || (next.Width() == cut->width && next.Height() == cut->height)) {
        if (rebuild)
            KeepBase();
        return true;
    }
    Pair size = {next.Width(), next.Height()};
    auto grown = std::make_unique<KVXPlaneComponentTop>(size);
    MMSurface* old = surface;
    surface = nullptr;
    if (grown->bits == nullptr || !MakeSurface(size)) {
        surface = old;
        outline = baseOutline;
        box = baseBox;
        MoveTo({next.left, next.bottom - cut->height});
        return false;
    }
    grown->Fill({255, 255, 255, 0, 0, 0});
    ResamplePlane(*cut, *grown);
    surface->FillBox(surface->GetBounds(), kWhite);
    MMBitmap from, to;
    if (old->GetBitmap(from) && surface->GetBitmap(to)) {
        for (int32_t y = 0; y < size.y; ++y)
            for (int32_t x = 0; x < size.x; ++x)
                to.PixelAddress(x, y)[3] = 255;
        ResampleBitmap(from, to);
    }
    old->Dispose();
    cut = std::move(grown);
    RenderColours();
    KeepBase();
    return true;
}

void KVXRopeSelection::MakeTranslucent()
{
    if (surface == nullptr)
        return;
    savedMasks.clear();
    for (int32_t y = 0; y < box.Height(); ++y) {
        for (int32_t x = 0; x < box.Width(); ++x) {
            uint8_t* p = SurfacePixel(x, y);
            savedMasks.push_back(p[3]);
            if (p[3] == 0)
                p[3] = 128;
            else if (p[3] < 255)
                p[3] = uint8_t((255 - p[3]) / 2);
        }
    }
}

void KVXRopeSelection::MakeOpaque()
{
    if (surface == nullptr || savedMasks.size() != size_t(box.Width()) * box.Height())
        return;
    size_t i = 0;
    for (int32_t y = 0; y < box.Height(); ++y)
        for (int32_t x = 0; x < box.Width(); ++x)
            SurfacePixel(x, y)[3] = savedMasks[i++];
    savedMasks.clear();
}

void KVXRopeSelection::FlipX()
{
    if (surface == nullptr)
        return;
    MirrorComponentHorizontal(*cut);
    MMBitmap pixels;
    if (surface->GetBitmap(pixels))
        MirrorBitmap32Horizontal(pixels);
    int32_t twice = 2 * (box.left + box.Width() / 2);
    for (Pair& p : outline)
        p.x = twice - p.x;
    RenderColours();
    KeepBase();
}

void KVXRopeSelection::FlipY()
{
    if (surface == nullptr)
        return;
    MirrorComponentVertical(*cut);
    MMBitmap pixels;
    if (surface->GetBitmap(pixels))
        MirrorBitmap32Vertical(pixels);
    int32_t twice = 2 * (box.top + box.Height() / 2);
    for (Pair& p : outline)
        p.y = twice - p.y;
    RenderColours();
    KeepBase();
}

void KVXRopeSelection::ApplyEffect(int32_t kind, int32_t strength, const uint8_t* dabMask,
                                   UURandom& random)
{
    if (cut == nullptr)
        return;
    // Outside the outline the type byte marks the pixel, so effects pass it.
    for (int32_t y = 0; y < cut->height; ++y)
        for (int32_t x = 0; x < cut->width; ++x)
            if (MaskAt(x, y) == 255)
                cut->PixelAt(x, y)->type = kOutsideOutline;
    ApplyPictureEffect(kind, *cut, strength, dabMask, random);
    RenderColours();
}

bool KVXRopeSelection::ContainsPoint(const Pair& point) const
{
    return box.Contains(point) && area.Contains(point) &&
           MaskAt(point.x - box.left, point.y - box.top) != 255;
}

bool KVXRopeSelection::MeetsCanvas() const
{
    Box meet = box;
    meet.Intersect(area);
    return meet.Width() > 0 && meet.Height() > 0;
}
