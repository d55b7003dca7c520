#pragma once
// Scaling a placed stamp by its handle. The handle sits at the top-right
// corner of the stamp's box and the bottom-left corner stays put; the stamp
// keeps its aspect, never grows past its picture's natural size and never
// shrinks below a tenth of it nor below 25 pixels.
#include <cstdint>

#include "framework/geometry.h"

// The box the stamp takes when its handle is dragged to point. False when
// nothing is to change: the picture has no size, or the new corner would
// come within 10 pixels of the canvas's left or bottom edge.
bool ScaleStampBox(const Box& box, const Pair& natural, const Pair& point, const Box& canvas,
                   Box* result);

// The handle cannot be dragged left of the canvas's left edge + 10 nor below
// its bottom edge - 10.
Pair LimitScalePoint(const Pair& point, const Box& canvas);

// The row of the stamp's animation table for its displayed size: 10 at
// natural size, 1 from a fifth down to a tenth, 0 below.
int16_t SizeStepFor(const Pair& displayed, const Pair& natural);

// The pitch of the scale sound: 0x10000 at the start, falling as the corner
// moves from the pivot, kept within 4096 to 0x10000.
int32_t ScaleSoundFrequency(int32_t distance, int32_t startDistance);
