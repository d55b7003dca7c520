#pragma once
// The shading row loop over a lane type: 128-bit lanes (eight pixels a
// step), 256-bit lanes (sixteen) or 512-bit lanes (thirty-two). Included
// only by the files that compile it for their processor, each with its own
// lane type, after shading.h.
//
// A lane type L gives V (a vector of 16-bit lanes), kPixels, and the
// operations below. Its shuffles and packs may work inside 128-bit parts:
// pixels then take the lanes in an order of their own throughout, and
// L::InOrder puts the colour words back in pixel order. Where the processor
// stores 16-bit words under a mask (kStoresShadowsAlone) only the shadows
// are written back, and where it permutes bytes across a whole vector
// (kPermutesBytes) each light's keep and add come from their tables.
//
// Everything is computed in the lanes except the light of a slope, which
// comes from the light table one pixel at a time; the bytes are exactly
// those of the table-driven step (ShadePixel).
#include <algorithm>
#include <cstdint>

#include "canvas/component_pixel.h"
#include "canvas/slope_light.h"

static_assert(kFlatLight == 216 && kDarkestLight == 163,
              "the divisions of ShadeLanes are exact for these lights only");

template <class L>
struct ShadeLanes {
    typedef typename L::V V;
    static constexpr int32_t kPixels = L::kPixels;

    // The height-and-shadow words (odd words) and colour words (even words)
    // of kPixels / 2 pixels from two vectors of pixels.
    [[gnu::always_inline]] static V OddWords(V a, V b) { return L::template ShuffleWords<3, 1, 3, 1>(a, b); }
    [[gnu::always_inline]] static V EvenWords(V a, V b) { return L::template ShuffleWords<2, 0, 2, 0>(a, b); }
    // The low (high) halves of the words of a and b as 16-bit lanes.
    [[gnu::always_inline]] static V LowHalves(V a, V b)
    {
        return L::PackSigned32(L::ShiftRightSigned32(L::ShiftLeft32(a, 16), 16),
                               L::ShiftRightSigned32(L::ShiftLeft32(b, 16), 16));
    }
    [[gnu::always_inline]] static V HighHalves(V a, V b)
    {
        return L::PackSigned32(L::ShiftRightSigned32(a, 16), L::ShiftRightSigned32(b, 16));
    }
    static constexpr int32_t kStride = kPixels / 4;  // pixels in one vector
    [[gnu::always_inline]] static V Load(const KVXComponentPixel* p) { return L::Load(p); }
    [[gnu::always_inline]] static void Store(KVXComponentPixel* p, V v) { L::Store(p, v); }
    // The heights of the kPixels pixels from p, in lane order.
    [[gnu::always_inline]] static V Heights(const KVXComponentPixel* p)
    {
        return LowHalves(OddWords(Load(p), Load(p + kStride)),
                         OddWords(Load(p + 2 * kStride), Load(p + 3 * kStride)));
    }
    // a - b of unsigned lanes, clamped to -127..127.
    [[gnu::always_inline]] static V ClampedDifference(V a, V b)
    {
        const V limit = L::Set16(127);
        V up = L::SubSaturated(a, b);
        V down = L::SubSaturated(b, a);
        up = L::Sub(up, L::SubSaturated(up, limit));
        down = L::Sub(down, L::SubSaturated(down, limit));
        return L::Sub(up, down);
    }
    // A multiplier the compiler cannot turn into shifts and adds: those take
    // more steps, and the row loop is bound by how many steps it takes.
    [[gnu::always_inline]] static V Factor(int16_t v)
    {
        V f = L::Set16(v);
        asm("" : "+x"(f));
        return f;
    }
    // n / 255 of unsigned lanes: (n x 0x8081) >> 23.
    [[gnu::always_inline]] static V Divide255(V n)
    {
        return L::ShiftRight16(L::MulHigh(n, L::Set16(int16_t(0x8081))), 7);
    }

