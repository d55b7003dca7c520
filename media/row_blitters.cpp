#include "media/row_blitters.h"

#include <array>
#include <immintrin.h>
#include <utility>
#include "framework/color_table.h"
#include "framework/processor_features.h"
#include "framework/text.h"
#include "media/blit_request.h"

namespace {

// x / 255 for x <= 255 x 255, through the reciprocal 0x80808081 and a shift
// of 7 below the high word.
inline uint32_t DivideBy255(uint32_t x)
{
    return static_cast<uint32_t>((static_cast<uint64_t>(x) * 0x80808081u) >> 39);
}

constexpr int DestinationBytes(int kind)
{
    return kind == kPixelIndexed ? 1 : (kind == kPixelBGR || kind == kPixelRGB) ? 3 : 4;
}

constexpr bool SwapsRedAndBlue(int kind)
{
    return kind == kPixelRGBA || kind == kPixelRGB;
}

// Writes source pixel p (blue, green, red, a) to destination o under the
// transparency rule Tr.
template <int Tr, int Dst>
inline void PutPixel(const uint8_t* p, uint8_t* o)
{
    constexpr int blue = SwapsRedAndBlue(Dst) ? 2 : 0;
    constexpr int red = SwapsRedAndBlue(Dst) ? 0 : 2;
    constexpr bool hasByte3 = DestinationBytes(Dst) == 4;
    uint32_t a = p[3];
    if (Tr == kTransparencyOpaque || Tr == kTransparencyKeyed || a == 0) {
        if (Tr == kTransparencyKeyed && a == 255) {
            return;
        }
        if (Dst == kPixelBGRA) {
            o[0] = p[0];
            o[1] = p[1];
            o[2] = p[2];
            o[3] = p[3];
            return;
        }
        o[blue] = p[0];
        o[1] = p[1];
        o[red] = p[2];
        if (hasByte3) {
            o[3] = (Tr == kTransparencyOpaque || Tr == kTransparencyKeyed) ? p[3] : 0;
        }
        return;
    }
    if (a == 255) {
        return;
    }
    if (Tr == kTransparencyPremultiplied) {
        o[blue] = static_cast<uint8_t>(p[0] + DivideBy255(o[blue] * a));
        o[1] = static_cast<uint8_t>(p[1] + DivideBy255(o[1] * a));
        o[red] = static_cast<uint8_t>(p[2] + DivideBy255(o[red] * a));
    } else {
        uint32_t b = 255 - a;
        o[blue] = static_cast<uint8_t>(DivideBy255(p[0] * b + o[blue] * a));
        o[1] = static_cast<uint8_t>(DivideBy255(p[1] * b + o[1] * a));
        o[red] = static_cast<uint8_t>(DivideBy255(p[2] * b + o[red] * a));
    }
    if (hasByte3) {
        o[3] = 0;
    }
}

// The source pixel of destination column i.
template <int SourceBytes, int Step>
struct Stepper {
    const uint8_t* row;
    int32_t x;
    int32_t step;
    Stepper(const uint8_t* row, const MMBlitRequest& q)
        : row(row), x(q.sourceX & 0xFFFF), step(q.xStep) {}
    const uint8_t* Next()
    {
        const uint8_t* p = row;
        if (Step == kStepOne) {
            row += SourceBytes;
        } else if (Step == kStepMirrored) {
            row -= SourceBytes;
        } else {
            p = row + (x >> 16) * SourceBytes;
            x += step;
        }
        return p;
    }
};

template <int Tr, int Dst, int Step>
void Row32(const uint8_t* s, uint8_t* d, const MMBlitRequest& q)
{
    constexpr int out = DestinationBytes(Dst);
    Stepper<4, Step> source(s, q);
    for (int n = q.width; n > 0; --n, d += out) {
        PutPixel<Tr, Dst>(source.Next(), d);
    }
}

template <int Tr, int Dst, bool Map, int Step>
void Row8(const uint8_t* s, uint8_t* d, const MMBlitRequest& q)
{
    // A keyed 8-bit source clears index 0 only; the entry itself is copied.
    constexpr int entryRule = Tr == kTransparencyKeyed ? kTransparencyOpaque : Tr;
    constexpr int out = DestinationBytes(Dst);
    const RGBQUAD* table = q.colorTable->entries;
    const uint8_t* map = q.indexMap;
    Stepper<1, Step> source(s, q);
    for (int n = q.width; n > 0; --n, d += out) {
        uint8_t index = *source.Next();
        if (Tr == kTransparencyKeyed && index == 0) {
            continue;  // tested before the map
        }
        if (Map) {
            index = map[index];
        }
        PutPixel<entryRule, Dst>(reinterpret_cast<const uint8_t*>(&table[index]), d);
    }
}

// Where the processor has AVX2 (and the system saves its registers), eight
// pixels a step: the same lanes and formulas as the SSE2 rows below.
bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

template <int Tr>
__attribute__((target("avx2"))) inline __m256i MixAvx2(__m256i source, __m256i target, __m256i a)
{
    const __m256i reciprocal = _mm256_set1_epi16(static_cast<short>(0x8081));
    __m256i x;
    if (Tr == kTransparencyStraight) {
        x = _mm256_sub_epi16(_mm256_slli_epi16(source, 8), source);
        x = _mm256_add_epi16(x, _mm256_mullo_epi16(_mm256_sub_epi16(target, source), a));
        return _mm256_srli_epi16(_mm256_mulhi_epu16(x, reciprocal), 7);
    }
    x = _mm256_srli_epi16(_mm256_mulhi_epu16(_mm256_mullo_epi16(target, a), reciprocal), 7);
    return _mm256_and_si256(_mm256_add_epi16(x, source), _mm256_set1_epi16(0x00FF));
}

// Straight alpha, s x (255 - a) + d x a over 255, for eight pixels: each
// channel's pair (s - 128, d - 128) times the pair (255 - a, a) in one
// multiply-add of bytes (its sum lies within -32640..32385), plus 128 x 255.
// Byte 3 comes out mixed too; the caller clears it.
__attribute__((target("avx2"))) inline __m256i StraightAvx2(__m256i source, __m256i target)
{
    const __m256i signBits = _mm256_set1_epi8(static_cast<char>(0x80));
    // Pixel 0's alpha pair (bytes 6 and 7 of the unpacked pairs) for its four
    // channels, then pixel 1's (bytes 14 and 15).
    const __m256i alphaPairs = _mm256_setr_epi8(6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14,
                                                15, 6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15,
                                                14, 15);
    __m256i inverse = _mm256_xor_si256(source, _mm256_set1_epi8(static_cast<char>(0xFF)));
    __m256i lowWeights = _mm256_shuffle_epi8(_mm256_unpacklo_epi8(inverse, source), alphaPairs);
    __m256i highWeights = _mm256_shuffle_epi8(_mm256_unpackhi_epi8(inverse, source), alphaPairs);
    __m256i s = _mm256_xor_si256(source, signBits);
    __m256i t = _mm256_xor_si256(target, signBits);
    const __m256i offset = _mm256_set1_epi16(128 * 255);
    const __m256i reciprocal = _mm256_set1_epi16(static_cast<short>(0x8081));
    __m256i low = _mm256_add_epi16(_mm256_maddubs_epi16(lowWeights, _mm256_unpacklo_epi8(s, t)),
                                   offset);
    __m256i high = _mm256_add_epi16(_mm256_maddubs_epi16(highWeights, _mm256_unpackhi_epi8(s, t)),
                                    offset);
    low = _mm256_srli_epi16(_mm256_mulhi_epu16(low, reciprocal), 7);
    high = _mm256_srli_epi16(_mm256_mulhi_epu16(high, reciprocal), 7);
    return _mm256_packus_epi16(low, high);
}

// The pixels it did, a multiple of eight.
template <int Tr>
__attribute__((target("avx2"))) int AlphaPixelsAvx2(const uint8_t* s, uint8_t* d, int n)
{
    const __m256i clearAlpha = _mm256_set1_epi32(255);
    const __m256i lowBytes = _mm256_set1_epi16(0x00FF);
    const __m256i colourBytes = _mm256_set1_epi32(0x00FFFFFF);
    int done = 0;
    const __m256i alphaBytes = _mm256_set1_epi32(static_cast<int>(0xFF000000));
    for (; n - done >= 8; done += 8, s += 32, d += 32) {
        __m256i source = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
        if (_mm256_testz_si256(source, alphaBytes)) {  // every alpha 0
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), source);
            continue;
        }
        if (_mm256_testc_si256(source, alphaBytes)) {  // every alpha 255
            continue;
        }
        __m256i alpha = _mm256_srli_epi32(source, 24);
        __m256i clear = _mm256_cmpeq_epi32(alpha, clearAlpha);
        __m256i target = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d));
        __m256i result;
        if (Tr == kTransparencyStraight) {
            result = StraightAvx2(source, target);
        } else {
            __m256i a = _mm256_or_si256(alpha, _mm256_slli_epi32(alpha, 16));
            __m256i blueRed = MixAvx2<Tr>(_mm256_and_si256(source, lowBytes),
                                          _mm256_and_si256(target, lowBytes), a);
            __m256i greenByte3 =
                MixAvx2<Tr>(_mm256_srli_epi16(source, 8), _mm256_srli_epi16(target, 8), a);
            result = _mm256_or_si256(blueRed, _mm256_slli_epi16(greenByte3, 8));
        }
        result = _mm256_and_si256(result, colourBytes);
        result = _mm256_blendv_epi8(result, target, clear);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), result);
    }
    return done;
}

