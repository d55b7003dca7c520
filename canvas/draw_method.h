#pragma once
// Draw methods turn the canvas plane into the picture on screen. The canvas
// visual owns one at a time, made by kind (MakeDrawMethod), and calls it to
// attach, prepare after a change, render a visible area, tick and detach.
// Everything a method holds is given back in Detach, which its owner always
// calls before deleting it.
#include <cstdint>

#include "canvas/plane.h"
#include "canvas/work_surface.h"

class MMBitmap;

enum KVXDrawMethodKind : int32_t {
    kDrawNothing = 0,
    kDrawStatic = 1,
    kDrawUpdateableStatic = 2,
    kDrawPlain = 3,
    kDrawAddHeight = 4,
    kDrawRemoveHeight = 5,
    kDrawDrippyPlain = 6,
    kDrawDrippyAddHeight = 7,
    kDrawDrippyRemoveHeight = 8,
    kDrawDrippyWater = 9,
    kDrawGloppy = 10,
    kDrawTransparentGloppy = 11,
    kDrawGrainyTransparentGloppy = 12,
    kDrawPhaser = 13,
    kDrawInvisible = 14,
    kDrawInvisibleReveal = 15,
    kDrawImageRoller = 16,
};

class KVXDrawMethod {
public:
    KVXDrawMethod() = default;
    virtual ~KVXDrawMethod() = default;
    KVXDrawMethod(const KVXDrawMethod&) = delete;
    KVXDrawMethod& operator=(const KVXDrawMethod&) = delete;

    virtual void Attach(WorkSurface* workSurface, KVXPlaneComponent& plane);
    virtual void UpdateRect(KVXPlaneComponent& plane, int32_t left, int32_t top, int32_t right,
                            int32_t bottom) {}
    virtual void Detach(KVXPlaneComponent& plane);
    // view: pixel (0, 0) is the canvas pixel shown at the target box's
    // top-left corner; target: locked 32-bit pixels, box relative to the
    // canvas visual.
    virtual void Render(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed) {}
    // After a change to the plane: may grow the dirty box.
    virtual void Prepare(KVXPlaneComponent& plane) {}
    virtual void Tick(KVXPlaneComponent& plane) {}
    virtual int32_t Kind() const { return kDrawNothing; }

    uint8_t needsFullRender = 1;
    uint8_t active = 0;
};

// Colour with slope shading and cast shadows.
class KVXDrawMethodPlain : public KVXDrawMethod {
public:
    void Render(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed) override;
    int32_t Kind() const override { return kDrawPlain; }
};

// After paint is added, the shadows it casts are recomputed.
class KVXDrawMethodAddHeight : public KVXDrawMethodPlain {
public:
    void Prepare(KVXPlaneComponent& plane) override;
    int32_t Kind() const override { return kDrawAddHeight; }

    // Shadows over the dirty box, which grows to where they reach.
    static void RecomputeShading(KVXPlaneComponent& plane);
    // Shadows over area; returns the box they reach (empty when none).
    static Box RecomputeShading(KVXPlaneComponent& plane, const Box& area);
};

// Keeps every pixel's height and shadow of the last render in the work
// surface, so shadows cast by paint that is taken away are repainted.
class KVXDrawMethodRemoveHeight : public KVXDrawMethodPlain {
public:
    void Attach(WorkSurface* workSurface, KVXPlaneComponent& plane) override;
    void Detach(KVXPlaneComponent& plane) override;
    void Render(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed) override;
    void Prepare(KVXPlaneComponent& plane) override;
    int32_t Kind() const override { return kDrawRemoveHeight; }

protected:
    // Low half height, high half shadow; canvas coordinates.
    KVXBitmap<uint32_t> HeightCopy() const;

    WorkSurface* work = nullptr;
};

// Shows a picture rendered once into the work surface.
class KVXDrawMethodStatic : public KVXDrawMethod {
public:
    void Attach(WorkSurface* workSurface, KVXPlaneComponent& plane) override;
    void UpdateRect(KVXPlaneComponent& plane, int32_t left, int32_t top, int32_t right,
                    int32_t bottom) override;
    void Detach(KVXPlaneComponent& plane) override;
    void Render(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed) override;
    int32_t Kind() const override { return kDrawStatic; }

protected:
    // Renders box of plane into the work surface at the same place.
    void RenderIntoWork(KVXPlaneComponent& plane, const Box& box);
    void CopyWork(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed);

    WorkSurface* work = nullptr;
};

// The static picture, brought up to date wherever the plane changed.
class KVXDrawMethodUpdateableStatic : public KVXDrawMethodStatic {
public:
    void Render(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed) override;
    int32_t Kind() const override { return kDrawUpdateableStatic; }
};

// Takes the work surface for a method (busy while attached).
inline void TakeWork(WorkSurface* work)
{
    if (work != nullptr)
        work->busy = 1;
}
inline void GiveWork(WorkSurface* work)
{
    if (work != nullptr)
        work->busy = 0;
}
