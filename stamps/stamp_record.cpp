#include "stamps/stamp_record.h"

#include "framework/byte_order_streams.h"

namespace {

bool IsFlag(uint8_t value)
{
    return value == 0 || value == 1;
}

bool SameBox(const Box& a, const Box& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

bool KVXStampRecord::operator==(const KVXStampRecord& other) const
{
    return kind == other.kind && genre == other.genre && depth == other.depth &&
           bwPicture == other.bwPicture && colourPicture == other.colourPicture &&
           animationTable == other.animationTable && sizeStep == other.sizeStep &&
           mirroredX == other.mirroredX && mirroredY == other.mirroredY &&
           animated == other.animated && SameBox(bounds, other.bounds) && size == other.size;
}

bool WriteStampRecord(FSWriter& writer, const KVXStampRecord& record)
{
    uint8_t flags[3] = {record.mirroredX, record.mirroredY, record.animated};
    return writer.WriteLongs(&record.kind) && writer.WriteShorts(&record.genre) &&
           writer.WriteShorts(&record.depth) && writer.WriteLongs(&record.bwPicture) &&
           writer.WriteLongs(&record.colourPicture) && writer.WriteLongs(&record.animationTable) &&
           writer.WriteShorts(&record.sizeStep) && writer.WriteBytes(flags, 3) &&
           writer.WriteBoxes(&record.bounds) && writer.WritePairs(&record.size);
}

bool ReadStampRecord(FSReader& reader, KVXStampRecord* record)
{
    uint8_t flags[3] = {0, 0, 0};
    if (!(reader.ReadLongs(&record->kind) && reader.ReadShorts(&record->genre) &&
          reader.ReadShorts(&record->depth) && reader.ReadLongs(&record->bwPicture) &&
          reader.ReadLongs(&record->colourPicture) && reader.ReadLongs(&record->animationTable) &&
          reader.ReadShorts(&record->sizeStep) && reader.ReadBytes(flags, 3) &&
          reader.ReadBoxes(&record->bounds) && reader.ReadPairs(&record->size)))
        return false;
    record->mirroredX = flags[0];
    record->mirroredY = flags[1];
    record->animated = flags[2];
    return true;
}

bool StampRecordFitsPlace(const KVXStampRecord& record, int32_t place)
{
    bool kindFits = place < 3 ? record.kind == place
                              : record.kind == kStampCharacter || record.kind == kStampProp;
    return kindFits && IsFlag(record.mirroredX) && IsFlag(record.mirroredY) &&
           IsFlag(record.animated) && record.sizeStep >= 0 && record.sizeStep <= kLargestSizeStep &&
           record.size.x > 0 && record.size.y > 0;
}
