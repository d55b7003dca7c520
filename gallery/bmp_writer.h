#pragma once
// A 32-bit surface as a BMP file: the 14-byte file header, the 40-byte
// information header, then the rows bottom row first, each pixel blue,
// green, red and a spare 0.
#include <cstdint>

class FSWriter;
class MMSurface;

constexpr int32_t kBmpHeadersSize = 54;

bool WriteBmpFile(MMSurface& surface, FSWriter& writer);
