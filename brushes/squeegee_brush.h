#pragma once
// The squeegee: every dab wipes the quadrilateral between the previous dab
// and this one, as wide as the tool's diameter, through a mask filled by the
// platform's polygon fill.
#include <cstdint>
#include <vector>

#include "brushes/std_brush.h"
#include "framework/color_table.h"
#include "media/bitmap.h"

class WinMMOffscreenSurface;

// The part that does not depend on the policies: the band's points and its
// mask.
class SqueegeeBand {
public:
    explicit SqueegeeBand(double halfWidth);
    ~SqueegeeBand();

    void Reset(const BrushDab& start);
    void Clear() { points.clear(); }
    // Adds the edge points of a dab; false when the band is empty.
    void AddDab(const BrushDab& dab);
    // Draws the mask of the band; its box (half-open) goes to bounds. Null
    // when the surface cannot be made.
    WinMMOffscreenSurface* MakeMask(Box& bounds, MMBitmap& bits) const;

    std::vector<Pair> points;
    double halfWidth;
    bool firstDab = false;
    bool side = false;
    Pair start = {0, 0};

private:
    MMColorTable greys;
};

template <class CT, class PT, class HT, class CG, class OG>
class KVXBrushSqueegeeBase : public KVXBrushStdTransfer<CT, PT, HT, CG, OG> {
    typedef KVXBrushStdTransfer<CT, PT, HT, CG, OG> Base;

public:
    KVXBrushSqueegeeBase(const double params[4], const uint8_t ramp[4],
                         const double opacityNumbers[4], const uint8_t heights[2],
                         KVXPlaneComponent* plane, const KVXBitmap<uint8_t>* nibMaster,
                         const KVXBitmap<uint8_t>* texture, const uint8_t* colour)
        : Base(params, ramp, opacityNumbers, heights, plane, nibMaster, texture, colour),
          band(params[3] * 0.00392156862745098)
    {
        last.Set(0, 0, 0, 0, 0);
    }

    void BeginStroke(const BrushDab* sample) override
    {
        Keep(*sample);
        uint8_t pixel[4];
        this->colors.Start(this->SamplePixel(pixel, *sample), this->SizeIndexOf(*sample));
        band.Reset(*sample);
        if (this->pathGenerator != nullptr)
            this->pathGenerator->Begin(sample);
    }
    void ContinueStroke(const BrushDab* sample) override
    {
        Keep(*sample);
        Base::ContinueStroke(sample);
    }
    void EndStroke(const BrushDab* sample) override
    {
        Keep(*sample);
        Base::EndStroke(sample);
        band.Clear();
    }

    void Dab(const BrushDab* dab) override
    {
        band.AddDab(*dab);
        Box bounds;
        MMBitmap mask;
        WinMMOffscreenSurface* surface = band.MakeMask(bounds, mask);
        if (surface == nullptr)
            return;
        KVXPlaneComponent* plane = this->plane;
        Box clip = bounds;
        // The band never reaches the last column or row.
        clip.Intersect({0, 0, plane->width - 1, plane->height - 1});
        if (!clip.IsEmpty()) {
            int32_t s = this->SizeIndexOf(*dab);
            uint8_t under[4];
            this->colors.Step(this->SamplePixel(under, *dab), s);
            const uint8_t* c = this->colors.Current();
            const uint8_t* heightRow = BlendTable[this->heightRange.Depth(s)];
            for (int32_t y = clip.top; y < clip.bottom; ++y) {
                const uint8_t* m = mask.PixelAddress(mask.box.left + clip.left - bounds.left,
                                                     mask.box.top + y - bounds.top);
                KVXComponentPixel* p = plane->PixelAt(clip.left, y);
                for (int32_t x = clip.left; x < clip.right; ++x, ++p, ++m) {
                    uint8_t o = this->opacity.Opacity(*m, this->TextureAt(x, y), s);
                    if (o == 0)
                        continue;
                    CT::Apply(*p, c, o);
                    p->height = HT::Apply(p->height, heightRow[o]);
                    PT::Apply(*p);
                }
            }
        }
        DisposeMask(surface);
        if (!clip.IsEmpty())
            plane->AddDirtyRect(clip);
    }

    SqueegeeBand band;
    BrushDab last;

private:
    void Keep(const BrushDab& sample) { last.Set(sample.x, sample.y, sample.sizeIndex, 0, 0); }
    static void DisposeMask(WinMMOffscreenSurface* surface);
};

void DisposeSqueegeeMask(WinMMOffscreenSurface* surface);

template <class CT, class PT, class HT, class CG, class OG>
void KVXBrushSqueegeeBase<CT, PT, HT, CG, OG>::DisposeMask(WinMMOffscreenSurface* surface)
{
    DisposeSqueegeeMask(surface);
}
