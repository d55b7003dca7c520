#pragma once
// What the brush templates share: the tool's colour, the texture plane, the
// height range, the nibs and the owned path generator, with the stroke
// protocol (prime the colour generator, forward the samples, advance the
// plane's change state at the end).
#include <cstdint>

#include "brushes/brush_base.h"
#include "brushes/generators.h"
#include "brushes/nib_set.h"

class KVXPolicyBrush : public KVXBrushWithComponentPlane {
public:
    // params: {spacing low, spacing high, diameter min, diameter max}; only
    // the diameters are used here. heights: {height min, height max}.
    KVXPolicyBrush(const double params[4], const uint8_t heights[2], KVXPlaneComponent* plane,
                   const KVXBitmap<uint8_t>* nibMaster, const KVXBitmap<uint8_t>* texture,
                   const uint8_t* colour);

    void BeginStroke(const BrushDab* sample) override;
    void ContinueStroke(const BrushDab* sample) override { ContinuePath(sample); }
    void EndStroke(const BrushDab* sample) override { EndPathOnPlane(sample); }
    // Blue, green, red and type of the plane pixel under the dab, clamped
    // into the plane.
    virtual uint8_t* SamplePixel(uint8_t* out, const BrushDab& dab) const;
    virtual KVXColorGeneratorBase& Colors() = 0;

    // The nib box of the dab clipped to the plane.
    Box DabRect(const BrushDab& dab) const;
    const NibSet& Nibs() const { return nibs; }
    const PressureRange& HeightRange() const { return heightRange; }

protected:
    static int32_t SizeIndexOf(const BrushDab& dab);
    // The texture byte at a canvas place; 0 where there is no texture.
    uint8_t TextureAt(int32_t x, int32_t y) const;
    const uint8_t* TextureRow(int32_t y) const;

    const uint8_t* colour;
    const KVXBitmap<uint8_t>* texture;
    PressureRange heightRange;
    NibSet nibs;
};
