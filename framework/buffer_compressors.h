#pragma once
// Two in-memory compressors: an LZSS codec with a 1024-byte window, and LZO1X-999
// behind one call that also tells the size needed when the result does not fit.
#include <cstdint>

class Heap;

// Encodes length bytes of source. Bytes past capacity are counted but not
// written, so the result is always the full compressed size.
int32_t LzssCompress(uint8_t* destination, const uint8_t* source, int32_t length,
                     int32_t capacity);

// Decodes sourceLength bytes of source until expandedLength bytes are written
// or the source ends; the number of bytes written.
int32_t LzssExpand(uint8_t* destination, const uint8_t* source, int32_t sourceLength,
                   int32_t expandedLength);

// Compresses with LZO1X-999 and its optimisation pass. When the result fits
// capacity it is copied to destination; outSize receives its size either way.
// Work memory comes from heap (null: the runtime allocator).
bool CompressBuffer(const uint8_t* source, int32_t length, uint8_t* destination,
                    int32_t capacity, int32_t* outSize, Heap* heap);