// The two alpha rules onto blue, green, red, byte 3 at 1:1, four pixels a
// step with SSE2 (which the whole program requires). Blue and red, and green
// and byte 3, are mixed as 16-bit lanes in place, without unpacking. They
// give exactly the bytes of PutPixel: x / 255 = (x x 0x8081) >> 23 for
// x <= 255 x 255.
template <int Tr>
void AlphaRowSse2(const uint8_t* s, uint8_t* d, const MMBlitRequest& q)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i clearAlpha = _mm_set1_epi32(255);
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    const __m128i colourBytes = _mm_set1_epi32(0x00FFFFFF);
    const __m128i reciprocal = _mm_set1_epi16(static_cast<short>(0x8081));
    auto divideBy255 = [&](__m128i x) { return _mm_srli_epi16(_mm_mulhi_epu16(x, reciprocal), 7); };
    // Straight: s x (255 - a) + d x a, as s x 255 + (d - s) x a, which is
    // exact modulo 2^16 and the true sum lies within 16 bits.
    auto mix = [&](__m128i source, __m128i target, __m128i a) {
        if (Tr == kTransparencyStraight) {
            __m128i x = _mm_sub_epi16(_mm_slli_epi16(source, 8), source);
            x = _mm_add_epi16(x, _mm_mullo_epi16(_mm_sub_epi16(target, source), a));
            return divideBy255(x);
        }
        // Premultiplied: s + d x a / 255, kept to 8 bits.
        __m128i x = divideBy255(_mm_mullo_epi16(target, a));
        return _mm_and_si128(_mm_add_epi16(x, source), lowBytes);
    };
    int n = q.width;
    if (n >= 8 && HasAvx2()) {
        int done = AlphaPixelsAvx2<Tr>(s, d, n);
        s += 4 * done;
        d += 4 * done;
        n -= done;
    }
    for (; n >= 4; n -= 4, s += 16, d += 16) {
        __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        __m128i alpha = _mm_srli_epi32(source, 24);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, zero)) == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d), source);
            continue;
        }
        __m128i clear = _mm_cmpeq_epi32(alpha, clearAlpha);
        if (_mm_movemask_epi8(clear) == 0xFFFF) {
            continue;
        }
        __m128i target = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
        __m128i a = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 16));
        __m128i blueRed = mix(_mm_and_si128(source, lowBytes), _mm_and_si128(target, lowBytes), a);
        __m128i greenByte3 = mix(_mm_srli_epi16(source, 8), _mm_srli_epi16(target, 8), a);
        __m128i result = _mm_or_si128(blueRed, _mm_slli_epi16(greenByte3, 8));
        result = _mm_and_si128(result, colourBytes);
        result = _mm_or_si128(_mm_and_si128(clear, target), _mm_andnot_si128(clear, result));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), result);
    }
    for (; n > 0; --n, s += 4, d += 4) {
        PutPixel<Tr, kPixelBGRA>(s, d);
    }
}