    // The index into the folded light table of the slopes of kPixels pixels
    // of heights `height` from row (below: the next row): m x (m + 1) / 2 + n,
    // with m the larger of the clamped differences plus 127 (at most 254) and
    // n the smaller.
    [[gnu::always_inline]] static V LightIndex(const KVXComponentPixel* row, const KVXComponentPixel* below,
                                               V height)
    {
        const V middle = L::Set16(127);
        V a = L::Add(ClampedDifference(Heights(row + 1), height), middle);
        V b = L::Add(ClampedDifference(Heights(below), height), middle);
        V m = L::MaxSigned(a, b);
        V n = L::MinSigned(a, b);
        return L::Add(L::ShiftRight16(L::MulLow(m, L::Add(m, L::Set16(1))), 1), n);
    }

    // The slope part of kPixels pixels of row (below: the next row): the
    // index of their light in the light table, the depth of the shadow they
    // lie in and the shadow that falls on their lower-right neighbours.
    // kShadeAll: the shadows falling in are read from the row and the
    // carried ones written there. kShadeAside: those falling in are read
    // from `incoming` (a row of its own) and only the carried ones that
    // differ from the row's are written, so that a row whose shadows have
    // not changed stays unwritten. kShadeColors: the row's shadows are
    // carried already (their depth is then what is left over the height).
    // The neighbours' shadows are left to FallShadows, so that no load here
    // reads what a store of the step before wrote.
    template <ShadePass Pass>
    [[gnu::always_inline]] static void Slope(KVXComponentPixel* row, const KVXComponentPixel* below,
                                             const KVXComponentPixel* incoming, uint16_t* index,
                                             uint16_t* depth, uint16_t* fallen)
    {
        V p0 = Load(row);
        V p1 = Load(row + kStride);
        V p2 = Load(row + 2 * kStride);
        V p3 = Load(row + 3 * kStride);
        V heightShadow0 = OddWords(p0, p1);
        V heightShadow1 = OddWords(p2, p3);
        V height = LowHalves(heightShadow0, heightShadow1);
        V shadow;
        if constexpr (Pass == kShadeAside) {
            shadow = HighHalves(OddWords(Load(incoming), Load(incoming + kStride)),
                                OddWords(Load(incoming + 2 * kStride), Load(incoming + 3 * kStride)));
        } else {
            shadow = HighHalves(heightShadow0, heightShadow1);
        }
        // In a shadow the shadow is carried on and dims the light by its depth.
        V inShadow = L::SubSaturated(shadow, height);
        L::Store(index, LightIndex(row, below, height));
        L::Store(depth, inShadow);
        if constexpr (Pass == kShadeColors)
            return;
        V carried = L::Add(height, inShadow);
        L::Store(fallen, L::SubSaturated(carried, L::Set16(32)));
        if constexpr (L::kStoresShadowsAlone) {
            if constexpr (Pass == kShadeAside)
                StoreShadows(row, carried, p0, p1, p2, p3);
            else
                StoreShadows(row, carried);
        } else {
            StoreOwnWords<Pass>(row, height, carried, p0, p1, p2, p3);
        }
    }

    // Heights and carried shadows written back into the pixels from row (p0
    // to p3 as they were), only if they change where Pass is kShadeAside.
    template <ShadePass Pass>
    [[gnu::always_inline]] static void StoreOwnWords(KVXComponentPixel* row, V height, V carried, V p0,
                                                     V p1, V p2, V p3)
    {
        V ownWords0 = L::UnpackLow16(height, carried);
        V ownWords1 = L::UnpackHigh16(height, carried);
        V colors0 = EvenWords(p0, p1);
        V colors1 = EvenWords(p2, p3);
        V n0 = L::UnpackLow32(colors0, ownWords0);
        V n1 = L::UnpackHigh32(colors0, ownWords0);
        V n2 = L::UnpackLow32(colors1, ownWords1);
        V n3 = L::UnpackHigh32(colors1, ownWords1);
        if constexpr (Pass == kShadeAside) {
            if (L::AllSet(L::And(L::And(L::Equal32(n0, p0), L::Equal32(n1, p1)),
                                 L::And(L::Equal32(n2, p2), L::Equal32(n3, p3)))))
                return;
        }
        Store(row, n0);
        Store(row + kStride, n1);
        Store(row + 2 * kStride, n2);
        Store(row + 3 * kStride, n3);
    }

