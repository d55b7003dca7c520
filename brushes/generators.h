#pragma once
// Colour generators (the colour each dab paints with) and opacity generators
// (per pixel, the nib byte and the texture byte into an opacity). Both keep
// 20-entry ramps indexed by the dab's size index.
#include <cstdint>

#include "brushes/brush_dab.h"
#include "canvas/blend.h"

// Channel-wise mix of two colours: w = 0 gives x, 255 gives y.
inline void MixColor(uint8_t* out, const uint8_t* x, const uint8_t* y, uint8_t w)
{
    for (int i = 0; i < 3; ++i)
        out[i] = BlendBytes(x[i], y[i], w);
}

class KVXColorGeneratorBase {
public:
    KVXColorGeneratorBase(const uint8_t ramp[4], const uint8_t* colour);
    virtual ~KVXColorGeneratorBase() = default;
    // Once per stroke with the pixel under the pen-down sample.
    virtual void Start(const uint8_t* pixel, int32_t sizeIndex) = 0;
    // Once per painted dab with the pixel under the dab.
    virtual void Step(const uint8_t* pixel, int32_t sizeIndex) = 0;

    void BuildRamp(const uint8_t r[4]);
    const uint8_t* Current() const { return current; }
    void SetColorRecord(const uint8_t* record) { colour = record; }

    const uint8_t* colour;
    uint8_t current[4] = {0, 0, 0, 0};
    uint8_t pending[4] = {0, 0, 0, 0};
    uint8_t ramp1[kBrushSizes] = {};
    uint8_t ramp2[kBrushSizes] = {};
    uint8_t weight = 0;

protected:
    // The saturation kinds, with tool colour c.
    void StartSaturation(const uint8_t* c, const uint8_t* pixel, int32_t sizeIndex);
    void StepSaturation(const uint8_t* c, const uint8_t* pixel, int32_t sizeIndex);
};

class KVXColorGeneratorColor : public KVXColorGeneratorBase {
public:
    using KVXColorGeneratorBase::KVXColorGeneratorBase;
    void Start(const uint8_t*, int32_t) override { CopyColor(); }
    void Step(const uint8_t*, int32_t) override { CopyColor(); }

private:
    void CopyColor();
};

// Picks up the canvas colour under the stroke and carries it along.
class KVXColorGeneratorSaturation : public KVXColorGeneratorBase {
public:
    using KVXColorGeneratorBase::KVXColorGeneratorBase;
    void Start(const uint8_t* pixel, int32_t s) override { StartSaturation(colour, pixel, s); }
    void Step(const uint8_t* pixel, int32_t s) override { StepSaturation(colour, pixel, s); }
};

class KVXColorGeneratorBleed : public KVXColorGeneratorSaturation {
public:
    using KVXColorGeneratorSaturation::KVXColorGeneratorSaturation;
};

// Saturation around the tool colour shifted by an offset drawn per stroke
// from -spread to spread.
class KVXColorGeneratorOffsetSaturation : public KVXColorGeneratorBase {
public:
    KVXColorGeneratorOffsetSaturation(const uint8_t ramp[4], const uint8_t* colour,
                                      int32_t spread = 20)
        : KVXColorGeneratorBase(ramp, colour), spread(spread) {}
    void Start(const uint8_t* pixel, int32_t s) override;
    void Step(const uint8_t* pixel, int32_t s) override;
    void ShiftedColor(uint8_t* out) const;

    int16_t offset = 0;

private:
    int32_t spread;
};

class KVXColorGeneratorOffsetSatBundle : public KVXColorGeneratorOffsetSaturation {
public:
    KVXColorGeneratorOffsetSatBundle(const uint8_t ramp[4], const uint8_t* colour)
        : KVXColorGeneratorOffsetSaturation(ramp, colour, 100) {}
};

// Colour-cycle paint: each dab one step further round the rainbow from the
// tool colour's hue, the pixel type byte set for the cycling paint.
class KVXColorCycleColorGenerator : public KVXColorGeneratorBase {
public:
    using KVXColorGeneratorBase::KVXColorGeneratorBase;
    void Start(const uint8_t*, int32_t) override;
    void Step(const uint8_t*, int32_t) override;

