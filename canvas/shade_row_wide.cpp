// The row loop of the shading sixteen pixels at a time, for processors with
// 256-bit integer lanes (chosen at run time). The steps are those of the
// eight-pixel loop in shade_row.cpp; 256-bit shuffles and packs work inside
// each 128-bit half, so pixels take the lanes in the order 0 1 4 5 8 9 12 13
// | 2 3 6 7 10 11 14 15 throughout, and only the colour words are put back in
// order.
#pragma GCC target("avx2")
#include <immintrin.h>

#include <algorithm>

#include "canvas/shading.h"

namespace {

#define WIDE_INLINE inline __attribute__((always_inline))

WIDE_INLINE __m256i CastFloats(__m256 v) { return _mm256_castps_si256(v); }
WIDE_INLINE __m256 Floats(__m256i v) { return _mm256_castsi256_ps(v); }

WIDE_INLINE __m256i EvenWords(__m256i a, __m256i b)
{
    return CastFloats(_mm256_shuffle_ps(Floats(a), Floats(b), _MM_SHUFFLE(2, 0, 2, 0)));
}
WIDE_INLINE __m256i OddWords(__m256i a, __m256i b)
{
    return CastFloats(_mm256_shuffle_ps(Floats(a), Floats(b), _MM_SHUFFLE(3, 1, 3, 1)));
}
WIDE_INLINE __m256i LowHalves(__m256i a, __m256i b)
{
    return _mm256_packs_epi32(_mm256_srai_epi32(_mm256_slli_epi32(a, 16), 16),
                              _mm256_srai_epi32(_mm256_slli_epi32(b, 16), 16));
}
WIDE_INLINE __m256i HighHalves(__m256i a, __m256i b)
{
    return _mm256_packs_epi32(_mm256_srai_epi32(a, 16), _mm256_srai_epi32(b, 16));
}
WIDE_INLINE __m256i ClampedDifference(__m256i a, __m256i b)
{
    const __m256i limit = _mm256_set1_epi16(127);
    __m256i up = _mm256_subs_epu16(a, b);
    __m256i down = _mm256_subs_epu16(b, a);
    up = _mm256_sub_epi16(up, _mm256_subs_epu16(up, limit));
    down = _mm256_sub_epi16(down, _mm256_subs_epu16(down, limit));
    return _mm256_sub_epi16(up, down);
}
WIDE_INLINE __m256i Divide255(__m256i n)
{
    return _mm256_srli_epi16(_mm256_mulhi_epu16(n, _mm256_set1_epi16(int16_t(0x8081))), 7);
}
WIDE_INLINE __m256i LightEight(__m256i colors, __m256i keep, __m256i add)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i half = _mm256_set1_epi16(128);
    __m256i low = _mm256_unpacklo_epi8(colors, zero);
    __m256i high = _mm256_unpackhi_epi8(colors, zero);
    low = _mm256_add_epi16(Divide255(_mm256_add_epi16(
                               _mm256_mullo_epi16(low, _mm256_unpacklo_epi32(keep, keep)), half)),
                           _mm256_unpacklo_epi32(add, add));
    high = _mm256_add_epi16(Divide255(_mm256_add_epi16(
                                _mm256_mullo_epi16(high, _mm256_unpackhi_epi32(keep, keep)), half)),
                            _mm256_unpackhi_epi32(add, add));
    __m256i lit = _mm256_and_si256(_mm256_packus_epi16(low, high), _mm256_set1_epi32(0x00FFFFFF));
    // Pixels 0 1 4 5 | 2 3 6 7 back in order.
    return _mm256_permute4x64_epi64(lit, _MM_SHUFFLE(3, 1, 2, 0));
}

WIDE_INLINE __m256i Load(const KVXComponentPixel* p)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
WIDE_INLINE void Store(KVXComponentPixel* p, __m256i v)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// Heights of the sixteen pixels from p, in lane order.
WIDE_INLINE __m256i Heights(const KVXComponentPixel* p)
{
    return LowHalves(OddWords(Load(p), Load(p + 4)), OddWords(Load(p + 8), Load(p + 12)));
}

