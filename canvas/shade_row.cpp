#include <emmintrin.h>

#include <algorithm>

#include "canvas/shading.h"
#include "canvas/shade_lanes.h"

namespace {

// 128-bit lanes: eight pixels a step, in their own order.
struct Lanes128 {
    typedef __m128i V;
    static constexpr int32_t kPixels = 8;

    static constexpr bool kStoresShadowsAlone = false;
    static constexpr bool kPermutesBytes = false;
    [[gnu::always_inline]] static V Load(const void* p)
    {
        return _mm_loadu_si128(static_cast<const __m128i*>(p));
    }
    [[gnu::always_inline]] static void Store(void* p, V v)
    {
        _mm_storeu_si128(static_cast<__m128i*>(p), v);
    }
    template <int a, int b, int c, int d>
    [[gnu::always_inline]] static V ShuffleWords(V x, V y)
    {
        return _mm_castps_si128(
            _mm_shuffle_ps(_mm_castsi128_ps(x), _mm_castsi128_ps(y), _MM_SHUFFLE(a, b, c, d)));
    }
    [[gnu::always_inline]] static V Zero() { return _mm_setzero_si128(); }
    [[gnu::always_inline]] static V Set16(int16_t v) { return _mm_set1_epi16(v); }
    [[gnu::always_inline]] static V Set32(int32_t v) { return _mm_set1_epi32(v); }
    [[gnu::always_inline]] static V ShiftLeft32(V v, int n) { return _mm_slli_epi32(v, n); }
    [[gnu::always_inline]] static V ShiftRightSigned32(V v, int n) { return _mm_srai_epi32(v, n); }
    [[gnu::always_inline]] static V ShiftLeft16(V v, int n) { return _mm_slli_epi16(v, n); }
    [[gnu::always_inline]] static V ShiftRight16(V v, int n) { return _mm_srli_epi16(v, n); }
    [[gnu::always_inline]] static V PackSigned32(V a, V b) { return _mm_packs_epi32(a, b); }
    [[gnu::always_inline]] static V PackUnsigned16(V a, V b) { return _mm_packus_epi16(a, b); }
    [[gnu::always_inline]] static V Add(V a, V b) { return _mm_add_epi16(a, b); }
    [[gnu::always_inline]] static V Sub(V a, V b) { return _mm_sub_epi16(a, b); }
    [[gnu::always_inline]] static V SubSaturated(V a, V b) { return _mm_subs_epu16(a, b); }
    [[gnu::always_inline]] static V MaxSigned(V a, V b) { return _mm_max_epi16(a, b); }
    [[gnu::always_inline]] static V MinSigned(V a, V b) { return _mm_min_epi16(a, b); }
    [[gnu::always_inline]] static V MulLow(V a, V b) { return _mm_mullo_epi16(a, b); }
    [[gnu::always_inline]] static V MulHigh(V a, V b) { return _mm_mulhi_epu16(a, b); }
    [[gnu::always_inline]] static V And(V a, V b) { return _mm_and_si128(a, b); }
    [[gnu::always_inline]] static V UnpackLow8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
    [[gnu::always_inline]] static V UnpackHigh8(V a, V b) { return _mm_unpackhi_epi8(a, b); }
    [[gnu::always_inline]] static V UnpackLow16(V a, V b) { return _mm_unpacklo_epi16(a, b); }
    [[gnu::always_inline]] static V UnpackHigh16(V a, V b) { return _mm_unpackhi_epi16(a, b); }
    [[gnu::always_inline]] static V UnpackLow32(V a, V b) { return _mm_unpacklo_epi32(a, b); }
    [[gnu::always_inline]] static V UnpackHigh32(V a, V b) { return _mm_unpackhi_epi32(a, b); }
    [[gnu::always_inline]] static V InOrder(V v) { return v; }
    [[gnu::always_inline]] static V Equal32(V a, V b) { return _mm_cmpeq_epi32(a, b); }
    [[gnu::always_inline]] static bool AllSet(V v) { return _mm_movemask_epi8(v) == 0xFFFF; }
};

}  // namespace