    // The shadows of kPixels pixels from p into their word 3, their other
    // words left alone.
    [[gnu::always_inline]] static void StoreShadows(KVXComponentPixel* p, V shadow)
    {
        V words0 = L::UnpackLow16(shadow, shadow);
        V words1 = L::UnpackHigh16(shadow, shadow);
        L::StoreShadows(p, L::UnpackLow32(words0, words0));
        L::StoreShadows(p + kStride, L::UnpackHigh32(words0, words0));
        L::StoreShadows(p + 2 * kStride, L::UnpackLow32(words1, words1));
        L::StoreShadows(p + 3 * kStride, L::UnpackHigh32(words1, words1));
    }

    // The same, written only where they differ from the shadows of a0..a3
    // (the four vectors of pixels from p as they were).
    [[gnu::always_inline]] static void StoreShadows(KVXComponentPixel* p, V shadow, V a0, V a1, V a2, V a3)
    {
        V words0 = L::UnpackLow16(shadow, shadow);
        V words1 = L::UnpackHigh16(shadow, shadow);
        L::StoreChangedShadows(p, L::UnpackLow32(words0, words0), a0);
        L::StoreChangedShadows(p + kStride, L::UnpackHigh32(words0, words0), a1);
        L::StoreChangedShadows(p + 2 * kStride, L::UnpackLow32(words1, words1), a2);
        L::StoreChangedShadows(p + 3 * kStride, L::UnpackHigh32(words1, words1), a3);
    }

    // The shadows Slope found fall on the kPixels pixels from lowerRight.
    [[gnu::always_inline]] static void FallShadows(KVXComponentPixel* lowerRight, const uint16_t* fallen)
    {
        if constexpr (L::kStoresShadowsAlone) {
            StoreShadows(lowerRight, L::Load(fallen));
            return;
        }
        V b0 = Load(lowerRight);
        V b1 = Load(lowerRight + kStride);
        V b2 = Load(lowerRight + 2 * kStride);
        V b3 = Load(lowerRight + 3 * kStride);
        V shadow = L::Load(fallen);
        V height = LowHalves(OddWords(b0, b1), OddWords(b2, b3));
        V words0 = L::UnpackLow16(height, shadow);
        V words1 = L::UnpackHigh16(height, shadow);
        V colors0 = EvenWords(b0, b1);
        V colors1 = EvenWords(b2, b3);
        Store(lowerRight, L::UnpackLow32(colors0, words0));
        Store(lowerRight + kStride, L::UnpackHigh32(colors0, words0));
        Store(lowerRight + 2 * kStride, L::UnpackLow32(colors1, words1));
        Store(lowerRight + 3 * kStride, L::UnpackHigh32(colors1, words1));
    }

    // Colour words lit: each channel c becomes keep x c / 255 (rounded as
    // BlendTable rounds) + add, the fourth byte 0. keep and add hold each
    // pixel's value twice.
    [[gnu::always_inline]] static V LightColors(V colors, V keep, V add)
    {
        const V zero = L::Zero();
        const V half = L::Set16(128);
        V low = L::UnpackLow8(colors, zero);
        V high = L::UnpackHigh8(colors, zero);
        low = L::Add(Divide255(L::Add(L::MulLow(low, L::UnpackLow32(keep, keep)), half)),
                     L::UnpackLow32(add, add));
        high = L::Add(Divide255(L::Add(L::MulLow(high, L::UnpackHigh32(keep, keep)), half)),
                      L::UnpackHigh32(add, add));
        return L::InOrder(L::And(L::PackUnsigned16(low, high), L::Set32(0x00FFFFFF)));
    }

