#pragma once
// The smear: every pixel of a dab takes the paint found behind it along the
// stroke (colour and height, sampled bilinearly at quarter pixels inside the
// dab's rectangle), mixed with the dab colour and raised or carved.
#include <algorithm>
#include <cstdint>

#include "brushes/std_brush.h"

// Weights of the four pixels about a sample point by its quarter offsets
// fx, fy (0 to 3): entry fx * 4 + fy, each summing to 256.
struct BilinearQuarterWeights {
    int32_t w[16][4];
};
extern const BilinearQuarterWeights& SmearWeights;

class SmearColorAndHeightMover {
public:
    explicit SmearColorAndHeightMover(KVXPlaneComponent* plane) : plane(plane) {}
    virtual ~SmearColorAndHeightMover() = default;

    virtual void PrepareDab(const Box& clip, const BrushDab& dab);
    // x, y inside the clip; the sampled height and colour (blue, green, red).
    void Smear(int32_t x, int32_t y, uint8_t opacity, uint16_t& height, uint8_t* colour) const;

    Box clip = {0, 0, 0, 0};
    int32_t dx = 0;
    int32_t dy = 0;
    KVXPlaneComponent* plane;
    int32_t originX = 0;
    int32_t originY = 0;
    double width = 0;
    double scale = 0;
    double stepX = 0;
    double stepY = 0;
};

template <class CT, class PT, class HT, class CG, class OG, class Mover = SmearColorAndHeightMover>
class KVXBrushDirectionalCAndHMover : public KVXBrushStdTransfer<CT, PT, HT, CG, OG> {
    typedef KVXBrushStdTransfer<CT, PT, HT, CG, OG> Base;

public:
    KVXBrushDirectionalCAndHMover(const double params[4], const uint8_t ramp[4],
                                  const double opacityNumbers[4], const uint8_t heights[2],
                                  KVXPlaneComponent* plane, const KVXBitmap<uint8_t>* nibMaster,
                                  const KVXBitmap<uint8_t>* texture, const uint8_t* colour)
        : Base(params, ramp, opacityNumbers, heights, plane, nibMaster, texture, colour),
          mover(plane)
    {
    }

    void Dab(const BrushDab* dab) override
    {
        Box clip = this->DabRect(*dab);
        if (clip.IsEmpty())
            return;
        int32_t s = this->SizeIndexOf(*dab);
        int32_t left = int32_t(dab->x) - this->nibs.OffsetFor(s);
        int32_t top = int32_t(dab->y) - this->nibs.OffsetFor(s);
        mover.PrepareDab(clip, *dab);
        uint8_t under[4];
        this->colors.Step(this->SamplePixel(under, *dab), s);
        const uint8_t* c = this->colors.Current();
        const uint8_t* heightRow = BlendTable[this->heightRange.Depth(s)];
        const KVXPlaneUCharTop& nib = this->nibs.NibFor(s);
        KVXPlaneComponent* plane = this->plane;
        // Pixels ahead of the motion first, so samples behind read paint
        // this dab has not replaced yet.
        bool backX = dab->dx > 0;
        bool backY = dab->dy > 0;
        int32_t w = clip.Width();
        int32_t h = clip.Height();
        for (int32_t j = 0; j < h; ++j) {
            int32_t y = backY ? h - 1 - j : j;
            for (int32_t i = 0; i < w; ++i) {
                int32_t x = backX ? w - 1 - i : i;
                KVXComponentPixel& p = *plane->PixelAt(clip.left + x, clip.top + y);
                if (p.type == kPixelLocked)
                    continue;
                uint8_t n = *nib.PixelAt(clip.left + x - left, clip.top + y - top);
                uint8_t o = this->opacity.Opacity(n, this->TextureAt(clip.left + x, clip.top + y), s);
                if (o == 0)
                    continue;
                KVXComponentPixel sample = p;
                mover.Smear(x, y, o, sample.height, &sample.blue);
                CT::Apply(sample, c, o);
                p.blue = sample.blue;
                p.green = sample.green;
                p.red = sample.red;
                p.height = HT::Apply(sample.height, heightRow[o]);
                PT::Apply(p);
            }
        }
        plane->AddDirtyRect(clip);
    }

    Mover mover;
};
