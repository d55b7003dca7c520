#pragma once
// Record tables: items of script files holding a 32-bit row count, rows of a
// size the caller gives, then NUL-terminated strings. Rows are found by a
// 16-bit key; fields are read in place at byte offsets within a row. Every
// read stays inside the loaded item: out-of-range fields read as 0 (an empty
// text for strings).
#include <cstdint>
#include "engine/resource_collection.h"
#include "framework/geometry.h"

class Heap;
class MMScriptFile;

class MMRecordTable {
public:
    MMRecordTable();
    ~MMRecordTable();
    MMRecordTable(const MMRecordTable&) = delete;
    MMRecordTable& operator=(const MMRecordTable&) = delete;

    // A table that cannot be read is left empty (0 rows).
    void Load(MMResourceId id, int32_t rowSize, Heap* heap);
    void Free();
    // A table of 10-byte rows from the default heap, keeping the caller's
    // value beside it.
    void LoadTenByteRows(MMResourceId id, int16_t extra);
    int16_t ExtraValue() const { return extraValue; }
    // The point at offset 2 of the n-th row keyed 17; (0, 0) when none.
    Pair PointOfKey17(int32_t n) const;

    int16_t ShortAt(int32_t row, int32_t offset) const;
    int32_t LongAt(int32_t row, int32_t offset) const;
    int32_t LongAtRow(int32_t row, int32_t offset) const { return LongAt(row, offset); }
    const char* StringAt(int32_t row, int32_t offset) const;
    Box RectAt(int32_t row, int32_t offset) const;
    Pair PairAt(int32_t row, int32_t offset) const;
    // The 16-bit item index at offset made into a resource id of this
    // table's collection, -1 for none.
    MMResourceId ItemIdAt(int32_t row, int32_t offset) const;
    // The picture id of a layout row that begins with a point.
    MMResourceId PictureIdAt(int32_t row) const { return LongAt(row, 4); }
    Pair& FirstPairAt(int32_t row, Pair& out) const { return out = PairAt(row, 0); }

    // The k-th (0 = first) row from start whose 16-bit field at offset
    // equals key; -1 when none. k = -1 answers start without searching.
    int32_t FindRow(int32_t start, int32_t offset, int32_t k, int16_t key) const;
    int32_t FindRowByKey(int16_t key, int32_t start = 0, int32_t k = 0) const {
        return FindRow(start, 0, k, key);
    }
    int32_t CountRows(int32_t start, int32_t offset, int16_t key) const;

    int32_t RowCount() const { return rowCount; }
    int32_t RowSize() const { return rowSize; }
    int32_t ByteSize() const { return byteSize; }
    bool IsLoaded() const { return memory != nullptr; }
    uint16_t CollectionId() const { return collectionId; }

private:
    void MakeEmpty();
    const uint8_t* Field(int32_t row, int32_t offset, int32_t bytes) const;
    int32_t StringAreaStart() const { return rowCount * rowSize; }

    uint16_t collectionId;
    uint8_t* memory;
    int32_t rowCount;
    int32_t rowSize;
    int32_t byteSize;
    MMScriptFile* scriptFile;
    int16_t extraValue = 0;
};

// The item at offset 2 of the n-th (0 = first) row keyed key of a table of
// 10-byte rows; -1 when there is none.
MMResourceId MMItemOfRow(MMResourceId tableId, int16_t key, int32_t n = 0);
// Row n of a table of 8-byte rows that place pictures: the point at 0 and
// the picture at 4; false when the table has no such row.
bool MMPlacedPicture(MMResourceId tableId, int32_t n, Pair& position, MMResourceId& picture);

// Converts the NUL-terminated texts of area (size bytes) from the Macintosh
// code page 10000 + macCodePage to the system's ANSI code page, each in place
// and never longer than it was. Stops at an unterminated text.
void MMConvertMacStrings(char* area, int32_t size, int16_t macCodePage);
