#pragma once
// The smear: every pixel of a dab takes the paint found behind it along the
// stroke (colour and height, sampled bilinearly at quarter pixels inside the
// dab's rectangle), mixed with the dab colour and raised or carved.
#include <emmintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "brushes/std_brush.h"

// Weights of the four pixels about a sample point by its quarter offsets
// fx, fy (0 to 3): entry fx * 4 + fy, each summing to 256; lanes holds each
// weight eight times as 16-bit lanes.
struct BilinearQuarterWeights {
    int32_t w[16][4];
    int16_t lanes[16][4][8];
};
extern const BilinearQuarterWeights& SmearWeights;

// Where a sample falls along one axis: its pixel, the next one (the same at
// the clip's far edge) and its quarter offset.
struct SmearAxis {
    int32_t low;
    int32_t high;
    int32_t quarter;
};

// How far the samples of one opacity lie from their pixels along one axis,
// in quarter pixels: the same for every pixel of a dab.
struct SmearShift {
    int32_t quarters;   // floor of 4 x the shift
    int32_t onQuarter;  // 1 when the shift is a whole number of quarters
    bool nearQuarter;   // so near a quarter that rounding could cross it
};

// The sample of one opacity wherever it and the pixels right of and below it
// lie inside the clip (no clamping, no edge): a fixed distance from the
// pixel in the plane with fixed weights. Those pixels are the columns x with
// x - firstX < countX and the rows y with y - firstY < countY (unsigned,
// clip relative); counts of 0 leave every pixel to the axes.
struct SmearReach {
    ptrdiff_t offset;  // in pixels, from the pixel to its sample's top left
    const int16_t (*weights)[8];
    int32_t firstX;
    uint32_t countX;
    int32_t firstY;
    uint32_t countY;
};

class SmearColorAndHeightMover {
public:
    explicit SmearColorAndHeightMover(KVXPlaneComponent* plane) : plane(plane) {}
    virtual ~SmearColorAndHeightMover() = default;

    virtual void PrepareDab(const Box& clip, const BrushDab& dab);
    // Fills the shift tables of QuickAxisX and QuickAxisY and the reaches
    // from clip, stepX and stepY (PrepareDab does it).
    void PrepareShifts();
    const SmearReach& Reach(uint8_t opacity) const { return reach[opacity]; }
    // x, y inside the clip; the sampled height and colour (blue, green, red).
    void Smear(int32_t x, int32_t y, uint8_t opacity, uint16_t& height, uint8_t* colour) const
    {
        Sample(AxisX(x, opacity), AxisY(y, opacity), height, colour);
    }
    // The two halves of Smear: each axis depends on its coordinate and the
    // opacity alone, so a dab may keep them while those stay the same.
    SmearAxis AxisX(int32_t x, uint8_t opacity) const
    {
        return Axis((originX + x) - opacity * stepX, clip.left, clip.right);
    }
    SmearAxis AxisY(int32_t y, uint8_t opacity) const
    {
        return Axis((originY + y) - opacity * stepY, clip.top, clip.bottom);
    }
    // AxisX and AxisY from the dab's shift tables: the same axes in integers,
    // reckoned in doubles only for shifts that lie on the edge of a quarter.
    SmearAxis QuickAxisX(int32_t x, uint8_t opacity) const
    {
        const SmearShift& shift = shiftX[opacity];
        if (!quartered || shift.nearQuarter)
            return AxisX(x, opacity);
        return QuarteredAxis(4 * (originX + x) + shift.quarters, shift.onQuarter, clip.left,
                             clip.right);
    }
    SmearAxis QuickAxisY(int32_t y, uint8_t opacity) const
    {
        const SmearShift& shift = shiftY[opacity];
        if (!quartered || shift.nearQuarter)
            return AxisY(y, opacity);
        return QuarteredAxis(4 * (originY + y) + shift.quarters, shift.onQuarter, clip.top,
                             clip.bottom);
    }
    void Sample(const SmearAxis& ax, const SmearAxis& ay, uint16_t& height, uint8_t* colour) const
    {
        KVXComponentPixel p = Sample(ax, ay);
        height = p.height;
        colour[0] = p.blue;
        colour[1] = p.green;
        colour[2] = p.red;
    }
    // The sampled colour and height (type and shadow 0): each channel of the
    // four pixels about the sample weighted, (w00 c00 + w10 c10 + w01 c01 +
    // w11 c11) >> 8.
    KVXComponentPixel Sample(const SmearAxis& ax, const SmearAxis& ay) const
    {
        return SamplePixel(Sums(ax, ay));
    }
    // Sample reckoned channel by channel from the weights.
    KVXComponentPixel PlainSample(const SmearAxis& ax, const SmearAxis& ay) const;
    // The weighted sums of Sample before the shift, all eight bytes of the
    // pixels mixed at once in 16-bit lanes (a sum never passes 255 x 256);
    // the height's sum is its low byte's plus 256 times its high byte's.
    __m128i Sums(const SmearAxis& ax, const SmearAxis& ay) const
    {
        const int16_t(*w)[8] = SmearWeights.lanes[ax.quarter * 4 + ay.quarter];
        const KVXComponentPixel* low = plane->Row(ay.low);
        const KVXComponentPixel* high = plane->Row(ay.high);
        const __m128i zero = _mm_setzero_si128();
        auto weighted = [zero](const KVXComponentPixel* p, const int16_t* weight) {
            __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
            return _mm_mullo_epi16(_mm_unpacklo_epi8(bytes, zero), Lanes(weight));
        };
        return _mm_add_epi16(
            _mm_add_epi16(weighted(low + ax.low, w[0]), weighted(low + ax.high, w[1])),
            _mm_add_epi16(weighted(high + ax.low, w[2]), weighted(high + ax.high, w[3])));
    }
    // Sums for a sample whose four pixels are corner, its right neighbour and
    // the two below them: each pair of neighbours read in one load.
    __m128i SumsAt(const KVXComponentPixel* corner, const int16_t (*w)[8]) const
    {
        const __m128i zero = _mm_setzero_si128();
        __m128i top = _mm_loadu_si128(reinterpret_cast<const __m128i*>(corner));
        __m128i bottom = _mm_loadu_si128(reinterpret_cast<const __m128i*>(corner + pitch));
        return _mm_add_epi16(
            _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(top, zero), Lanes(w[0])),
                          _mm_mullo_epi16(_mm_unpackhi_epi8(top, zero), Lanes(w[1]))),
            _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(bottom, zero), Lanes(w[2])),
                          _mm_mullo_epi16(_mm_unpackhi_epi8(bottom, zero), Lanes(w[3]))));
    }
    // Blue, green and red of the sums (bytes 0 to 2; byte 3 is 0).
    static uint32_t SumsColour(__m128i sums)
    {
        __m128i colour = _mm_srli_epi16(sums, 8);
        return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(colour, colour))) & 0xFFFFFFu;
    }
    static uint16_t SumsHeight(__m128i sums)
    {
        return uint16_t(_mm_extract_epi16(sums, 5) + (_mm_extract_epi16(sums, 4) >> 8));
    }
    static KVXComponentPixel SamplePixel(__m128i sums)
    {
        KVXComponentPixel sample = {};
        sample.SetColorWord(SumsColour(sums));
        sample.height = SumsHeight(sums);
        return sample;
    }

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
    ptrdiff_t pitch = 0;  // of the plane, in pixels