int32_t ShadeRowWide(KVXComponentPixel* row, KVXComponentPixel* below, int32_t count,
                     uint32_t* out, ShadePass pass, const KVXComponentPixel* incoming,
                     KVXComponentPixel* cast);
int32_t ShadeRowWider(KVXComponentPixel* row, KVXComponentPixel* below, int32_t count,
                      uint32_t* out, ShadePass pass, const KVXComponentPixel* incoming,
                      KVXComponentPixel* cast);

namespace {

int32_t WidestLanes()
{
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi"))
        return 512;
    return __builtin_cpu_supports("avx2") ? 256 : 128;
}

int32_t gLanes = WidestLanes();

}  // namespace

int32_t UseShadeLanes(int32_t bits)
{
    gLanes = std::min(bits, WidestLanes());
    return gLanes;
}

namespace {

// The colour of a pixel lit by its slope, dimmed by what the shadow carried
// over it has over its height.
uint32_t LitColor(const KVXComponentPixel* p, const KVXComponentPixel* below, int carried)
{
    int w = LookupSlopeLight(p[1].height - p->height, below->height - p->height);
    w = std::max(w - (carried - p->height), kDarkestLight);
    return LightColor(&p->blue, w);
}

// Most of a row goes in the widest lanes the processor has, the rest in
// narrower ones, the last few pixels one by one.
void RunShadePass(KVXComponentPixel* row, KVXComponentPixel* below, int32_t count, uint32_t* out,
                  ShadePass pass, const KVXComponentPixel* incoming, KVXComponentPixel* cast)
{
    int32_t x = gLanes >= 512 ? ShadeRowWider(row, below, count, out, pass, incoming, cast) : 0;
    if (gLanes >= 256)
        x += ShadeRowWide(row + x, below + x, count - x, out + x, pass, incoming + x, cast + x);
    x += ShadeLanes<Lanes128>::Row(row + x, below + x, count - x, out + x, pass, incoming + x,
                                   cast + x);
    for (; x < count; ++x) {
        KVXComponentPixel* p = row + x;
        if (pass == kShadeAll) {
            out[x] = ShadePixel(p, below + x);
        } else if (pass == kShadeAside) {
            uint16_t carried = std::max(p->height, incoming[x].shadow);
            out[x] = LitColor(p, below + x, carried);
            if (p->shadow != carried)
                p->shadow = carried;
            cast[x + 1].shadow = FallenShadow(carried);
        } else {
            out[x] = LitColor(p, below + x, p->shadow);
        }
    }
}

}  // namespace

void ShadeRow(KVXComponentPixel* row, KVXComponentPixel* below, int32_t count, uint32_t* out)
{
    RunShadePass(row, below, count, out, kShadeAll, row, below);
}

void ShadeRowAside(KVXComponentPixel* row, KVXComponentPixel* below, int32_t count, uint32_t* out,
                   const KVXComponentPixel* incoming, KVXComponentPixel* cast)
{
    RunShadePass(row, below, count, out, kShadeAside, incoming, cast);
}

void ShadeColors(KVXComponentPixel* row, KVXComponentPixel* below, int32_t count, uint32_t* out)
{
    RunShadePass(row, below, count, out, kShadeColors, row, below);
}

void DoubleWords(const uint32_t* words, int32_t count, uint32_t* out, uint32_t* out2)
{
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(words + i));
        __m128i low = _mm_unpacklo_epi32(v, v);
        __m128i high = _mm_unpackhi_epi32(v, v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i + 4), high);
        if (out2 != nullptr) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out2 + 2 * i), low);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out2 + 2 * i + 4), high);
        }
    }
    for (; i < count; ++i) {
        out[2 * i] = out[2 * i + 1] = words[i];
        if (out2 != nullptr)
            out2[2 * i] = out2[2 * i + 1] = words[i];
    }
}