template <int Tr, bool Map, int Step>
void RowIndex(const uint8_t* s, uint8_t* d, const MMBlitRequest& q)
{
    const uint8_t* map = q.indexMap;
    Stepper<1, Step> source(s, q);
    for (int n = q.width; n > 0; --n, ++d) {
        uint8_t index = *source.Next();
        if (Tr == kTransparencyKeyed && index == 0) {
            continue;
        }
        *d = Map ? map[index] : index;
    }
}

void CopyLongs(const uint8_t* s, uint8_t* d, const MMBlitRequest& q)
{
    CopyBytes(d, s, q.width * 4);
}

void CopyIndexes(const uint8_t* s, uint8_t* d, const MMBlitRequest& q)
{
    CopyBytes(d, s, q.width);
}

void MmxCopyLongs(const uint8_t* s, uint8_t* d, const MMBlitRequest& q)
{
    CopyBytesInBlocks(d, s, q.width * 4);
}

void MmxCopyOpaqueLongs(const uint8_t* s, uint8_t* d, const MMBlitRequest& q)
{
    CopyOpaqueLongs(d, s, q.width);
}

void MmxCopyIndexes(const uint8_t* s, uint8_t* d, const MMBlitRequest& q)
{
    CopyBytesInBlocks(d, s, q.width);
}

void MmxCopyNonZeroIndexes(const uint8_t* s, uint8_t* d, const MMBlitRequest& q)
{
    CopyNonZeroBytes(d, s, q.width);
}