private:
    static __m128i Lanes(const int16_t* w)
    {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(w));
    }
    void PrepareReach(int32_t opacity);
    static SmearShift ShiftFor(int32_t opacity, double step);
    // The axis of Axis for a sample q quarter pixels from 0 (never below it).
    // A sample clamped to the clip lies on a whole pixel.
    static SmearAxis QuarteredAxis(int32_t q, int32_t onQuarter, int32_t first, int32_t end)
    {
        if (q < 4 * first) {
            q = 4 * first;
            onQuarter = 1;
        } else if (q >= 4 * (end - 1)) {
            q = 4 * (end - 1);
            onQuarter = 1;
        }
        SmearAxis axis;
        axis.low = q >> 2;
        axis.quarter = q & 3;
        axis.high = q >= 4 * (end - 2) + onQuarter ? axis.low : axis.low + 1;
        return axis;
    }

    SmearShift shiftX[256] = {};
    SmearShift shiftY[256] = {};
    SmearReach reach[256] = {};
    // Whether the shift tables hold for this dab (its clip lies at or right
    // of and below the plane's origin).
    bool quartered = false;

    // floor() without the library call: exact for every value within the
    // 32-bit range.
    static double Floor(double v)
    {
        double t = double(int32_t(v));
        return t - double(t > v);
    }
    static SmearAxis Axis(double s, int32_t first, int32_t end)
    {
        s = std::clamp(s, double(first), double(end - 1));
        SmearAxis axis;
        // 4 x the fraction lies in [0, 4): truncation is its floor.
        axis.quarter = int32_t(4 * (s - Floor(s)));
        axis.low = int32_t(s);
        int32_t next = int32_t(s + 1);
        axis.high = s > end - 2 ? axis.low : next;
        return axis;
    }
};

