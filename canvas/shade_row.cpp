#include <emmintrin.h>

#include <algorithm>

#include "canvas/shading.h"

// Eight pixels at a time in 16-bit lanes. The light of a slope comes from the
// light table one pixel at a time; everything else is computed in the lanes
// and gives exactly the bytes of the table-driven step (ShadePixel).
static_assert(kFlatLight == 216 && kDarkestLight == 163,
              "the divisions below are exact for these lights only");

namespace {

#define SHADE_INLINE inline __attribute__((always_inline))

SHADE_INLINE __m128i CastFloats(__m128 v) { return _mm_castps_si128(v); }
SHADE_INLINE __m128 Floats(__m128i v) { return _mm_castsi128_ps(v); }

// Words 0 and 2 of a, then of b: the colour words of four pixels.
SHADE_INLINE __m128i EvenWords(__m128i a, __m128i b)
{
    return CastFloats(_mm_shuffle_ps(Floats(a), Floats(b), _MM_SHUFFLE(2, 0, 2, 0)));
}
// Words 1 and 3 of a, then of b: height in the low half, shadow in the high.
SHADE_INLINE __m128i OddWords(__m128i a, __m128i b)
{
    return CastFloats(_mm_shuffle_ps(Floats(a), Floats(b), _MM_SHUFFLE(3, 1, 3, 1)));
}
// The low (high) halves of the words of a and b as eight 16-bit lanes.
SHADE_INLINE __m128i LowHalves(__m128i a, __m128i b)
{
    return _mm_packs_epi32(_mm_srai_epi32(_mm_slli_epi32(a, 16), 16),
                           _mm_srai_epi32(_mm_slli_epi32(b, 16), 16));
}
SHADE_INLINE __m128i HighHalves(__m128i a, __m128i b)
{
    return _mm_packs_epi32(_mm_srai_epi32(a, 16), _mm_srai_epi32(b, 16));
}

// a - b of unsigned lanes, clamped to -127..127.
SHADE_INLINE __m128i ClampedDifference(__m128i a, __m128i b)
{
    const __m128i limit = _mm_set1_epi16(127);
    __m128i up = _mm_subs_epu16(a, b);
    __m128i down = _mm_subs_epu16(b, a);
    up = _mm_sub_epi16(up, _mm_subs_epu16(up, limit));
    down = _mm_sub_epi16(down, _mm_subs_epu16(down, limit));
    return _mm_sub_epi16(up, down);
}

// n / 255 of unsigned lanes: (n x 0x8081) >> 23.
SHADE_INLINE __m128i Divide255(__m128i n)
{
    return _mm_srli_epi16(_mm_mulhi_epu16(n, _mm_set1_epi16(int16_t(0x8081))), 7);
}

// Four colour words lit: each channel c becomes keep x c / 255 (rounded as
// BlendTable rounds) + add, the fourth byte 0. keep and add hold each
// pixel's value twice (k0 k0 k1 k1 k2 k2 k3 k3).
SHADE_INLINE __m128i LightFour(__m128i colors, __m128i keep, __m128i add)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi16(128);
    __m128i low = _mm_unpacklo_epi8(colors, zero);
    __m128i high = _mm_unpackhi_epi8(colors, zero);
    low = _mm_add_epi16(
        Divide255(_mm_add_epi16(_mm_mullo_epi16(low, _mm_unpacklo_epi32(keep, keep)), half)),
        _mm_unpacklo_epi32(add, add));
    high = _mm_add_epi16(
        Divide255(_mm_add_epi16(_mm_mullo_epi16(high, _mm_unpackhi_epi32(keep, keep)), half)),
        _mm_unpackhi_epi32(add, add));
    return _mm_and_si128(_mm_packus_epi16(low, high), _mm_set1_epi32(0x00FFFFFF));
}

