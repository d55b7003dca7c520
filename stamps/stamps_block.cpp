#include "stamps/stamps_block.h"

#include "framework/byte_order_streams.h"
#include "framework/files.h"
#include "framework/pending_error.h"

namespace {

const char kDamagedStamps[] = "Some stamps of this page could not be read (%s).";

bool FailDamaged(const char* what)
{
    return SetPendingErrorText(kDamagedStamps, FSDirectory(), what, 0);
}

bool PicturesLoad(const KVXStampRecord& record, KVXPictureCheck check, void* context)
{
    return check == nullptr ||
           (check(record.bwPicture, context) && check(record.colourPicture, context));
}

}  // namespace

KVXStampsBlock::KVXStampsBlock() : sceneData{0, 0, 1024, 3}, missedPictures(false) {}

void KVXStampsBlock::SetDefaultSceneData(int16_t station)
{
    sceneData[0] = 0;
    sceneData[1] = station;
    sceneData[2] = 1024;
    sceneData[3] = 3;
}

int16_t KVXStampsBlock::Count() const
{
    int16_t count = 0;
    for (const KVXStampRecord& record : places)
        count += record.IsEmpty() ? 0 : 1;
    return count;
}

bool KVXStampsBlock::Write(FSWriter& writer) const
{
    // Made in memory first, so the page gets the whole block or nothing of it.
    uint8_t bytes[kStampsBlockSize];
    FSMemory memory(bytes, sizeof bytes);
    int16_t count = Count();
    if (!memory.WriteShorts(&count) || !memory.WriteShorts(sceneData, 4))
        return FailWithoutError();
    for (const KVXStampRecord& record : places) {
        if (!WriteStampRecord(memory, record))
            return FailWithoutError();
    }
    return writer.WriteBytes(bytes, sizeof bytes);
}

bool KVXStampsBlock::Read(FSReader& reader, KVXPictureCheck check, void* context)
{
    for (KVXStampRecord& record : places)
        record = KVXStampRecord();
    missedPictures = false;
    uint8_t bytes[kStampsBlockSize];
    if (!reader.ReadBytes(bytes, sizeof bytes))
        return FailDamaged("short block");
    // The page is little-endian whatever order the outer stream reads.
    FSMemory memory(bytes, sizeof bytes);
    int16_t count = 0;
    int16_t words[4];
    if (!memory.ReadShorts(&count) || !memory.ReadShorts(words, 4))
        return FailDamaged("short block");
    if (count < 0 || count > kStampPlaces)
        return FailDamaged("count out of range");
    for (int i = 0; i < 4; ++i)
        sceneData[i] = words[i];
    return ParseRecords(memory, count, check, context);
}

bool KVXStampsBlock::ParseRecords(FSReader& reader, int16_t count, KVXPictureCheck check,
                                  void* context)
{
    int16_t created = 0;
    bool skipped = false;
    for (int32_t place = 0; place < kStampPlaces && created < count; ++place) {
        KVXStampRecord record;
        if (!ReadStampRecord(reader, &record))
            return FailDamaged("short block");
        if (record.IsEmpty())
            continue;
        if (!StampRecordFitsPlace(record, place)) {
            skipped = true;
            continue;
        }
        if (!PicturesLoad(record, check, context)) {
            skipped = true;
            missedPictures = true;
            continue;
        }
        places[place] = record;
        ++created;
    }
    if (skipped)
        return FailDamaged("damaged stamp");
    if (created < count)
        return FailDamaged("stamps missing");
    return true;
}
