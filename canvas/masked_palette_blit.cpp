#include "canvas/masked_palette_blit.h"

#include <immintrin.h>

#include <algorithm>
#include <cstring>

#include "canvas/blend.h"
#include "media/surface.h"

MaskedPaletteBlitRecord::MaskedPaletteBlitRecord()
    : mirrorX(false), mirrorY(false), source{0, 0, 0, 0}, destination{0, 0, 0, 0}, stepX(0),
      stepY(0)
{
}

namespace {

// The source rectangle for the clipped destination.
void ComputeSource(MaskedPaletteBlitRecord& r, const Box& box)
{
    const Box& p = r.picture.box;
    const Box& d = r.destination;
    if (p.Width() == box.Width() && p.Height() == box.Height()) {
        r.source = {p.left + d.left - box.left, p.top + d.top - box.top,
                    p.left + d.right - box.left, p.top + d.bottom - box.top};
    } else {
        double l = std::min(double(p.Width()) / box.Width(), double(p.Height()) / box.Height());
        r.source.left = p.left + int16_t(int32_t(l * (d.left - box.left)));
        r.source.top = p.top + int16_t(int32_t(l * (d.top - box.top)));
        r.source.right = r.source.left + int16_t(int32_t(l * d.Width()));
        r.source.bottom = r.source.top + int16_t(int32_t(l * d.Height()));
        if (r.source.right == r.source.left) {
            if (r.source.right < p.right)
                ++r.source.right;
            else
                --r.source.left;
        }
        if (r.source.bottom == r.source.top) {
            if (r.source.bottom < p.bottom)
                ++r.source.bottom;
            else
                --r.source.top;
        }
    }
    if (r.mirrorX) {
        int32_t left = p.left + p.right - r.source.right;
        r.source.right = p.left + p.right - r.source.left;
        r.source.left = left;
    }
    if (r.mirrorY) {
        int32_t top = p.top + p.bottom - r.source.bottom;
        r.source.bottom = p.top + p.bottom - r.source.top;
        r.source.top = top;
    }
}

void Mix(uint8_t* d, const RGBQUAD& e, uint8_t m)
{
    const uint8_t* keep = BlendTable[m];
    const uint8_t* take = BlendTable[255 - m];
    d[0] = uint8_t(take[e.rgbBlue] + keep[d[0]]);
    d[1] = uint8_t(take[e.rgbGreen] + keep[d[1]]);
    d[2] = uint8_t(take[e.rgbRed] + keep[d[2]]);
    d[3] = 0;
}

// n / 255 of unsigned 16-bit lanes up to 65535, exactly: (n x 0x8081) >> 23.
inline __m128i Divide255(__m128i n)
{
    return _mm_srli_epi16(_mm_mulhi_epu16(n, _mm_set1_epi16(int16_t(0x8081))), 7);
}

// Two pixels in 16-bit lanes: take x e + keep x d, each rounded as
// BlendTable rounds.
inline __m128i MixLanes(__m128i e, __m128i d, __m128i keep)
{
    const __m128i half = _mm_set1_epi16(128);
    __m128i take = _mm_sub_epi16(_mm_set1_epi16(255), keep);
    return _mm_add_epi16(Divide255(_mm_add_epi16(_mm_mullo_epi16(e, take), half)),
                         Divide255(_mm_add_epi16(_mm_mullo_epi16(d, keep), half)));
}

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

__attribute__((target("avx2"))) inline __m256i Divide255Avx2(__m256i n)
{
    return _mm256_srli_epi16(_mm256_mulhi_epu16(n, _mm256_set1_epi16(int16_t(0x8081))), 7);
}

__attribute__((target("avx2"))) inline __m256i MixLanesAvx2(__m256i e, __m256i d, __m256i keep)
{
    const __m256i half = _mm256_set1_epi16(128);
    __m256i take = _mm256_sub_epi16(_mm256_set1_epi16(255), keep);
    return _mm256_add_epi16(Divide255Avx2(_mm256_add_epi16(_mm256_mullo_epi16(e, take), half)),
                            Divide255Avx2(_mm256_add_epi16(_mm256_mullo_epi16(d, keep), half)));
}

// MixRow's lanes eight pixels a step where the processor has 256-bit lanes;
// returns how many pixels it did.
__attribute__((target("avx2"))) int32_t MixRowAvx2(uint8_t* row, const uint8_t* picture,
                                                   const uint8_t* mask, int32_t width,
                                                   const RGBQUAD* entries)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i colourBytes = _mm256_set1_epi32(0x00FFFFFF);
    int32_t j = 0;
    for (; j + 8 <= width; j += 8) {
        uint32_t e[8];
        for (int i = 0; i < 8; ++i)
            std::memcpy(&e[i], &entries[picture[j + i]], 4);
        __m256i colours = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(e));
        __m256i under = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + 4 * j));
        __m128i m = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(mask + j));
        m = _mm_unpacklo_epi8(m, m);
        // Each mask byte four times, pixels 0 to 3 in the low half.
        __m256i keep = _mm256_set_m128i(_mm_unpackhi_epi16(m, m), _mm_unpacklo_epi16(m, m));
        __m256i low = MixLanesAvx2(_mm256_unpacklo_epi8(colours, zero),
                                   _mm256_unpacklo_epi8(under, zero),
                                   _mm256_unpacklo_epi8(keep, zero));
        __m256i high = MixLanesAvx2(_mm256_unpackhi_epi8(colours, zero),
                                    _mm256_unpackhi_epi8(under, zero),
                                    _mm256_unpackhi_epi8(keep, zero));
        __m256i mixed = _mm256_and_si256(_mm256_packus_epi16(low, high), colourBytes);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + 4 * j), mixed);
    }
    _mm256_zeroupper();
    return j;
}

