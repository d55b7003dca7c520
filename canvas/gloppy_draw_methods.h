#pragma once
// Thick, blobby paint while it is being laid: the gloppy tool hands each dab
// to the method as a glob; the globs of one colour are summed into a smooth
// field that is shown as raised, shaded paint over the picture and written
// into the plane (the flush) when the colour changes or the method is
// detached. Each flush empties the field.
#include <memory>

#include "canvas/draw_method.h"

class KVXDrawMethodGloppy : public KVXDrawMethodPlain {
public:
    explicit KVXDrawMethodGloppy(int32_t heightScale) : heightScale(heightScale) {}

    void Attach(WorkSurface* workSurface, KVXPlaneComponent& plane) override;
    void Detach(KVXPlaneComponent& plane) override;
    void Render(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed) override;
    int32_t Kind() const override { return kDrawGloppy; }

    // Writes the pending globs into the plane and empties the field.
    virtual void FlushGlobs(KVXPlaneComponent& plane);
    // blueGreenRed: blue in the lowest byte.
    virtual void AddGlob(KVXPlaneComponent& plane, const Pair& centre, int32_t diameter,
                         uint32_t blueGreenRed);

    bool HasPendingGlobs() const { return active != 0; }
    // The field's value at a canvas point: 0 to 65535, paint above 7.
    uint16_t GlobValue(int32_t x, int32_t y) const;
    // The height the glob paint adds where the value is g (g > 7).
    int32_t GlobHeight(uint16_t g) const;

protected:
    void AccumulateGlob(const Pair& centre, int32_t radius);
    // The plane pixel p under glob paint of value g at (x, y): the colour
    // the paint gives it and the height it adds.
    virtual void MixGlob(KVXComponentPixel& p, uint16_t g, int32_t x, int32_t y);
    // One pixel of the glob render; gAt gives glob heights in canvas
    // coordinates.
    virtual uint32_t RenderGlobPixel(KVXComponentPixel* p, KVXComponentPixel* below, int32_t x,
                                     int32_t y, const KVXBitmap<uint16_t>& heights);
    void ClearField(const Box& box);

    uint8_t globColor[4] = {0, 0, 0, 0};
    WorkSurface* work = nullptr;
    int32_t heightScale;
    std::unique_ptr<KVXPlaneDensityTop> field;
    // Where the pending globs lie.
    Box globBox = {0, 0, 0, 0};
};

// Half the glob colour over half the picture.
class KVXDrawMethodTrasparentGloppy : public KVXDrawMethodGloppy {
public:
    explicit KVXDrawMethodTrasparentGloppy(int32_t b) : KVXDrawMethodGloppy((b - 255) / 2 + 255) {}
    int32_t Kind() const override { return kDrawTransparentGloppy; }

protected:
    void MixGlob(KVXComponentPixel& p, uint16_t g, int32_t x, int32_t y) override;
    uint32_t RenderGlobPixel(KVXComponentPixel* p, KVXComponentPixel* below, int32_t x, int32_t y,
                             const KVXBitmap<uint16_t>& heights) override;
};

// The glob colour mixed in through the screen's texture: grainy paint that
// changes colours only.
class KVXDrawMethodGrainyTrasparentGloppy : public KVXDrawMethodTrasparentGloppy {
public:
    KVXDrawMethodGrainyTrasparentGloppy(int32_t b, const KVXPlaneUChar* texture)
        : KVXDrawMethodTrasparentGloppy(b), texture(texture) {}
    int32_t Kind() const override { return kDrawGrainyTransparentGloppy; }

protected:
    void MixGlob(KVXComponentPixel& p, uint16_t g, int32_t x, int32_t y) override;
    uint32_t RenderGlobPixel(KVXComponentPixel* p, KVXComponentPixel* below, int32_t x, int32_t y,
                             const KVXBitmap<uint16_t>& heights) override;

private:
    uint8_t GrainWeight(uint16_t g, int32_t x, int32_t y) const;

    const KVXPlaneUChar* texture;
};

// One pixel of raised paint: the colour lit by the slope of the plane's
// heights plus the glob heights g, gBelow and gRight. Keeps the shadows as
// the shading render does.
uint32_t ShadeGlopPixel(KVXComponentPixel* p, KVXComponentPixel* below, int32_t g, int32_t gBelow,
                        int32_t gRight, const uint8_t* bgr);
