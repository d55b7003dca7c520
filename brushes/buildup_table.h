#pragma once
// The buildup (ink) factors: BuildupTable[c][w] is the 16-bit fraction by
// which a channel keeps its value under paint of channel value c laid at
// opacity w. White paint keeps everything; darker paint keeps less, the
// more the higher the opacity.
#include <cstdint>

struct KVXBuildupTable {
    uint16_t entry[256][256];
    const uint16_t* operator[](unsigned c) const { return entry[c]; }
};
extern const KVXBuildupTable& BuildupTable;
