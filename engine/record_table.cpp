#include "engine/record_table.h"

#include <windows.h>
#include <cstring>
#include <memory>
#include <new>
#include "engine/script_file.h"
#include "framework/byte_order_streams.h"
#include "framework/heap.h"

namespace {

const int kLocalTextLength = 400;

// Converts one text of length bytes in place; the result never grows.
void ConvertText(char* text, int length, int codePage)
{
    wchar_t localWide[kLocalTextLength];
    char localNarrow[2 * kLocalTextLength];
    std::unique_ptr<wchar_t[]> heapWide;
    std::unique_ptr<char[]> heapNarrow;
    wchar_t* wide = localWide;
    char* narrow = localNarrow;
    if (length >= kLocalTextLength) {
        heapWide.reset(new (std::nothrow) wchar_t[length + 1]);
        heapNarrow.reset(new (std::nothrow) char[2 * length + 2]);
        if (!heapWide || !heapNarrow) return;
        wide = heapWide.get();
        narrow = heapNarrow.get();
    }
    int wideLength = MultiByteToWideChar(codePage, 0, text, length, wide, length);
    if (wideLength <= 0) return;
    int narrowLength = WideCharToMultiByte(CP_ACP, 0, wide, wideLength, narrow, 2 * length + 1,
                                           nullptr, nullptr);
    if (narrowLength <= 0) return;
    if (narrowLength > length) narrowLength = length;
    std::memcpy(text, narrow, narrowLength);
    if (narrowLength < length) text[narrowLength] = 0;
}

}  // namespace

void MMConvertMacStrings(char* area, int32_t size, int16_t macCodePage)
{
    int codePage = MM_MAC_CODE_PAGE_BASE + macCodePage;
    int32_t position = 0;
    while (position < size) {
        char* text = area + position;
        int32_t length = int32_t(strnlen(text, size_t(size - position)));
        if (length == size - position) break;
        if (length > 0) ConvertText(text, length, codePage);
        position += length + 1;
    }
}

MMRecordTable::MMRecordTable()
    : collectionId(0), memory(nullptr), rowCount(0), rowSize(4), byteSize(0), scriptFile(nullptr)
{
}

MMRecordTable::~MMRecordTable() { Free(); }

void MMRecordTable::Free()
{
    if (memory) operator delete(memory);
    memory = nullptr;
    rowCount = 0;
    byteSize = 0;
}

void MMRecordTable::MakeEmpty()
{
    Free();
    rowSize = 4;
}

void MMRecordTable::Load(MMResourceId id, int32_t size, Heap* heap)
{
    MakeEmpty();
    collectionId = MMCollectionIdOf(id);
    scriptFile = MMRecordTableDirectory().Find(collectionId);
    if (!scriptFile || size <= 0) return;
    int16_t item = scriptFile->ItemOfTable(MMItemOf(id));
    int32_t itemSize = scriptFile->ItemSize(item);
    if (item < 0 || itemSize < 4) return;

    int32_t bytes = itemSize - 4;
    memory = static_cast<uint8_t*>(HeapAllocate(bytes > 0 ? bytes : 1, heap));
    if (!memory) return;
    FSRecoverableCDFile& in = scriptFile->Stream();
    int32_t rows = 0;
    in.SetError(0);
    if (!in.Seek(scriptFile->ItemOffset(item), FS_SEEK_FROM_START, nullptr) ||
        !in.ReadLongs(&rows) || !in.ReadBytes(memory, bytes)) {
        std::memset(memory, 0, bytes);
        return;
    }
    // The rows must fit the item and the string area must end with its
    // terminator, so that every scan below stays inside the memory.
    if (rows < 0 || int64_t(rows) * size > bytes ||
        (bytes > rows * size && memory[bytes - 1] != 0)) {
        MakeEmpty();
        return;
    }
    rowCount = rows;
    rowSize = size;
    byteSize = bytes;
    if (scriptFile->IsBigEndian()) SwapShortBytes(memory, rowCount * rowSize / 2);
    if (uint16_t(scriptFile->SourceCodePage()) != MM_NO_CODE_PAGE)
        MMConvertMacStrings(reinterpret_cast<char*>(memory) + StringAreaStart(),
                            byteSize - StringAreaStart(), scriptFile->SourceCodePage());
}

