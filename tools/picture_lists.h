#pragma once
// The picture lists of the picture tools: a tool table of 8-byte rows whose
// row size/type names a word list, in which each word 0 is followed by an
// animation item and each word 1 by a 32-bit picture id. Entries whose words
// run past the list are left out.
#include <cstdint>
#include <vector>

#include "brushes/sprayer_brushes.h"
#include "engine/resource_collection.h"

class Heap;

// Entry k pairs the k-th animation with the k-th picture; at most limit
// entries, and none beyond the shorter of the two runs.
std::vector<KVXSprayEntry> ReadSprayEntries(MMResourceId toolTable, int32_t sizeType,
                                            size_t limit, Heap* heap);
// The picture after every word 1 of the list the row names.
std::vector<int32_t> ReadPictureList(MMResourceId toolTable, int32_t sizeType, Heap* heap);
// The item at offset 0 of a row of a 2-byte-row table made into a resource
// id; -1 when the table has no such row.
MMResourceId ReadItemWord(MMResourceId table, int32_t row, Heap* heap);