    // The keep and add of lights w: below the flat light keep = 255 - (flat
    // - w) x 92 / 53; above it weight = BlendTable[(w - flat) x 255 / 39][153],
    // keep = 255 - weight, add = weight. (x / 53 and x / 39 by
    // multiplications exact here.)
    [[gnu::always_inline]] static void Weights(V lit, V& keep, V& weight)
    {
        const V flat = L::Set16(kFlatLight);
        V darker = L::SubSaturated(flat, lit);
        V lighter = L::SubSaturated(lit, flat);
        V darken = L::MulHigh(L::MulLow(darker, Factor(92)), L::Set16(1237));
        V f = L::Add(L::MulLow(lighter, Factor(6)),
                     L::MulHigh(L::MulLow(lighter, Factor(21)), L::Set16(1681)));
        weight = Divide255(L::Add(L::MulLow(f, Factor(153)), L::Set16(128)));
        keep = L::Sub(L::Sub(L::Set16(255), darken), weight);
    }

    // The colour words of kPixels pixels lit by their lights, dimmed by depth.
    [[gnu::always_inline]] static void Color(const KVXComponentPixel* row, const uint16_t* light, const uint16_t* depth,
                      uint32_t* out)
    {
        V lit = L::MaxSigned(L::SubSaturated(L::Load(light), L::Load(depth)),
                             L::Set16(kDarkestLight));
        V keep;
        V weight;
        if constexpr (L::kPermutesBytes) {
            // The lights from 163 up are within the table's last 128 entries.
            keep = L::LookUp128(lit, slope_detail::gKeep + 128);
            weight = L::LookUp128(lit, slope_detail::gAdd + 128);
        } else {
            Weights(lit, keep, weight);
        }
        V colors0 = EvenWords(Load(row), Load(row + kStride));
        V colors1 = EvenWords(Load(row + 2 * kStride), Load(row + 3 * kStride));
        L::Store(out, LightColors(colors0, L::UnpackLow16(keep, keep),
                                  L::UnpackLow16(weight, weight)));
        L::Store(out + kPixels / 2, LightColors(colors1, L::UnpackHigh16(keep, keep),
                                                L::UnpackHigh16(weight, weight)));
    }

    // The pixels from 0 a multiple of kPixels: in runs, four passes each of
    // short independent steps that overlap well (slopes and shadows, the
    // shadows cast on the next row, the lights from the table, colours).
    // kShadeAside reads the shadows falling in from incoming and casts the
    // fallen ones into cast + 1 (rows of their own) instead of the next row;
    // kShadeColors casts none. Returns how many it did.
    template <ShadePass Pass>
    static int32_t Row(KVXComponentPixel* row, KVXComponentPixel* below, int32_t count,
                       uint32_t* out, const KVXComponentPixel* incoming, KVXComponentPixel* cast)
    {
        const int32_t kRun = 256;
        uint16_t index[kRun];
        uint16_t depth[kRun];
        uint16_t fallen[kRun];
        uint16_t light[kRun];
        const uint8_t* table = slope_detail::gFoldedLight;
        KVXComponentPixel* lowerRight = Pass == kShadeAside ? cast + 1 : below + 1;
        int32_t x = 0;
        while (count - x >= kPixels) {
            int32_t n = std::min(kRun, (count - x) / kPixels * kPixels);
            for (int32_t i = 0; i < n; i += kPixels)
                Slope<Pass>(row + x + i, below + x + i, incoming + x + i, index + i, depth + i,
                            fallen + i);
            if constexpr (Pass != kShadeColors) {
                for (int32_t i = 0; i < n; i += kPixels)
                    FallShadows(lowerRight + x + i, fallen + i);
            }
            for (int32_t i = 0; i < n; ++i)
                light[i] = table[index[i]];
            for (int32_t i = 0; i < n; i += kPixels)
                Color(row + x + i, light + i, depth + i, out + x + i);
            x += n;
        }
        return x;
    }

    static int32_t Row(KVXComponentPixel* row, KVXComponentPixel* below, int32_t count,
                       uint32_t* out, ShadePass pass, const KVXComponentPixel* incoming,
                       KVXComponentPixel* cast)
    {
        switch (pass) {
        case kShadeAside:
            return Row<kShadeAside>(row, below, count, out, incoming, cast);
        case kShadeColors:
            return Row<kShadeColors>(row, below, count, out, incoming, cast);
        default:
            return Row<kShadeAll>(row, below, count, out, incoming, cast);
        }
    }
};