// The slope part of eight pixels of row (below: the next row): the index of
// their light in the light table and the depth of the shadow they lie in;
// their own shadows and their lower-right neighbours' are written.
SHADE_INLINE void SlopeEight(KVXComponentPixel* row, KVXComponentPixel* below, uint16_t* index,
                             uint16_t* depth)
{
    __m128i* rowVectors = reinterpret_cast<__m128i*>(row);
    // below + 1: the lower-right neighbours, whose shadows are written.
    __m128i* belowVectors = reinterpret_cast<__m128i*>(below + 1);
    __m128i p0 = _mm_loadu_si128(rowVectors);
    __m128i p1 = _mm_loadu_si128(rowVectors + 1);
    __m128i p2 = _mm_loadu_si128(rowVectors + 2);
    __m128i p3 = _mm_loadu_si128(rowVectors + 3);
    __m128i b0 = _mm_loadu_si128(belowVectors);
    __m128i b1 = _mm_loadu_si128(belowVectors + 1);
    __m128i b2 = _mm_loadu_si128(belowVectors + 2);
    __m128i b3 = _mm_loadu_si128(belowVectors + 3);

    __m128i heightShadow0 = OddWords(p0, p1);
    __m128i heightShadow1 = OddWords(p2, p3);
    __m128i height = LowHalves(heightShadow0, heightShadow1);
    __m128i shadow = HighHalves(heightShadow0, heightShadow1);
    __m128i right = _mm_insert_epi16(_mm_srli_si128(height, 2), row[8].height, 7);
    __m128i belowRight = LowHalves(OddWords(b0, b1), OddWords(b2, b3));
    __m128i belowHeight = _mm_insert_epi16(_mm_slli_si128(belowRight, 2), below[0].height, 0);

    __m128i dx = ClampedDifference(right, height);
    __m128i dy = ClampedDifference(belowHeight, height);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(index),
                     _mm_add_epi16(_mm_add_epi16(_mm_slli_epi16(dy, 8), dx),
                                   _mm_set1_epi16(127 * 256 + 127)));
    // In a shadow the shadow is carried on and dims the light by its depth.
    __m128i inShadow = _mm_subs_epu16(shadow, height);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(depth), inShadow);
    __m128i carried = _mm_add_epi16(height, inShadow);
    __m128i fallen = _mm_subs_epu16(carried, _mm_set1_epi16(32));

    __m128i ownWords0 = _mm_unpacklo_epi16(height, carried);
    __m128i ownWords1 = _mm_unpackhi_epi16(height, carried);
    __m128i colors0 = EvenWords(p0, p1);
    __m128i colors1 = EvenWords(p2, p3);
    _mm_storeu_si128(rowVectors, _mm_unpacklo_epi32(colors0, ownWords0));
    _mm_storeu_si128(rowVectors + 1, _mm_unpackhi_epi32(colors0, ownWords0));
    _mm_storeu_si128(rowVectors + 2, _mm_unpacklo_epi32(colors1, ownWords1));
    _mm_storeu_si128(rowVectors + 3, _mm_unpackhi_epi32(colors1, ownWords1));
    __m128i belowWords0 = _mm_unpacklo_epi16(belowRight, fallen);
    __m128i belowWords1 = _mm_unpackhi_epi16(belowRight, fallen);
    __m128i belowColors0 = EvenWords(b0, b1);
    __m128i belowColors1 = EvenWords(b2, b3);
    _mm_storeu_si128(belowVectors, _mm_unpacklo_epi32(belowColors0, belowWords0));
    _mm_storeu_si128(belowVectors + 1, _mm_unpackhi_epi32(belowColors0, belowWords0));
    _mm_storeu_si128(belowVectors + 2, _mm_unpacklo_epi32(belowColors1, belowWords1));
    _mm_storeu_si128(belowVectors + 3, _mm_unpackhi_epi32(belowColors1, belowWords1));
}

