#include "canvas/effect_draw_methods.h"

#include <algorithm>

#include "canvas/blend.h"
#include "canvas/canvas_scene.h"
#include "canvas/gloppy_draw_methods.h"
#include "canvas/shading.h"
#include "engine/record_table.h"
#include "media/surface.h"

namespace {

constexpr int32_t kFirstPhaserTable = 529;

// Each channel of own moved toward stored by (255 - w) / 255.
void MixToward(uint8_t* own, const uint8_t* stored, uint8_t w)
{
    for (int i = 0; i < 3; ++i)
        own[i] = uint8_t(BlendTable[stored[i]][255 - w] + BlendTable[own[i]][w]);
}

const uint8_t* Bytes(const uint32_t& word) { return reinterpret_cast<const uint8_t*>(&word); }

}  // namespace

// The phaser.

void KVXDrawMethodPhaser::Attach(WorkSurface* workSurface, KVXPlaneComponent& plane)
{
    KVXDrawMethodRemoveHeight::Attach(workSurface, plane);
    MMRecordTable table;
    table.Load(kFirstPhaserTable + phaserType, 4, gDefaultHeap);
    for (int32_t row = 0; row < table.RowCount(); ++row) {
        Frame frame;
        frame.picture.Load(table.LongAt(row, 0));
        if (frame.picture.Collection() == nullptr || !frame.picture.LockBitmap(frame.bitmap))
            continue;
        if (frame.bitmap.bitsPerPixel != 8 || frame.bitmap.box.IsEmpty()) {
            frame.picture.Unlock();
            continue;
        }
        frames.push_back(frame);
    }
    if (frames.empty())
        return;
    const MMBitmap& first = frames.front().bitmap;
    keyByte = *first.PixelAddress(first.box.left, first.box.top);
    int32_t half = first.Width() / 2;
    radiusSquared = half * half;
}

void KVXDrawMethodPhaser::ReleaseFrames()
{
    for (Frame& frame : frames)
        frame.picture.Unlock();
    frames.clear();
}

void KVXDrawMethodPhaser::Detach(KVXPlaneComponent& plane)
{
    ReleaseFrames();
    KVXDrawMethodRemoveHeight::Detach(plane);
    plane.AddDirtyRect(effectBox);
}

void KVXDrawMethodPhaser::MoveBurst(KVXPlaneComponent& plane, const Pair& point)
{
    plane.AddDirtyRect(effectBox);
    if (running && scene != nullptr)
        scene->DeleteSoundChannel();
    if (frames.empty())
        return;
    const MMBitmap& first = frames.front().bitmap;
    effectBox = {point.x - first.Width() / 2, point.y - first.Height() / 2, 0, 0};
    effectBox.right = effectBox.left + first.Width();
    effectBox.bottom = effectBox.top + first.Height();
    frameIndex = 0;
    running = true;
    active = 1;
}

void KVXDrawMethodPhaser::Tick(KVXPlaneComponent& plane)
{
    if (!running)
        return;
    plane.AddDirtyRect(effectBox);
    if (++frameIndex >= FrameCount()) {
        effectBox = Box{0, 0, 0, 0};
        frameIndex = 0;
        running = false;
    }
}

int32_t KVXDrawMethodPhaser::Relief(int32_t fx, int32_t fy) const
{
    const MMBitmap& frame = frames[frameIndex].bitmap;
    int32_t x = frame.box.left + fx;
    int32_t y = frame.box.top + fy;
    if (x >= frame.box.right || y >= frame.box.bottom)
        return 0;
    return int32_t(*frame.PixelAddress(x, y)) - keyByte;
}

uint32_t KVXDrawMethodPhaser::BurstPixel(KVXComponentPixel* p, KVXComponentPixel* below,
                                         int32_t x, int32_t y)
{
    int32_t width = effectBox.Width();
    int32_t height = effectBox.Height();
    int32_t cx = effectBox.left + width / 2;
    int32_t cy = effectBox.top + height / 2;
    int32_t d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
    if (d2 <= radiusSquared) {
        double q = radiusSquared > 0 ? 1.0 - double(d2) / radiusSquared : 1.0;
        double pq = double(frameIndex) / FrameCount() * q;
        uint8_t* c = &p->blue;
        const uint8_t* blank = &kBlankPixel.blue;
        for (int i = 0; i < 3; ++i)
            c[i] = uint8_t(c[i] + pq * (blank[i] - c[i]));
        p->type = kBlankPixel.type;
        p->height = uint16_t(p->height + pq * (int32_t(kBlankHeight) - p->height));
    }
    int32_t fx = x - effectBox.left;
    int32_t fy = y - effectBox.top;
    // A frame's last column and row take their own relief for the missing
    // neighbour; a frame smaller than the first has none beyond itself.
    const Box& frame = frames[frameIndex].bitmap.box;
    int32_t own = Relief(fx, fy);
    int32_t right = fx + 1 < std::min(width, frame.Width()) ? Relief(fx + 1, fy) : own;
    int32_t lower = fy + 1 < std::min(height, frame.Height()) ? Relief(fx, fy + 1) : own;
    return ShadeGlopPixel(p, below, own, lower, right, &p->blue);
}

