// The shading row loop with 256-bit lanes, for processors that have them
// (chosen at run time). 256-bit shuffles and packs work inside each 128-bit
// half, so pixels take the lanes in the order 0 1 4 5 8 9 12 13 | 2 3 6 7 10
// 11 14 15 throughout, and only the colour words are put back in order.
#include <immintrin.h>

#include "canvas/shading.h"

// Only what follows is compiled for 256-bit lanes, so no inline function of
// the headers above gets a copy the other processors cannot run.
#pragma GCC push_options
#pragma GCC target("avx2")
#include "canvas/shade_lanes.h"

namespace {

struct Lanes256 {
    typedef __m256i V;
    static constexpr int32_t kPixels = 16;

    static constexpr bool kStoresShadowsAlone = false;
    static constexpr bool kPermutesBytes = false;
    [[gnu::always_inline]] static V Load(const void* p)
    {
        return _mm256_loadu_si256(static_cast<const __m256i*>(p));
    }
    [[gnu::always_inline]] static void Store(void* p, V v)
    {
        _mm256_storeu_si256(static_cast<__m256i*>(p), v);
    }
    template <int a, int b, int c, int d>
    [[gnu::always_inline]] static V ShuffleWords(V x, V y)
    {
        return _mm256_castps_si256(_mm256_shuffle_ps(_mm256_castsi256_ps(x),
                                                     _mm256_castsi256_ps(y), _MM_SHUFFLE(a, b, c, d)));
    }
    [[gnu::always_inline]] static V Zero() { return _mm256_setzero_si256(); }
    [[gnu::always_inline]] static V Set16(int16_t v) { return _mm256_set1_epi16(v); }
    [[gnu::always_inline]] static V Set32(int32_t v) { return _mm256_set1_epi32(v); }
    [[gnu::always_inline]] static V ShiftLeft32(V v, int n) { return _mm256_slli_epi32(v, n); }
    [[gnu::always_inline]] static V ShiftRightSigned32(V v, int n) { return _mm256_srai_epi32(v, n); }
    [[gnu::always_inline]] static V ShiftLeft16(V v, int n) { return _mm256_slli_epi16(v, n); }
    [[gnu::always_inline]] static V ShiftRight16(V v, int n) { return _mm256_srli_epi16(v, n); }
    [[gnu::always_inline]] static V PackSigned32(V a, V b) { return _mm256_packs_epi32(a, b); }
    [[gnu::always_inline]] static V PackUnsigned16(V a, V b) { return _mm256_packus_epi16(a, b); }
    [[gnu::always_inline]] static V Add(V a, V b) { return _mm256_add_epi16(a, b); }
    [[gnu::always_inline]] static V Sub(V a, V b) { return _mm256_sub_epi16(a, b); }
    [[gnu::always_inline]] static V SubSaturated(V a, V b) { return _mm256_subs_epu16(a, b); }
    [[gnu::always_inline]] static V MaxSigned(V a, V b) { return _mm256_max_epi16(a, b); }
    [[gnu::always_inline]] static V MinSigned(V a, V b) { return _mm256_min_epi16(a, b); }
    [[gnu::always_inline]] static V MulLow(V a, V b) { return _mm256_mullo_epi16(a, b); }
    [[gnu::always_inline]] static V MulHigh(V a, V b) { return _mm256_mulhi_epu16(a, b); }
    [[gnu::always_inline]] static V And(V a, V b) { return _mm256_and_si256(a, b); }
    [[gnu::always_inline]] static V UnpackLow8(V a, V b) { return _mm256_unpacklo_epi8(a, b); }
    [[gnu::always_inline]] static V UnpackHigh8(V a, V b) { return _mm256_unpackhi_epi8(a, b); }
    [[gnu::always_inline]] static V UnpackLow16(V a, V b) { return _mm256_unpacklo_epi16(a, b); }
    [[gnu::always_inline]] static V UnpackHigh16(V a, V b) { return _mm256_unpackhi_epi16(a, b); }
    [[gnu::always_inline]] static V UnpackLow32(V a, V b) { return _mm256_unpacklo_epi32(a, b); }
    [[gnu::always_inline]] static V UnpackHigh32(V a, V b) { return _mm256_unpackhi_epi32(a, b); }
    [[gnu::always_inline]] static V Equal32(V a, V b) { return _mm256_cmpeq_epi32(a, b); }
    [[gnu::always_inline]] static bool AllSet(V v) { return _mm256_movemask_epi8(v) == -1; }
    // Pixels 0 1 4 5 | 2 3 6 7 back in order.
    [[gnu::always_inline]] static V InOrder(V v)
    {
        return _mm256_permute4x64_epi64(v, _MM_SHUFFLE(3, 1, 2, 0));
    }
};

}  // namespace

int32_t ShadeRowWide(KVXComponentPixel* row, KVXComponentPixel* below, int32_t count,
                     uint32_t* out, ShadePass pass, const KVXComponentPixel* incoming,
                     KVXComponentPixel* cast)
{
    int32_t done = ShadeLanes<Lanes256>::Row(row, below, count, out, pass, incoming, cast);
    _mm256_zeroupper();
    return done;
}
#pragma GCC pop_options
