// The shading row loop with 512-bit lanes, for processors that have them
// with 16-bit operations and byte permutes (chosen at run time). Shuffles and packs work inside
// each 128-bit quarter, so pixels take the lanes in an order of their own and
// only the colour words are put back in order.
#include <immintrin.h>

#include "canvas/shading.h"

// Only what follows is compiled for 512-bit lanes, so no inline function of
// the headers above gets a copy the other processors cannot run.
#pragma GCC push_options
#pragma GCC target("avx512f,avx512bw,avx512vbmi")
// The 32-bit compiler warns that its own 512-bit shift intrinsics use an
// undefined vector, which they fill by design.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include "canvas/shade_lanes.h"

namespace {

struct Lanes512 {
    typedef __m512i V;
    static constexpr int32_t kPixels = 32;

    [[gnu::always_inline]] static V Load(const void* p) { return _mm512_loadu_si512(p); }
    [[gnu::always_inline]] static void Store(void* p, V v) { _mm512_storeu_si512(p, v); }
    // Only word 3 of each 8-byte pixel: the shadow.
    static constexpr bool kStoresShadowsAlone = true;
    [[gnu::always_inline]] static void StoreShadows(void* p, V v)
    {
        _mm512_mask_storeu_epi16(p, 0x88888888u, v);
    }
    // The same where they differ from the pixels' words in old.
    [[gnu::always_inline]] static void StoreChangedShadows(void* p, V v, V old)
    {
        _mm512_mask_storeu_epi16(p, _mm512_mask_cmpneq_epi16_mask(0x88888888u, v, old), v);
    }
    template <int a, int b, int c, int d>
    [[gnu::always_inline]] static V ShuffleWords(V x, V y)
    {
        return _mm512_castps_si512(_mm512_shuffle_ps(_mm512_castsi512_ps(x),
                                                     _mm512_castsi512_ps(y), _MM_SHUFFLE(a, b, c, d)));
    }
    // Byte i of each 16-bit lane of a from a 128-byte table, by the lane's
    // low seven bits.
    static constexpr bool kPermutesBytes = true;
    [[gnu::always_inline]] static V LookUp128(V a, const uint8_t* table)
    {
        V entries = _mm512_permutex2var_epi8(Load(table), a, Load(table + 64));
        return _mm512_and_si512(entries, _mm512_set1_epi16(0xFF));
    }
    [[gnu::always_inline]] static V Zero() { return _mm512_setzero_si512(); }
    [[gnu::always_inline]] static V Set16(int16_t v) { return _mm512_set1_epi16(v); }
    [[gnu::always_inline]] static V Set32(int32_t v) { return _mm512_set1_epi32(v); }
    [[gnu::always_inline]] static V ShiftLeft32(V v, int n) { return _mm512_slli_epi32(v, n); }
    [[gnu::always_inline]] static V ShiftRightSigned32(V v, int n) { return _mm512_srai_epi32(v, n); }
    [[gnu::always_inline]] static V ShiftRight16(V v, int n) { return _mm512_srli_epi16(v, n); }
    [[gnu::always_inline]] static V PackSigned32(V a, V b) { return _mm512_packs_epi32(a, b); }
    [[gnu::always_inline]] static V PackUnsigned16(V a, V b) { return _mm512_packus_epi16(a, b); }
    [[gnu::always_inline]] static V Add(V a, V b) { return _mm512_add_epi16(a, b); }
    [[gnu::always_inline]] static V Sub(V a, V b) { return _mm512_sub_epi16(a, b); }
    [[gnu::always_inline]] static V SubSaturated(V a, V b) { return _mm512_subs_epu16(a, b); }
    [[gnu::always_inline]] static V MaxSigned(V a, V b) { return _mm512_max_epi16(a, b); }
    [[gnu::always_inline]] static V MinSigned(V a, V b) { return _mm512_min_epi16(a, b); }
    [[gnu::always_inline]] static V MulLow(V a, V b) { return _mm512_mullo_epi16(a, b); }
    [[gnu::always_inline]] static V MulHigh(V a, V b) { return _mm512_mulhi_epu16(a, b); }
    [[gnu::always_inline]] static V And(V a, V b) { return _mm512_and_si512(a, b); }
    [[gnu::always_inline]] static V UnpackLow8(V a, V b) { return _mm512_unpacklo_epi8(a, b); }
    [[gnu::always_inline]] static V UnpackHigh8(V a, V b) { return _mm512_unpackhi_epi8(a, b); }
    [[gnu::always_inline]] static V UnpackLow16(V a, V b) { return _mm512_unpacklo_epi16(a, b); }
    [[gnu::always_inline]] static V UnpackHigh16(V a, V b) { return _mm512_unpackhi_epi16(a, b); }
    [[gnu::always_inline]] static V UnpackLow32(V a, V b) { return _mm512_unpacklo_epi32(a, b); }
    [[gnu::always_inline]] static V UnpackHigh32(V a, V b) { return _mm512_unpackhi_epi32(a, b); }
    // Pixel pairs 0 4 1 5 2 6 3 7 (two pairs to each 128-bit quarter) back in order.
    [[gnu::always_inline]] static V InOrder(V v)
    {
        return _mm512_permutexvar_epi64(_mm512_setr_epi64(0, 2, 4, 6, 1, 3, 5, 7), v);
    }
};

}  // namespace

int32_t ShadeRowWider(KVXComponentPixel* row, KVXComponentPixel* below, int32_t count,
                      uint32_t* out, ShadePass pass, const KVXComponentPixel* incoming,
                      KVXComponentPixel* cast)
{
    int32_t done = ShadeLanes<Lanes512>::Row(row, below, count, out, pass, incoming, cast);
    _mm256_zeroupper();
    return done;
}
#pragma GCC pop_options