void KVXDrawMethodPhaser::Render(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed)
{
    int32_t left = view.placement.left;
    int32_t top = view.placement.top;
    ShadeWalk(view, target, zoomed,
              [&](KVXComponentPixel* p, KVXComponentPixel* below, int32_t x, int32_t y) {
                  if (running && effectBox.Contains({left + x, top + y}))
                      return BurstPixel(p, below, left + x, top + y);
                  return ShadePixel(p, below);
              });
    view.ResetDirtyBoxIfFlagged();
}

// The fading methods.

template <class Base>
void KVXFadingMethod<Base>::StoreColorWords(const KVXPlaneComponent& plane)
{
    KVXBitmap<uint32_t> stored = Stored();
    if (stored.bits == nullptr)
        return;
    int32_t width = std::min(plane.width, stored.width);
    int32_t height = std::min(plane.height, stored.height);
    for (int32_t y = 0; y < height; ++y) {
        const KVXComponentPixel* p = plane.Row(y);
        uint32_t* s = stored.Row(y);
        for (int32_t x = 0; x < width; ++x)
            s[x] = p[x].ColorWord();
    }
}

template <class Base>
template <class Step>
void KVXFadingMethod<Base>::RenderTick(KVXPlaneComponent& view, const MMBitmap& target,
                                       bool zoomed, Step step)
{
    KVXBitmap<uint32_t> stored = Stored();
    if (!ticked || stored.bits == nullptr) {
        fadeBox.Union(view.DirtyBox());
        KVXDrawMethodPlain::Render(view, target, zoomed);
        return;
    }
    int32_t left = view.placement.left;
    int32_t top = view.placement.top;
    ShadeWalk(view, target, zoomed,
              [&](KVXComponentPixel* p, KVXComponentPixel* below, int32_t x, int32_t y) {
                  uint8_t shown[3] = {p->blue, p->green, p->red};
                  step(*p, *stored.PixelAt(left + x, top + y), left + x, top + y, shown);
                  int w = ShadeHeight(p, p->height, p[1].height, below->height, below + 1);
                  return LightColor(shown, w);
              });
    if (!fadeBox.IsEmpty()) {
        fadeBox.right += 1;
        fadeBox.bottom += 1;
    }
    view.ResetDirtyBoxIfFlagged();
    ticked = false;
}

template class KVXFadingMethod<KVXDrawMethodPlain>;
template class KVXFadingMethod<KVXDrawMethodAddHeight>;

void KVXDrawMethodInvisible::Attach(WorkSurface* workSurface, KVXPlaneComponent& plane)
{
    KVXDrawMethodPlain::Attach(workSurface, plane);
    work = workSurface;
    TakeWork(work);
    StoreColorWords(plane);
}

void KVXDrawMethodInvisible::Render(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed)
{
    RenderTick(view, target, zoomed,
               [this](KVXComponentPixel& p, uint32_t& stored, int32_t x, int32_t y,
                      uint8_t* shown) {
                   if (p.type >= 2 && p.type <= 10) {
                       Fading(x, y);
                       active = 1;
                       uint8_t w = uint8_t((p.type - 1) / 9.0 * 255.0);
                       MixToward(&p.blue, Bytes(stored), w);
                       p.type -= 1;
                   } else if (p.type == kPixelLocked) {
                       p.SetColorWord((stored & 0x00FFFFFF) | uint32_t(kPixelLocked) << 24);
                   } else {
                       return;
                   }
                   shown[0] = p.blue;
                   shown[1] = p.green;
                   shown[2] = p.red;
               });
}

void KVXDrawMethodInvisible::Detach(KVXPlaneComponent& plane)
{
    KVXBitmap<uint32_t> stored = Stored();
    if (active && stored.bits != nullptr) {
        for (int32_t y = 0; y < plane.height; ++y) {
            KVXComponentPixel* p = plane.Row(y);
            const uint32_t* s = stored.Row(y);
            for (int32_t x = 0; x < plane.width; ++x)
                if (p[x].type >= 1 && p[x].type <= 10)
                    p[x].SetColorWord((s[x] & 0x00FFFFFF) | uint32_t(kPixelLocked) << 24);
        }
        plane.AddDirtyRect(fadeBox);
    }
    GiveWork(work);
    work = nullptr;
    KVXDrawMethodPlain::Detach(plane);
}