void MMRecordTable::LoadTenByteRows(MMResourceId id, int16_t extra)
{
    extraValue = extra;
    Load(id, 10, gDefaultHeap);
}

Pair MMRecordTable::PointOfKey17(int32_t n) const
{
    int32_t row = FindRow(0, 0, n, 17);
    if (row < 0) return Pair{0, 0};
    return PairAt(row, 2);
}

const uint8_t* MMRecordTable::Field(int32_t row, int32_t offset, int32_t bytes) const
{
    if (!memory || row < 0 || offset < 0) return nullptr;
    int64_t position = int64_t(row) * rowSize + offset;
    if (position + bytes > byteSize) return nullptr;
    return memory + position;
}

int16_t MMRecordTable::ShortAt(int32_t row, int32_t offset) const
{
    int16_t value = 0;
    if (const uint8_t* field = Field(row, offset, 2)) std::memcpy(&value, field, 2);
    return value;
}

int32_t MMRecordTable::LongAt(int32_t row, int32_t offset) const
{
    int32_t value = 0;
    if (const uint8_t* field = Field(row, offset, 4)) std::memcpy(&value, field, 4);
    return value;
}

const char* MMRecordTable::StringAt(int32_t row, int32_t offset) const
{
    const uint8_t* field = Field(row, offset, 4);
    if (!field) return "";
    int32_t position;
    std::memcpy(&position, field, 4);
    int32_t areaSize = byteSize - StringAreaStart();
    if (position < 0 || position >= areaSize) return "";
    return reinterpret_cast<const char*>(memory) + StringAreaStart() + position;
}

Box MMRecordTable::RectAt(int32_t row, int32_t offset) const
{
    return Box{ShortAt(row, offset), ShortAt(row, offset + 2), ShortAt(row, offset + 4),
               ShortAt(row, offset + 6)};
}

Pair MMRecordTable::PairAt(int32_t row, int32_t offset) const
{
    return Pair{ShortAt(row, offset), ShortAt(row, offset + 2)};
}

MMResourceId MMRecordTable::ItemIdAt(int32_t row, int32_t offset) const
{
    int16_t item = ShortAt(row, offset);
    if (item == -1 || !scriptFile) return MM_NO_RESOURCE;
    int16_t table = scriptFile->TableOfItem(item);
    if (table == -1) return MM_NO_RESOURCE;
    return MMMakeResourceId(collectionId, table);
}

MMResourceId MMItemOfRow(MMResourceId tableId, int16_t key, int32_t n)
{
    MMRecordTable table;
    table.Load(tableId, 10, gDefaultHeap);
    int32_t row = table.FindRowByKey(key, 0, n);
    return row < 0 ? MMResourceId(-1) : table.ItemIdAt(row, 2);
}

bool MMPlacedPicture(MMResourceId tableId, int32_t n, Pair& position, MMResourceId& picture)
{
    MMRecordTable table;
    table.Load(tableId, 8, gDefaultHeap);
    if (n < 0 || n >= table.RowCount())
        return false;
    position = table.PairAt(n, 0);
    picture = table.LongAt(n, 4);
    return true;
}

int32_t MMRecordTable::FindRow(int32_t start, int32_t offset, int32_t k, int16_t key) const
{
    if (k == -1) return start;
    for (int32_t row = start < 0 ? 0 : start; row < rowCount; ++row)
        if (ShortAt(row, offset) == key && k-- == 0) return row;
    return -1;
}

int32_t MMRecordTable::CountRows(int32_t start, int32_t offset, int16_t key) const
{
    int32_t count = 0;
    for (int32_t row = start < 0 ? 0 : start; row < rowCount; ++row)
        if (ShortAt(row, offset) == key) ++count;
    return count;
}
