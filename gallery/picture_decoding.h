#pragma once
// Decoding picture files into plain 32-bit pixels (blue, green, red, 0), top
// row first. Every byte of the file is checked: a refused file answers
// false with a short reason, and nothing of it reaches the system.
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int32_t kLargestPictureSide = 16384;

struct DecodedPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;
};

// BMP files: information headers of 40, 108 and 124 bytes; 1, 4, 8, 16, 24
// and 32 bits; bottom-up or top-down; bit fields; RLE8 and RLE4.
bool DecodeBmp(const uint8_t* bytes, size_t size, DecodedPicture& out, const char** reason);
// JPEG files through libjpeg: grey or colour; a file libjpeg warns about
// (corrupt or cut short) or in CMYK is refused.
bool DecodeJpeg(const char* path, DecodedPicture& out, const char** reason);
