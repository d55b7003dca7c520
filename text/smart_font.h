#pragma once
// A system font that remembers how it was made, so that it can make a copy
// of itself at another size.
#include <cstdint>

#include "media/font.h"

class MPSmartFont : public MMSystemFont {
public:
    MPSmartFont(const char* face, int32_t size, int32_t weight, bool italic, bool underline);

    // The same face, weight and styles at another size; null without memory.
    MPSmartFont* CloneAtSize(int32_t newSize) const;

    const char* Face() const { return face; }
    int32_t Size() const { return size; }
    int32_t Weight() const { return weight; }
    bool Italic() const { return italic != 0; }
    bool Underline() const { return underline != 0; }

private:
    char face[256];
    int32_t size;
    int32_t weight;
    uint8_t italic;
    uint8_t underline;
};