    // 32 steps make one turn of the rainbow.
    static constexpr int32_t kSteps = 32;
    int32_t cycle = 0;

private:
    void Paint();
};

class KVXOpacityGeneratorBase {
public:
    // q = {texture max, opacity max, texture min, opacity min}.
    explicit KVXOpacityGeneratorBase(const double q[4]);
    void BuildRamp(const double q[4]);
    virtual uint8_t GetOpacity(uint8_t n, uint8_t t, int32_t s) const { return Opacity(n, t, s); }
    uint8_t Opacity(uint8_t, uint8_t, int32_t s) const { return opacityRamp[s]; }

    uint8_t textureRamp[kBrushSizes] = {};
    uint8_t opacityRamp[kBrushSizes] = {};
};

// A low texture byte weakens the nib by up to the texture ramp.
class KVXOpacityGeneratorNib : public KVXOpacityGeneratorBase {
public:
    using KVXOpacityGeneratorBase::KVXOpacityGeneratorBase;
    uint8_t GetOpacity(uint8_t n, uint8_t t, int32_t s) const override { return Opacity(n, t, s); }
    uint8_t Opacity(uint8_t n, uint8_t t, int32_t s) const
    {
        uint8_t u = BlendTable[255 - t][textureRamp[s]];
        uint8_t v = BlendTable[n][255 - u];
        return BlendTable[v][opacityRamp[s]];
    }
};

// A generator's opacities for one size s: Opacity(n, t) = g.Opacity(n, t, s).
template <class OG>
class KVXSizedOpacity {
public:
    KVXSizedOpacity(const OG& g, int32_t s) : g(g), s(s) {}
    uint8_t Opacity(uint8_t n, uint8_t t) const { return g.Opacity(n, t, s); }

private:
    const OG& g;
    int32_t s;
};

// The nib generator's two BlendTable columns of size s gathered into rows
// of their own: a column's bytes lie 256 apart across the whole table, and
// a dab's texture bytes would fetch most of it, while the rows stay in the
// first-level cache.
template <>
class KVXSizedOpacity<KVXOpacityGeneratorNib> {
public:
    KVXSizedOpacity(const KVXOpacityGeneratorNib& g, int32_t s)
    {
        for (int32_t k = 0; k < 256; ++k) {
            unmasked[k] = uint8_t(255 - BlendTable[255 - k][g.textureRamp[s]]);
            opacity[k] = BlendTable[k][g.opacityRamp[s]];
        }
    }
    uint8_t Opacity(uint8_t n, uint8_t t) const { return opacity[BlendTable[n][unmasked[t]]]; }

private:
    uint8_t unmasked[256];  // 255 - u for each texture byte t
    uint8_t opacity[256];   // the opacity of each v
};

// The nib cut off wherever it is not above the texture threshold.
class KVXOpacityGeneratorTexture : public KVXOpacityGeneratorBase {
public:
    using KVXOpacityGeneratorBase::KVXOpacityGeneratorBase;
    uint8_t GetOpacity(uint8_t n, uint8_t t, int32_t s) const override { return Opacity(n, t, s); }
    uint8_t Opacity(uint8_t n, uint8_t t, int32_t s) const
    {
        uint8_t u = BlendTable[255 - t][textureRamp[s]];
        return n > u ? BlendTable[n - u][opacityRamp[s]] : 0;
    }
};

// Paints only where the texture byte is low.
class KVXOpacityGeneratorGrainy : public KVXOpacityGeneratorBase {
public:
    using KVXOpacityGeneratorBase::KVXOpacityGeneratorBase;
    uint8_t GetOpacity(uint8_t n, uint8_t t, int32_t s) const override { return Opacity(n, t, s); }
    uint8_t Opacity(uint8_t n, uint8_t t, int32_t s) const
    {
        return BlendTable[BlendTable[n][opacityRamp[s]]][BlendTable[255 - t][textureRamp[s]]];
    }
};
