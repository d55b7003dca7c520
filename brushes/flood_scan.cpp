#include "brushes/flood_scan.h"

#include <cstring>

FloodBlockTest::FloodBlockTest(const KVXComponentPixel& seed, bool colorTest)
    : colorTest(colorTest)
{
    if (colorTest) {
        const char any = char(255);
        limits = _mm_setr_epi8(32, 32, 32, 0, any, any, any, any, 32, 32, 32, 0, any, any, any, any);
        seedBytes = _mm_setr_epi8(char(seed.blue), char(seed.green), char(seed.red), 0, 0, 0, 0, 0,
                                  char(seed.blue), char(seed.green), char(seed.red), 0, 0, 0, 0, 0);
    } else {
        int32_t highest = seed.height + 32 > 65535 ? 65535 : seed.height + 32;
        const short any = short(0xFFFF);
        limits = _mm_setr_epi16(any, 0x00FF, short(highest), any, any, 0x00FF, short(highest), any);
    }
}

int32_t CoatTakenRun(KVXComponentPixel* row, const uint8_t* marks, int32_t x, int32_t end,
                     uint32_t coat)
{
    const __m128i heights = _mm_set_epi32(-1, 0, -1, 0);
    const __m128i colors = _mm_set_epi32(0, int32_t(coat), 0, int32_t(coat));
    for (; x + 8 <= end; x += 8) {
        uint64_t m;
        std::memcpy(&m, marks + x, 8);
        if (m != ~uint64_t(0))
            break;
        for (int32_t i = 0; i < 8; i += 2) {
            __m128i* p = reinterpret_cast<__m128i*>(row + x + i);
            _mm_storeu_si128(p, _mm_or_si128(_mm_and_si128(_mm_loadu_si128(p), heights), colors));
        }
    }
    return x;
}
