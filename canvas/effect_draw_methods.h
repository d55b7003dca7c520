#pragma once
// Draw methods whose paint changes over several ticks: the phaser burst that
// erases toward the blank canvas, invisible ink that fades away, the reveal
// of hidden ink, and image-roller paint that fades in.
#include <vector>

#include "canvas/draw_method.h"
#include "engine/picture_collection.h"
#include "media/bitmap.h"

class KVXCanvasScene;

class KVXDrawMethodPhaser : public KVXDrawMethodRemoveHeight {
public:
    KVXDrawMethodPhaser(int32_t phaserType, KVXCanvasScene* scene)
        : phaserType(phaserType), scene(scene) {}

    void Attach(WorkSurface* workSurface, KVXPlaneComponent& plane) override;
    void Detach(KVXPlaneComponent& plane) override;
    void Render(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed) override;
    void Tick(KVXPlaneComponent& plane) override;
    int32_t Kind() const override { return kDrawPhaser; }

    // A new burst centred on point; none without frames.
    void MoveBurst(KVXPlaneComponent& plane, const Pair& point);
    void EndStroke(KVXPlaneComponent& plane) {}

    bool IsRunning() const { return running; }
    int32_t FrameIndex() const { return frameIndex; }
    int32_t FrameCount() const { return int32_t(frames.size()); }
    const Box& EffectBox() const { return effectBox; }

private:
    struct Frame {
        MMPictureReference picture;
        MMBitmap bitmap;
    };
    void ReleaseFrames();
    // Relief of the current frame at a point of the effect box: its byte
    // minus the key byte, 0 outside the frame.
    int32_t Relief(int32_t fx, int32_t fy) const;
    uint32_t BurstPixel(KVXComponentPixel* p, KVXComponentPixel* below, int32_t x, int32_t y);

    int32_t phaserType;
    KVXCanvasScene* scene;
    bool running = false;
    Box effectBox = {0, 0, 0, 0};
    int32_t frameIndex = 0;
    std::vector<Frame> frames;
    uint8_t keyByte = 0;
    int32_t radiusSquared = 0;
};

// Shared by the fading methods: the picture of before in the work surface,
// the fade box (what is still changing) and the tick flag.
template <class Base>
class KVXFadingMethod : public Base {
public:
    void Tick(KVXPlaneComponent& plane) override
    {
        ticked = true;
        plane.AddDirtyRect(fadeBox);
        fadeBox = Box{0, 0, 0, 0};
    }
    const Box& FadeBox() const { return fadeBox; }

protected:
    KVXBitmap<uint32_t> Stored() const
    {
        return work ? work->PlaneOf<uint32_t>() : KVXBitmap<uint32_t>();
    }
    void StoreColorWords(const KVXPlaneComponent& plane);
    void Fading(int32_t x, int32_t y) { fadeBox.Union({x, y, x + 1, y + 1}); }
    // The render of a tick: step changes each pixel before it is shaded.
    template <class Step>
    void RenderTick(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed, Step step);

    WorkSurface* work = nullptr;
    Box fadeBox = {0, 0, 0, 0};
    bool ticked = false;
};

class KVXDrawMethodInvisible : public KVXFadingMethod<KVXDrawMethodPlain> {
public:
    void Attach(WorkSurface* workSurface, KVXPlaneComponent& plane) override;
    void Detach(KVXPlaneComponent& plane) override;
    void Render(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed) override;
    int32_t Kind() const override { return kDrawInvisible; }
};

class KVXDrawMethodInvisibleReveal : public KVXFadingMethod<KVXDrawMethodPlain> {
public:
    void Attach(WorkSurface* workSurface, KVXPlaneComponent& plane) override;
    void Detach(KVXPlaneComponent& plane) override;
    void Render(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed) override;
    int32_t Kind() const override { return kDrawInvisibleReveal; }
};

class KVXDrawMethodImageRoller : public KVXFadingMethod<KVXDrawMethodAddHeight> {
public:
    void Attach(WorkSurface* workSurface, KVXPlaneComponent& plane) override;
    void Detach(KVXPlaneComponent& plane) override;
    void Render(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed) override;
    int32_t Kind() const override { return kDrawImageRoller; }
};
