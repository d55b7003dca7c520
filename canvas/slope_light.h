#pragma once
// Light of sloped paint, lit from (1, 1, 1): a byte from 163 (darkest) to
// 255 for the height differences to the right and lower neighbours, 216 for
// flat paint; and the colour change each light value makes.
#include <cstdint>

#include "canvas/blend.h"

constexpr int kDarkestLight = 163;
constexpr int kFlatLight = 216;

// Four quadrants of 128 x 128, one per pair of signs of the slope (dx >= 0
// and dy >= 0; dx >= 0 and dy < 0; dx < 0 and dy >= 0; both < 0), each
// indexed by |dx| x 128 + |dy|.
extern uint8_t SlopeLightTable[4][128 * 128];

// Builds the tables; a static object runs it before main.
void ShadingTableInit();

namespace slope_detail {
// The same light for dx and dy already clamped: [(dy + 127) x 256 + dx + 127].
extern uint8_t gLight[255 * 256];
// The light is the same with dx and dy swapped, so half the table holds it,
// small enough to stay in the processor's nearest cache: for a = dx + 127
// and b = dy + 127, entry FoldedLightIndex(a, b).
constexpr int32_t kFoldedLights = 255 * 256 / 2;
extern uint8_t gFoldedLight[kFoldedLights];
constexpr int32_t FoldedLightIndex(int32_t a, int32_t b)
{
    return a > b ? a * (a + 1) / 2 + b : b * (b + 1) / 2 + a;
}
// Channel c lit by w becomes gKeepRow[w][c] + gAdd[w].
extern const uint8_t* gKeepRow[256];
extern uint8_t gKeep[256];
extern uint8_t gAdd[256];
}  // namespace slope_detail

inline int ClampSlope(int d) { return d < -127 ? -127 : (d > 127 ? 127 : d); }

inline int LookupSlopeLight(int dx, int dy)
{
    return slope_detail::gLight[(ClampSlope(dy) + 127) * 256 + ClampSlope(dx) + 127];
}

// The 32-bit target word (blue, green, red, 0) for bgr lit by w: toward
// white above the flat light, darker below it, unchanged at it.
inline uint32_t LightColor(const uint8_t* bgr, int w)
{
    const uint8_t* keep = slope_detail::gKeepRow[w];
    uint32_t add = slope_detail::gAdd[w];
    return uint32_t(keep[bgr[0]] + add) | uint32_t(keep[bgr[1]] + add) << 8 |
           uint32_t(keep[bgr[2]] + add) << 16;
}
