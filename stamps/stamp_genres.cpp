#include "stamps/stamp_genres.h"

#include <new>

#include "stamps/stamp_record.h"
#include "stamps/stamps_block.h"

int16_t MainStampGenre(int16_t current, int32_t genreCount, const int16_t* genres, int32_t n,
                       const int16_t* midgroundGenre)
{
    if (midgroundGenre)
        return int16_t(*midgroundGenre + 1);
    if (genreCount <= 0)
        return current;
    int32_t* counts = new (std::nothrow) int32_t[genreCount]();
    if (!counts)
        return 0;
    for (int32_t i = 0; i < n; ++i) {
        if (genres[i] >= 0 && genres[i] < genreCount)
            ++counts[genres[i]];
    }
    int32_t best = current - 1;
    int32_t bestCount = best >= 0 && best < genreCount ? counts[best] : 0;
    for (int32_t g = 0; g < genreCount; ++g) {
        if (counts[g] > bestCount) {
            best = g;
            bestCount = counts[g];
        }
    }
    delete[] counts;
    return int16_t(best + 1);
}

int32_t StampKindFromTable(int16_t layerCode, int32_t kindValue)
{
    switch (layerCode) {
    case 0:
        return kStampBackground;
    case 1:
        return kStampMidground;
    case 3:
        return kStampForeground;
    default:
        return kindValue == kStampCharacter ? kStampCharacter : kStampProp;
    }
}

bool KVXPlacementGate::Allows(int32_t kind, int32_t listLength)
{
    if (!refused && (kind == kStampCharacter || kind == kStampProp) &&
        listLength >= kListedStampLimit)
        refused = true;
    return !refused;
}
