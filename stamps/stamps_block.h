#pragma once
// The stamps block of a sketchbook page: always 676 bytes, little-endian.
//   int16 count (filled places, 0 to 18), four int16 of scene data (the
//   radio's), then 18 records: background, midground, foreground, and the
//   15 places of the characters and props in stacking order.
// The reader takes the whole block before it parses anything, refuses a
// count out of range, and skips each record that does not fit its place or
// whose pictures do not load: the good stamps stay, the answer is false and
// the pending error says why.
#include <cstdint>

#include "stamps/stamp_record.h"

class FSReader;
class FSWriter;

constexpr int32_t kLayerPlaces = 3;
constexpr int32_t kListedStampLimit = 15;
constexpr int32_t kStampPlaces = kLayerPlaces + kListedStampLimit;
constexpr int32_t kStampsBlockSize = 2 + 8 + kStampPlaces * kStampRecordSize;
static_assert(kStampsBlockSize == 676, "the stamps block of a page is 676 bytes");

// Answers whether a picture of a record can be loaded; null accepts all.
typedef bool (*KVXPictureCheck)(int32_t pictureId, void* context);

class KVXStampsBlock {
public:
    KVXStampsBlock();

    // The radio's state words when the scene has no radio: 0, the station,
    // volume 1024, idle state 3.
    void SetDefaultSceneData(int16_t station);

    // The number of filled places.
    int16_t Count() const;

    bool Write(FSWriter& writer) const;
    // Places that were skipped, or a count not reached, answer false with a
    // pending error; places left empty then hold the empty record.
    bool Read(FSReader& reader, KVXPictureCheck check = nullptr, void* context = nullptr);

    // Whether the last read skipped a record for a picture that did not load
    // (the manager tells the child once).
    bool MissedPictures() const { return missedPictures; }

    KVXStampRecord places[kStampPlaces];
    int16_t sceneData[4];

private:
    bool ParseRecords(FSReader& reader, int16_t count, KVXPictureCheck check, void* context);
    bool missedPictures;
};