// The cover transfer on a sample's sums (SumsColour gives the sample):
// blue, green and red each become BlendTable[255 - o][sample] +
// BlendTable[o][paint], paint in lanes 0 to 2. BlendTable[a][b] = (a b +
// 128) / 255 is reckoned as ((a b + 128) x 0x8081) >> 23 in 16-bit lanes,
// which gives the same for every a and b, and the two parts never pass 255.
inline uint32_t SmearCoverColour(__m128i sums, __m128i paint, uint8_t o)
{
    const __m128i keepLanes = _mm_setr_epi16(255, 255, 255, 255, 0, 0, 0, 0);
    __m128i both = _mm_unpacklo_epi64(_mm_srli_epi16(sums, 8), paint);
    __m128i weight = _mm_xor_si128(_mm_set1_epi16(o), keepLanes);  // 255 - o, then o
    __m128i product = _mm_add_epi16(_mm_mullo_epi16(both, weight), _mm_set1_epi16(128));
    __m128i part = _mm_srli_epi16(_mm_mulhi_epu16(product, _mm_set1_epi16(int16_t(0x8081))), 7);
    __m128i colour = _mm_add_epi16(part, _mm_srli_si128(part, 8));
    return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(colour, colour))) & 0xFFFFFFu;
}

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

    void Dab(const BrushDab* dab) override { Paint<false>(*dab); }
    // The same dab with every sample placed in doubles and mixed channel by
    // channel, through the transfers pixel by pixel: what Dab must give.
    void PlainDab(const BrushDab* dab) { Paint<true>(*dab); }

    Mover mover;

private:
    template <bool kPlain>
    void Paint(const BrushDab& dab)
    {
        Box clip = this->DabRect(dab);
        if (clip.IsEmpty())
            return;
        int32_t s = this->SizeIndexOf(dab);
        int32_t left = int32_t(dab.x) - this->nibs.OffsetFor(s);
        int32_t top = int32_t(dab.y) - this->nibs.OffsetFor(s);
        mover.PrepareDab(clip, dab);
        uint8_t under[4];
        this->colors.Step(this->SamplePixel(under, dab), s);
        // A copy the pixel loop's byte stores cannot reach, so it stays in
        // registers instead of being read again for every pixel.
        const uint8_t* current = this->colors.Current();
        const uint8_t c[4] = {current[0], current[1], current[2], current[3]};
        const __m128i paint = _mm_setr_epi16(c[0], c[1], c[2], 0, 0, 0, 0, 0);
        const uint8_t* heightRow = BlendTable[this->heightRange.Depth(s)];
        const KVXPlaneUCharTop& nib = this->nibs.NibFor(s);
        KVXPlaneComponent* plane = this->plane;
        const KVXSizedOpacity<OG> opacity(this->opacity, s);
        // Pixels ahead of the motion first, so samples behind read paint
        // this dab has not replaced yet.
        bool backX = dab.dx > 0;
        bool backY = dab.dy > 0;
        int32_t w = clip.Width();
        int32_t h = clip.Height();
        for (int32_t j = 0; j < h; ++j) {
            int32_t y = backY ? h - 1 - j : j;
            KVXComponentPixel* row = plane->Row(clip.top + y) + clip.left;
            const uint8_t* nibRow = nib.Row(clip.top + y - top) + (clip.left - left);
            const uint8_t* textureRow = this->TextureRow(clip.top + y);
            int32_t textureEnd = textureRow != nullptr ? this->texture->width - clip.left : 0;
            for (int32_t i = 0; i < w; ++i) {
                int32_t x = backX ? w - 1 - i : i;
                KVXComponentPixel& p = row[x];
                if (p.type == kPixelLocked)
                    continue;
                uint8_t t = x < textureEnd && clip.left + x >= 0 ? textureRow[clip.left + x] : 0;
                uint8_t o = kPlain ? this->opacity.Opacity(nibRow[x], t, s)
                                   : opacity.Opacity(nibRow[x], t);
                if (o == 0)
                    continue;
                if constexpr (kPlain) {
                    Transfer(p, mover.PlainSample(mover.AxisX(x, o), mover.AxisY(y, o)), c, o,
                             heightRow);
                    continue;
                }
                const SmearReach& reach = mover.Reach(o);
                __m128i sums = uint32_t(x - reach.firstX) < reach.countX &&
                                       uint32_t(y - reach.firstY) < reach.countY
                                   ? mover.SumsAt(&p + reach.offset, reach.weights)
                                   : mover.Sums(mover.QuickAxisX(x, o), mover.QuickAxisY(y, o));
                if constexpr (std::is_same_v<CT, KVXCoverTransfer>) {
                    p.SetColorWord(SmearCoverColour(sums, paint, o) | uint32_t(p.type) << 24);
                    p.height = HT::Apply(Mover::SumsHeight(sums), heightRow[o]);
                    PT::Apply(p);
                } else {
                    Transfer(p, Mover::SamplePixel(sums), c, o, heightRow);
                }
            }
        }
        plane->AddDirtyRect(clip);
    }

    // The pixel takes its sample's colour and height, mixed with the dab
    // colour; only colour and height are kept.
    static void Transfer(KVXComponentPixel& p, KVXComponentPixel sample, const uint8_t* c,
                         uint8_t o, const uint8_t* heightRow)
    {
        sample.type = p.type;
        sample.shadow = p.shadow;
        CT::Apply(sample, c, o);
        p.blue = sample.blue;
        p.green = sample.green;
        p.red = sample.red;
        p.height = HT::Apply(sample.height, heightRow[o]);
        PT::Apply(p);
    }
};