WIDE_INLINE void SlopeSixteen(KVXComponentPixel* row, KVXComponentPixel* below, uint16_t* index,
                              uint16_t* depth)
{
    __m256i p0 = Load(row);
    __m256i p1 = Load(row + 4);
    __m256i p2 = Load(row + 8);
    __m256i p3 = Load(row + 12);
    KVXComponentPixel* lowerRight = below + 1;
    __m256i b0 = Load(lowerRight);
    __m256i b1 = Load(lowerRight + 4);
    __m256i b2 = Load(lowerRight + 8);
    __m256i b3 = Load(lowerRight + 12);

    __m256i heightShadow0 = OddWords(p0, p1);
    __m256i heightShadow1 = OddWords(p2, p3);
    __m256i height = LowHalves(heightShadow0, heightShadow1);
    __m256i shadow = HighHalves(heightShadow0, heightShadow1);
    __m256i right = Heights(row + 1);
    __m256i belowRight = LowHalves(OddWords(b0, b1), OddWords(b2, b3));
    __m256i belowHeight = Heights(below);

    __m256i dx = ClampedDifference(right, height);
    __m256i dy = ClampedDifference(belowHeight, height);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(index),
                       _mm256_add_epi16(_mm256_add_epi16(_mm256_slli_epi16(dy, 8), dx),
                                        _mm256_set1_epi16(127 * 256 + 127)));
    __m256i inShadow = _mm256_subs_epu16(shadow, height);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(depth), inShadow);
    __m256i carried = _mm256_add_epi16(height, inShadow);
    __m256i fallen = _mm256_subs_epu16(carried, _mm256_set1_epi16(32));

    __m256i ownWords0 = _mm256_unpacklo_epi16(height, carried);
    __m256i ownWords1 = _mm256_unpackhi_epi16(height, carried);
    __m256i colors0 = EvenWords(p0, p1);
    __m256i colors1 = EvenWords(p2, p3);
    Store(row, _mm256_unpacklo_epi32(colors0, ownWords0));
    Store(row + 4, _mm256_unpackhi_epi32(colors0, ownWords0));
    Store(row + 8, _mm256_unpacklo_epi32(colors1, ownWords1));
    Store(row + 12, _mm256_unpackhi_epi32(colors1, ownWords1));
    __m256i belowWords0 = _mm256_unpacklo_epi16(belowRight, fallen);
    __m256i belowWords1 = _mm256_unpackhi_epi16(belowRight, fallen);
    __m256i belowColors0 = EvenWords(b0, b1);
    __m256i belowColors1 = EvenWords(b2, b3);
    Store(lowerRight, _mm256_unpacklo_epi32(belowColors0, belowWords0));
    Store(lowerRight + 4, _mm256_unpackhi_epi32(belowColors0, belowWords0));
    Store(lowerRight + 8, _mm256_unpacklo_epi32(belowColors1, belowWords1));
    Store(lowerRight + 12, _mm256_unpackhi_epi32(belowColors1, belowWords1));
}

WIDE_INLINE void ColorSixteen(const KVXComponentPixel* row, const uint16_t* light,
                              const uint16_t* depth, uint32_t* out)
{
    __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(light));
    __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(depth));
    __m256i lit = _mm256_max_epi16(_mm256_subs_epu16(w, d), _mm256_set1_epi16(kDarkestLight));
    const __m256i flat = _mm256_set1_epi16(kFlatLight);
    __m256i darker = _mm256_subs_epu16(flat, lit);
    __m256i lighter = _mm256_subs_epu16(lit, flat);
    __m256i darken = _mm256_mulhi_epu16(_mm256_mullo_epi16(darker, _mm256_set1_epi16(92)),
                                        _mm256_set1_epi16(1237));
    __m256i f = _mm256_add_epi16(
        _mm256_mullo_epi16(lighter, _mm256_set1_epi16(6)),
        _mm256_mulhi_epu16(_mm256_mullo_epi16(lighter, _mm256_set1_epi16(21)),
                           _mm256_set1_epi16(1681)));
    __m256i weight = Divide255(
        _mm256_add_epi16(_mm256_mullo_epi16(f, _mm256_set1_epi16(153)), _mm256_set1_epi16(128)));
    __m256i keep = _mm256_sub_epi16(_mm256_sub_epi16(_mm256_set1_epi16(255), darken), weight);

    __m256i colors0 = EvenWords(Load(row), Load(row + 4));
    __m256i colors1 = EvenWords(Load(row + 8), Load(row + 12));
    __m256i* outVectors = reinterpret_cast<__m256i*>(out);
    _mm256_storeu_si256(outVectors, LightEight(colors0, _mm256_unpacklo_epi16(keep, keep),
                                               _mm256_unpacklo_epi16(weight, weight)));
    _mm256_storeu_si256(outVectors + 1, LightEight(colors1, _mm256_unpackhi_epi16(keep, keep),
                                                   _mm256_unpackhi_epi16(weight, weight)));
}

}  // namespace

int32_t ShadeRowWide(KVXComponentPixel* row, KVXComponentPixel* below, int32_t count,
                     uint32_t* out)
{
    const int32_t kRun = 256;
    uint16_t index[kRun];
    uint16_t depth[kRun];
    uint16_t light[kRun];
    const uint8_t* table = slope_detail::gLight;
    int32_t x = 0;
    while (count - x >= 16) {
        int32_t n = std::min(kRun, (count - x) & ~15);
        for (int32_t i = 0; i < n; i += 16)
            SlopeSixteen(row + x + i, below + x + i, index + i, depth + i);
        for (int32_t i = 0; i < n; ++i)
            light[i] = table[index[i]];
        for (int32_t i = 0; i < n; i += 16)
            ColorSixteen(row + x + i, light + i, depth + i, out + x + i);
        x += n;
    }
    _mm256_zeroupper();
    return x;
}