void KVXDrawMethodInvisibleReveal::Attach(WorkSurface* workSurface, KVXPlaneComponent& plane)
{
    KVXDrawMethodPlain::Attach(workSurface, plane);
    work = workSurface;
    TakeWork(work);
    StoreColorWords(plane);
    for (int32_t y = 0; y < plane.height; ++y) {
        KVXComponentPixel* p = plane.Row(y);
        for (int32_t x = 0; x < plane.width; ++x) {
            if (p[x].type == kPixelLocked) {
                p[x].blue = uint8_t(~p[x].blue);
                p[x].green = uint8_t(~p[x].green);
                p[x].red = uint8_t(~p[x].red);
            }
        }
    }
    plane.MarkAllDirty();
}

void KVXDrawMethodInvisibleReveal::Render(KVXPlaneComponent& view, const MMBitmap& target,
                                          bool zoomed)
{
    RenderTick(view, target, zoomed,
               [this](KVXComponentPixel& p, uint32_t& stored, int32_t x, int32_t y,
                      uint8_t* shown) {
                   if (p.type >= 12 && p.type <= 20) {
                       Fading(x, y);
                       uint8_t w = uint8_t((p.type - 11) / 9.0 * 255.0);
                       MixToward(&p.blue, Bytes(stored), w);
                       p.type -= 1;
                   } else if (p.type == 11) {
                       p.SetColorWord(stored & 0x00FFFFFF);
                   } else {
                       return;
                   }
                   shown[0] = p.blue;
                   shown[1] = p.green;
                   shown[2] = p.red;
               });
}

void KVXDrawMethodInvisibleReveal::Detach(KVXPlaneComponent& plane)
{
    KVXBitmap<uint32_t> stored = Stored();
    if (stored.bits != nullptr) {
        for (int32_t y = 0; y < plane.height; ++y) {
            KVXComponentPixel* p = plane.Row(y);
            const uint32_t* s = stored.Row(y);
            for (int32_t x = 0; x < plane.width; ++x) {
                if (p[x].type >= 11 && p[x].type <= 20)
                    p[x].SetColorWord(s[x] & 0x00FFFFFF);
                else if (p[x].type == kPixelLocked)
                    p[x].SetColorWord((s[x] & 0x00FFFFFF) | uint32_t(kPixelLocked) << 24);
            }
        }
    }
    plane.MarkAllDirty();
    fadeBox = Box{0, 0, 0, 0};
    GiveWork(work);
    work = nullptr;
    KVXDrawMethodPlain::Detach(plane);
}

void KVXDrawMethodImageRoller::Attach(WorkSurface* workSurface, KVXPlaneComponent& plane)
{
    KVXDrawMethodAddHeight::Attach(workSurface, plane);
    work = workSurface;
    TakeWork(work);
    MMBitmap store;
    if (work != nullptr && work->surface != nullptr && work->surface->GetBitmap(store))
        plane.RenderPlain(store);
}

void KVXDrawMethodImageRoller::Render(KVXPlaneComponent& view, const MMBitmap& target,
                                      bool zoomed)
{
    KVXBitmap<uint32_t> stored = Stored();
    if (stored.bits == nullptr) {
        KVXDrawMethodPlain::Render(view, target, zoomed);
        return;
    }
    bool tick = ticked;
    int32_t left = view.placement.left;
    int32_t top = view.placement.top;
    ShadeWalk(view, target, zoomed,
              [&](KVXComponentPixel* p, KVXComponentPixel* below, int32_t x, int32_t y) {
                  uint8_t shown[3] = {p->blue, p->green, p->red};
                  uint32_t& before = *stored.PixelAt(left + x, top + y);
                  if (p->type >= 22 && p->type <= 25) {
                      uint8_t e = uint8_t((p->type - 21) * 0.25 * 255.0);
                      for (int i = 0; i < 3; ++i)
                          shown[i] = uint8_t(BlendTable[shown[i]][255 - e] +
                                             BlendTable[Bytes(before)[i]][e]);
                      if (tick) {
                          p->type -= 1;
                          Fading(left + x, top + y);
                      }
                  } else if (p->type == 21 && tick) {
                      p->type = kPixelPlain;
                      before = p->ColorWord();
                  }
                  int w = ShadeHeight(p, p->height, p[1].height, below->height, below + 1);
                  return LightColor(shown, w);
              });
    if (!tick)
        fadeBox.Union(view.DirtyBox());
    else if (!fadeBox.IsEmpty()) {
        fadeBox.right += 1;
        fadeBox.bottom += 1;
    }
    view.ResetDirtyBoxIfFlagged();
    ticked = false;
}

void KVXDrawMethodImageRoller::Detach(KVXPlaneComponent& plane)
{
    GiveWork(work);
    work = nullptr;
    KVXDrawMethodAddHeight::Detach(plane);
}
