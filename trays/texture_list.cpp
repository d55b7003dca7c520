#include "trays/texture_list.h"

#include "engine/record_table.h"

namespace {

const int16_t kTextureTableExtra = 2;
const int16_t kLayoutTable = 734;
const int16_t kLayoutExtra = 66;
const int16_t kTextureKey = 0;
const int16_t kPreviewKey = 1;
const int16_t kStartRowKey = 43;

}  // namespace

int32_t TextureCount()
{
    MMRecordTable table;
    table.LoadTenByteRows(kTextureTable, kTextureTableExtra);
    return table.CountRows(0, 0, kTextureKey);
}

namespace {

MMResourceId NthOfKey(int32_t index, int16_t key)
{
    if (index < 0)
        return MM_NO_RESOURCE;
    MMRecordTable table;
    table.LoadTenByteRows(kTextureTable, kTextureTableExtra);
    int32_t row = table.FindRow(0, 0, index, key);
    return row < 0 ? MM_NO_RESOURCE : table.LongAt(row, 2);
}

}  // namespace

MMResourceId TextureResourceAt(int32_t index) { return NthOfKey(index, kTextureKey); }

MMResourceId TexturePreviewAt(int32_t index) { return NthOfKey(index, kPreviewKey); }

int32_t TextureIndexOf(MMResourceId texture)
{
    MMRecordTable table;
    table.LoadTenByteRows(kTextureTable, kTextureTableExtra);
    int32_t count = table.CountRows(0, 0, kTextureKey);
    for (int32_t i = 0; i < count; ++i) {
        int32_t row = table.FindRow(0, 0, i, kTextureKey);
        if (row >= 0 && table.LongAt(row, 2) == texture)
            return i;
    }
    return count;
}

MMResourceId StartingTexture()
{
    MMRecordTable layout;
    layout.LoadTenByteRows(kLayoutTable, kLayoutExtra);
    int32_t start = 0;
    int32_t startRow = layout.FindRowByKey(kStartRowKey);
    if (startRow >= 0)
        start = layout.ShortAt(startRow, 2);
    MMRecordTable table;
    table.LoadTenByteRows(kTextureTable, kTextureTableExtra);
    int32_t row = table.FindRow(start < 0 ? 0 : start, 0, 0, kTextureKey);
    return row < 0 ? MM_NO_RESOURCE : table.LongAt(row, 2);
}
