#pragma once
// The standard transfer brush: a dab stamps the nib of its size into the
// canvas, each pixel mixed by the colour transfer CT, raised or carved by
// the height transfer HT and typed by PT, at the opacity OG makes of the nib
// and texture bytes, in the colour CG gives the dab. The write-all brush
// also paints locked pixels.
#include <cstdint>

#include "brushes/path_generator.h"
#include "brushes/policy_brush.h"
#include "brushes/transfers.h"
#include "framework/heap.h"

template <class CT, class PT, class HT, class CG, class OG>
class KVXBrushStdTransfer : public KVXPolicyBrush {
public:
    typedef CG ColorGenerator;
    typedef OG OpacityGenerator;

    KVXBrushStdTransfer(const double params[4], const uint8_t ramp[4], const double opacityNumbers[4],
                        const uint8_t heights[2], KVXPlaneComponent* plane,
                        const KVXBitmap<uint8_t>* nibMaster, const KVXBitmap<uint8_t>* texture,
                        const uint8_t* colour)
        : KVXPolicyBrush(params, heights, plane, nibMaster, texture, colour),
          colors(ramp, colour),
          opacity(opacityNumbers)
    {
        SetPathGenerator(new (gDefaultHeap) SimplePathGenerator);
    }

    void Dab(const BrushDab* dab) override { PaintDab<true>(*dab); }
    KVXColorGeneratorBase& Colors() override { return colors; }

    CG colors;
    OG opacity;

protected:
    template <bool kSkipLocked>
    void PaintDab(const BrushDab& dab)
    {
        Box clip = DabRect(dab);
        if (clip.IsEmpty())
            return;
        int32_t s = SizeIndexOf(dab);
        int32_t left = int32_t(dab.x) - nibs.OffsetFor(s);
        int32_t top = int32_t(dab.y) - nibs.OffsetFor(s);
        uint8_t under[4];
        colors.Step(SamplePixel(under, dab), s);
        const uint8_t* c = colors.Current();
        const uint8_t* heightRow = BlendTable[heightRange.Depth(s)];
        const KVXPlaneUCharTop& nib = nibs.NibFor(s);
        for (int32_t y = clip.top; y < clip.bottom; ++y) {
            const uint8_t* n = nib.Row(y - top) + (clip.left - left);
            const uint8_t* t = TextureRow(y);
            int32_t textureEnd = t != nullptr ? texture->width : 0;
            KVXComponentPixel* p = plane->PixelAt(clip.left, y);
            for (int32_t x = clip.left; x < clip.right; ++x, ++p, ++n) {
                if (kSkipLocked && p->type == kPixelLocked)
                    continue;
                uint8_t o = opacity.Opacity(*n, x < textureEnd ? t[x] : 0, s);
                // Every transfer leaves the pixel as it is at opacity 0.
                if (o == 0)
                    continue;
                CT::Apply(*p, c, o);
                p->height = HT::Apply(p->height, heightRow[o]);
                PT::Apply(*p);
            }
        }
        plane->AddDirtyRect(clip);
    }
};

template <class CT, class PT, class HT, class CG, class OG>
class KVXBrushWriteAll : public KVXBrushStdTransfer<CT, PT, HT, CG, OG> {
public:
    using KVXBrushStdTransfer<CT, PT, HT, CG, OG>::KVXBrushStdTransfer;
    void Dab(const BrushDab* dab) override { this->template PaintDab<false>(*dab); }
};
