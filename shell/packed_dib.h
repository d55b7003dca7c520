#pragma once
// A packed device-independent bitmap as a scanner hands it over: the
// 40-byte header, the colour table and the rows in one block. Nothing of it
// is trusted until it is checked against the block's size.
#include <windows.h>

#include <cstdint>

struct PackedDibLayout {
    int32_t width;
    int32_t height;  // rows, whatever their order
    int32_t bits;
    int32_t colors;        // entries of the colour table
    int32_t pixelOffset;   // from the start of the block
};

// True, with the layout, for an uncompressed (or 16- and 32-bit bit-field)
// bitmap of 1, 4, 8, 16, 24 or 32 bits, of positive size, at most 2^bits
// colours, whose header, table and rows all lie within size bytes.
bool CheckPackedDib(const void* block, SIZE_T size, PackedDibLayout& layout);