// One unscaled, unmirrored row: eight or four pixels a step, the bytes of Mix.
void MixRow(uint8_t* row, const uint8_t* picture, const uint8_t* mask, int32_t width,
            const RGBQUAD* entries)
{
    const __m128i zero = _mm_setzero_si128();
    int32_t j = width >= 8 && HasAvx2() ? MixRowAvx2(row, picture, mask, width, entries) : 0;
    for (; j + 4 <= width; j += 4) {
        uint32_t e[4];
        for (int i = 0; i < 4; ++i)
            std::memcpy(&e[i], &entries[picture[j + i]], 4);
        uint32_t m;
        std::memcpy(&m, mask + j, 4);
        __m128i colours = _mm_set_epi32(int32_t(e[3]), int32_t(e[2]), int32_t(e[1]), int32_t(e[0]));
        __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 4 * j));
        __m128i keep = _mm_cvtsi32_si128(int32_t(m));
        keep = _mm_unpacklo_epi8(keep, keep);
        keep = _mm_unpacklo_epi16(keep, keep);  // each mask byte four times
        __m128i low = MixLanes(_mm_unpacklo_epi8(colours, zero), _mm_unpacklo_epi8(under, zero),
                               _mm_unpacklo_epi8(keep, zero));
        __m128i high = MixLanes(_mm_unpackhi_epi8(colours, zero), _mm_unpackhi_epi8(under, zero),
                                _mm_unpackhi_epi8(keep, zero));
        __m128i mixed = _mm_and_si128(_mm_packus_epi16(low, high), _mm_set1_epi32(0x00FFFFFF));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + 4 * j), mixed);
    }
    for (; j < width; ++j)
        Mix(row + j * 4, entries[picture[j]], mask[j]);
}

// Destination row k, pixel j read source (sx(j), sy(k)); mirroring fills
// the destination backwards while the source is walked forwards.
void Draw(const MaskedPaletteBlitRecord& r, const MMBitmap& target, bool scaled)
{
    const Box& d = r.destination;
    int32_t width = d.Width();
    int32_t height = d.Height();
    if (!scaled && !r.mirrorX && !r.mirrorY) {
        int32_t column = r.source.left - r.picture.box.left;
        for (int32_t k = 0; k < height; ++k) {
            int32_t sy = r.source.top + k;
            MixRow(target.PixelAddress(d.left, d.top + k),
                   r.picture.PixelAddress(r.picture.box.left, sy) + column,
                   r.mask.PixelAddress(r.picture.box.left, sy) + column, width, r.colours.entries);
        }
        return;
    }
    for (int32_t k = 0; k < height; ++k) {
        int32_t sy = scaled ? int32_t((int64_t(r.source.top) * 65536 + int64_t(k) * r.stepY) >> 16)
                            : r.source.top + k;
        int32_t dy = r.mirrorY ? d.bottom - 1 - k : d.top + k;
        const uint8_t* picture = r.picture.PixelAddress(r.picture.box.left, sy);
        const uint8_t* mask = r.mask.PixelAddress(r.picture.box.left, sy);
        uint8_t* row = target.PixelAddress(d.left, dy);
        for (int32_t j = 0; j < width; ++j) {
            int32_t sx = scaled
                             ? int32_t((int64_t(r.source.left) * 65536 + int64_t(j) * r.stepX) >> 16)
                             : r.source.left + j;
            int32_t column = sx - r.picture.box.left;
            int32_t dx = r.mirrorX ? width - 1 - j : j;
            Mix(row + dx * 4, r.colours.entries[picture[column]], mask[column]);
        }
    }
}

}  // namespace

bool MaskedPaletteBlit(MaskedPaletteBlitRecord& record, MMSurface* surface, const Box& box)
{
    surface->Lock();
    MMBitmap target;
    if (surface->GetBitmap(target) && target.bitsPerPixel == 32 && record.picture.pixels &&
        record.mask.pixels && !box.IsEmpty()) {
        record.destination = box;
        record.destination.Intersect(target.box);
        if (!record.destination.IsEmpty()) {
            ComputeSource(record, box);
            bool scaled = record.picture.box.Width() != box.Width() ||
                          record.picture.box.Height() != box.Height();
            if (scaled) {
                record.stepX = int32_t(int64_t(record.source.Width()) * 65536 /
                                       record.destination.Width());
                record.stepY = int32_t(int64_t(record.source.Height()) * 65536 /
                                       record.destination.Height());
            }
            Draw(record, target, scaled);
        }
    }
    surface->Unlock();
    return true;
}
