#pragma once
// One stamp of a page as the sketchbook stores it: 37 bytes, little-endian,
// kind -1 for an empty place.
#include <cstdint>

#include "framework/geometry.h"

class FSReader;
class FSWriter;

enum KVXStampKind : int32_t {
    kStampNone = -1,
    kStampBackground = 0,
    kStampMidground = 1,
    kStampForeground = 2,
    kStampCharacter = 3,
    kStampProp = 4,
};

constexpr int32_t kStampRecordSize = 37;
constexpr int16_t kLargestSizeStep = 10;

struct KVXStampRecord {
    int32_t kind = kStampNone;
    int16_t genre = 0;
    int16_t depth = 1;
    int32_t bwPicture = -1;
    int32_t colourPicture = 1;
    int32_t animationTable = -1;
    int16_t sizeStep = 0;
    // Stored as single bytes; anything but 0 or 1 marks a damaged record.
    uint8_t mirroredX = 0;
    uint8_t mirroredY = 0;
    uint8_t animated = 0;
    Box bounds = {0, 0, 0, 0};
    Pair size = {0, 0};

    bool IsEmpty() const { return kind == kStampNone; }
    bool operator==(const KVXStampRecord& other) const;
};

bool WriteStampRecord(FSWriter& writer, const KVXStampRecord& record);
bool ReadStampRecord(FSReader& reader, KVXStampRecord* record);

// Whether a filled record may stand at a place of the block: places 0, 1 and
// 2 hold the background, midground and foreground, the rest characters and
// props. Its flags must be 0 or 1, its size step 0 to 10, its size positive.
bool StampRecordFitsPlace(const KVXStampRecord& record, int32_t place);
