#pragma once
// The frames of a stamp's animation script as still pictures, for drawing a
// page's stamps at one step of its animation (thumbnails, printing, the
// slideshow and its export). A frame begins at a frame row; its place row
// gives where the picture of its picture row stands, relative to the stamp.
#include <cstdint>

#include "engine/resource_collection.h"
#include "framework/geometry.h"

class MMRecordTable;

struct KVXStampFrame {
    Pair at = {0, 0};
    MMResourceId picture = -1;
};

int32_t CountStampFrames(const MMRecordTable& script);

// The frame shown at step: the frames repeat, step 0 being the first. False
// when the script has no frame or the frame sets no picture.
bool StampFrameAt(const MMRecordTable& script, int32_t step, KVXStampFrame* frame);

// Where a frame of the given picture size lands when the stamp's top-left is
// (0, 0) and its box is size wide and high: a mirrored stamp places its
// frames from the opposite edge.
Box StampFrameBox(const KVXStampFrame& frame, const Pair& pictureSize, const Pair& stampSize,
                  bool mirroredX, bool mirroredY);
