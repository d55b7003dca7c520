#include "tools/picture_lists.h"

#include "engine/record_table.h"

namespace {

const int32_t kNoAnimation = 414;

// The word list named by row size/type of the tool's table, and the row's
// paste flag.
bool OpenList(MMResourceId toolTable, int32_t sizeType, Heap* heap, MMRecordTable& list,
              uint8_t& paste)
{
    MMRecordTable rows;
    rows.Load(toolTable, 8, heap);
    if (sizeType < 0 || sizeType >= rows.RowCount())
        return false;
    paste = rows.ShortAt(sizeType, 6) != 0;
    MMResourceId second = rows.ItemIdAt(sizeType, 0);
    if (second == MM_NO_RESOURCE)
        return false;
    list.Load(second, 2, heap);
    return list.RowCount() > 0;
}

// The row of the k-th marker word whose data (words more words) lies
// inside the list; -1 otherwise.
int32_t MarkerRow(const MMRecordTable& list, int32_t k, int16_t marker, int32_t words)
{
    int32_t row = list.FindRow(0, 0, k, marker);
    return row >= 0 && row + words < list.RowCount() ? row : -1;
}

}  // namespace

std::vector<KVXSprayEntry> ReadSprayEntries(MMResourceId toolTable, int32_t sizeType, size_t limit,
                                            Heap* heap)
{
    std::vector<KVXSprayEntry> entries;
    MMRecordTable list;
    uint8_t paste = 0;
    if (!OpenList(toolTable, sizeType, heap, list, paste))
        return entries;
    for (int32_t k = 0; entries.size() < limit; ++k) {
        int32_t zero = MarkerRow(list, k, 0, 1);
        int32_t one = MarkerRow(list, k, 1, 2);
        if (zero < 0 || one < 0)
            break;
        int32_t animation = list.ItemIdAt(zero, 2);
        entries.push_back({animation == kNoAnimation ? -1 : animation, list.LongAtRow(one, 2), paste});
    }
    return entries;
}

std::vector<int32_t> ReadPictureList(MMResourceId toolTable, int32_t sizeType, Heap* heap)
{
    std::vector<int32_t> pictures;
    MMRecordTable list;
    uint8_t paste = 0;
    if (!OpenList(toolTable, sizeType, heap, list, paste))
        return pictures;
    for (int32_t k = 0;; ++k) {
        int32_t one = MarkerRow(list, k, 1, 2);
        if (one < 0)
            break;
        pictures.push_back(list.LongAtRow(one, 2));
    }
    return pictures;
}

MMResourceId ReadItemWord(MMResourceId table, int32_t row, Heap* heap)
{
    MMRecordTable words;
    words.Load(table, 2, heap);
    if (row < 0 || row >= words.RowCount())
        return MM_NO_RESOURCE;
    return words.ItemIdAt(row, 0);
}
