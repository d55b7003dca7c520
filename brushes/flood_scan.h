#pragma once
// The flood's pixel test eight pixels at a time: long stretches of a region
// pass it whole, and only the pixels where a stretch ends are tested one by
// one.
#include <emmintrin.h>

#include <cstdint>

#include "canvas/component_pixel.h"

class FloodBlockTest {
public:
    FloodBlockTest() = default;
    // The test of a fill from seed: with colorTest, plain and each of blue,
    // green and red within 32 of the seed's; otherwise plain and at most 32
    // above the seed's height.
    FloodBlockTest(const KVXComponentPixel& seed, bool colorTest);

    // Whether the eight pixels from row[x] and their marks all pass
    // (unmarked and meeting the test).
    bool Passes(const KVXComponentPixel* row, const uint8_t* marks, int32_t x) const
    {
        __m128i misses = _mm_or_si128(_mm_or_si128(Misses(row + x), Misses(row + x + 2)),
                                      _mm_or_si128(Misses(row + x + 4), Misses(row + x + 6)));
        misses = _mm_or_si128(misses,
                              _mm_loadl_epi64(reinterpret_cast<const __m128i*>(marks + x)));
        return _mm_movemask_epi8(_mm_cmpeq_epi8(misses, _mm_setzero_si128())) == 0xFFFF;
    }

    // Moves x by steps of eight toward end while the eight pixels ahead
    // (x to x + 7, or x - 7 to x going left) all pass; returns where it
    // stopped.
    int32_t SkipRight(const KVXComponentPixel* row, const uint8_t* marks, int32_t x,
                      int32_t end) const
    {
        while (x + 8 <= end && Passes(row, marks, x))
            x += 8;
        return x;
    }
    int32_t SkipLeft(const KVXComponentPixel* row, const uint8_t* marks, int32_t x,
                     int32_t end) const
    {
        while (x - 7 > end && Passes(row, marks, x - 7))
            x -= 8;
        return x;
    }

private:
    // Zero bytes for a pixel of two that passes.
    __m128i Misses(const KVXComponentPixel* p) const
    {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        if (!colorTest)
            return _mm_subs_epu16(v, limits);
        __m128i difference = _mm_or_si128(_mm_subs_epu8(v, seedBytes), _mm_subs_epu8(seedBytes, v));
        return _mm_subs_epu8(difference, limits);
    }

    bool colorTest = false;
    // Height test: per pixel the 16-bit words (any, type at most 0, height at
    // most the seed's + 32, any). Colour test: per pixel the bytes (32, 32,
    // 32, 0, any, any, any, any) the distances to seedBytes may reach.
    __m128i limits = _mm_setzero_si128();
    __m128i seedBytes = _mm_setzero_si128();
};

// Gives the taken pixels (mark 255) from x to end (exclusive) the colour
// word coat, eight at a time where eight in a row are taken; returns where
// it stopped (end, or the first pixel not taken).
int32_t CoatTakenRun(KVXComponentPixel* row, const uint8_t* marks, int32_t x, int32_t end,
                     uint32_t coat);