// Entry e of a table, decoded from its index formula.
template <size_t E>
constexpr MMRowRoutine Entry32()
{
    constexpr int step = E % 3;
    constexpr int tr = (E / 3) % 4;
    constexpr int dst = E / 12 + 1;
    if constexpr (step == kStepOne && tr == kTransparencyOpaque && dst == kPixelBGRA) {
        return CopyLongs;
    } else if constexpr (step == kStepOne && tr >= kTransparencyPremultiplied &&
                         dst == kPixelBGRA) {
        return AlphaRowSse2<tr>;
    } else {
        return Row32<tr, dst, step>;
    }
}

template <size_t E>
constexpr MMRowRoutine Entry8()
{
    constexpr int step = E % 3;
    constexpr int tr = (E / 3) % 4;
    constexpr bool map = (E / 12) % 2 != 0;
    constexpr int dst = E / 24 + 1;
    return Row8<tr, dst, map, step>;
}

template <size_t E>
constexpr MMRowRoutine EntryIndex()
{
    constexpr int step = E % 3;
    constexpr int tr = (E / 3) % 2;
    constexpr bool map = E / 6 != 0;
    if constexpr (step == kStepOne && tr == kTransparencyOpaque && !map) {
        return CopyIndexes;
    } else {
        return RowIndex<tr, map, step>;
    }
}

template <size_t... E>
constexpr std::array<MMRowRoutine, sizeof...(E)> Table32(std::index_sequence<E...>)
{
    return {Entry32<E>()...};
}
template <size_t... E>
constexpr std::array<MMRowRoutine, sizeof...(E)> Table8(std::index_sequence<E...>)
{
    return {Entry8<E>()...};
}
template <size_t... E>
constexpr std::array<MMRowRoutine, sizeof...(E)> TableIndex(std::index_sequence<E...>)
{
    return {EntryIndex<E>()...};
}

constexpr auto kPlain32 = Table32(std::make_index_sequence<48>());
constexpr auto kPlain8 = Table8(std::make_index_sequence<96>());
constexpr auto kPlainIndex = TableIndex(std::make_index_sequence<12>());

auto gTable32 = kPlain32;
auto gTable8 = kPlain8;
auto gTableIndex = kPlainIndex;
bool gMmxInUse = false;

// Step-kind-0 entries that MMX copies replace.
constexpr int kLongCopyEntry = ((kPixelBGRA - 1) * 4 + kTransparencyOpaque) * 3;
constexpr int kKeyedLongEntry = ((kPixelBGRA - 1) * 4 + kTransparencyKeyed) * 3;
constexpr int kIndexCopyEntry = kTransparencyOpaque * 3;
constexpr int kKeyedIndexEntry = kTransparencyKeyed * 3;

}  // namespace

int32_t MMStepKindOf(int32_t xStep)
{
    if (xStep == 0x10000) {
        return kStepOne;
    }
    return xStep == -0x10000 ? kStepMirrored : kStepScaled;
}

MMRowRoutine MMFindRowRoutine(int32_t sourceKind, int32_t transparencyKind,
                              int32_t destinationKind, bool hasIndexMap, int32_t stepKind)
{
    if (transparencyKind < kTransparencyOpaque || transparencyKind > kTransparencyStraight ||
        stepKind < kStepOne || stepKind > kStepScaled) {
        return nullptr;
    }
    int map = hasIndexMap ? 1 : 0;
    if (sourceKind == kPixelBGRA) {
        if (destinationKind < kPixelBGRA || destinationKind > kPixelRGB) {
            return nullptr;
        }
        return gTable32[((destinationKind - 1) * 4 + transparencyKind) * 3 + stepKind];
    }
    if (sourceKind != kPixelIndexed) {
        return nullptr;
    }
    if (destinationKind == kPixelIndexed) {
        if (transparencyKind > kTransparencyKeyed) {
            return nullptr;
        }
        return gTableIndex[(transparencyKind + 2 * map) * 3 + stepKind];
    }
    if (destinationKind < kPixelBGRA || destinationKind > kPixelRGB) {
        return nullptr;
    }
    return gTable8[((destinationKind - 1) * 8 + map * 4 + transparencyKind) * 3 + stepKind];
}

void SelectMmxSpanRoutines()
{
    DetectProcessorFeatures();
    if (!GetProcessorFeatures().hasMMX) {
        SelectPlainSpanRoutines();
        return;
    }
    gTable32[kLongCopyEntry] = MmxCopyLongs;
    gTable32[kKeyedLongEntry] = MmxCopyOpaqueLongs;
    gTableIndex[kIndexCopyEntry] = MmxCopyIndexes;
    gTableIndex[kKeyedIndexEntry] = MmxCopyNonZeroIndexes;
    gMmxInUse = true;
}

void SelectPlainSpanRoutines()
{
    gTable32 = kPlain32;
    gTable8 = kPlain8;
    gTableIndex = kPlainIndex;
    gMmxInUse = false;
}

bool MMXSpanRoutinesInUse()
{
    return gMmxInUse;
}