// The colour words of eight pixels lit by their lights, dimmed by depth.
SHADE_INLINE void ColorEight(const KVXComponentPixel* row, const uint16_t* light,
                             const uint16_t* depth, uint32_t* out)
{
    const __m128i* rowVectors = reinterpret_cast<const __m128i*>(row);
    __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(light));
    __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(depth));
    __m128i lit = _mm_max_epi16(_mm_subs_epu16(w, d), _mm_set1_epi16(kDarkestLight));

    // Below the flat light: keep = 255 - (flat - w) x 92 / 53. Above it:
    // weight = BlendTable[(w - flat) x 255 / 39][153], keep = 255 - weight,
    // add = weight. (x / 53 and x / 39 by multiplications exact here.)
    const __m128i flat = _mm_set1_epi16(kFlatLight);
    __m128i darker = _mm_subs_epu16(flat, lit);
    __m128i lighter = _mm_subs_epu16(lit, flat);
    __m128i darken =
        _mm_mulhi_epu16(_mm_mullo_epi16(darker, _mm_set1_epi16(92)), _mm_set1_epi16(1237));
    __m128i f = _mm_add_epi16(
        _mm_mullo_epi16(lighter, _mm_set1_epi16(6)),
        _mm_mulhi_epu16(_mm_mullo_epi16(lighter, _mm_set1_epi16(21)), _mm_set1_epi16(1681)));
    __m128i weight =
        Divide255(_mm_add_epi16(_mm_mullo_epi16(f, _mm_set1_epi16(153)), _mm_set1_epi16(128)));
    __m128i keep = _mm_sub_epi16(_mm_sub_epi16(_mm_set1_epi16(255), darken), weight);

    __m128i colors0 = EvenWords(_mm_loadu_si128(rowVectors), _mm_loadu_si128(rowVectors + 1));
    __m128i colors1 = EvenWords(_mm_loadu_si128(rowVectors + 2), _mm_loadu_si128(rowVectors + 3));
    __m128i* outVectors = reinterpret_cast<__m128i*>(out);
    _mm_storeu_si128(outVectors, LightFour(colors0, _mm_unpacklo_epi16(keep, keep),
                                           _mm_unpacklo_epi16(weight, weight)));
    _mm_storeu_si128(outVectors + 1, LightFour(colors1, _mm_unpackhi_epi16(keep, keep),
                                               _mm_unpackhi_epi16(weight, weight)));
}

}  // namespace

int32_t ShadeRowWide(KVXComponentPixel* row, KVXComponentPixel* below, int32_t count,
                     uint32_t* out);

namespace {

bool HasWideLanes()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

bool gWide = HasWideLanes();

}  // namespace

bool UseWideShadeRows(bool on)
{
    gWide = on && HasWideLanes();
    return gWide;
}

// In three passes over runs of pixels, each made of short independent steps
// that overlap well: slopes and shadows, the lights from the table, colours.
// With 256-bit lanes most of a row goes sixteen pixels at a time.
void ShadeRow(KVXComponentPixel* row, KVXComponentPixel* below, int32_t count, uint32_t* out)
{
    const int32_t kRun = 256;
    alignas(16) uint16_t index[kRun];
    alignas(16) uint16_t depth[kRun];
    alignas(16) uint16_t light[kRun];
    const uint8_t* table = slope_detail::gLight;
    int32_t x = gWide ? ShadeRowWide(row, below, count, out) : 0;
    while (count - x >= 8) {
        int32_t n = std::min(kRun, (count - x) & ~7);
        for (int32_t i = 0; i < n; i += 8)
            SlopeEight(row + x + i, below + x + i, index + i, depth + i);
        for (int32_t i = 0; i < n; ++i)
            light[i] = table[index[i]];
        for (int32_t i = 0; i < n; i += 8)
            ColorEight(row + x + i, light + i, depth + i, out + x + i);
        x += n;
    }
    for (; x < count; ++x)
        out[x] = ShadePixel(row + x, below + x);
}

void DoubleWords(const uint32_t* words, int32_t count, uint32_t* out)
{
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(words + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i), _mm_unpacklo_epi32(v, v));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i + 4), _mm_unpackhi_epi32(v, v));
    }
    for (; i < count; ++i)
        out[2 * i] = out[2 * i + 1] = words[i];
}
