#pragma once
// The pitch of the scale sound: remembered at the start of a scale from the
// stamp's natural top-right corner, then falling as the stamp's top-right
// corner moves away from it.
#include <cstdint>

#include "framework/geometry.h"

class KVXScaleSoundPitch {
public:
    // The pivot is the natural top-right corner of a stamp at position.
    void Start(const Pair& position, int32_t naturalWidth);
    int32_t FrequencyFor(const Box& stampBox) const;

    Pair Pivot() const { return pivot; }
    int32_t StartDistance() const { return startDistance; }

private:
    Pair pivot = {0, 0};
    int32_t startDistance = 0;
};
