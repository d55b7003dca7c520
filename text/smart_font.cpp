#include "text/smart_font.h"

#include <new>

#include "framework/text.h"

MPSmartFont::MPSmartFont(const char* face, int32_t size, int32_t weight, bool italic,
                         bool underline)
    : MMSystemFont(face, size, weight, italic, underline), size(size), weight(weight),
      italic(italic ? 1 : 0), underline(underline ? 1 : 0)
{
    this->face[0] = 0;
    if (face)
        StringCopyBounded(face, this->face, sizeof this->face);
}

MPSmartFont* MPSmartFont::CloneAtSize(int32_t newSize) const
{
    return new (std::nothrow) MPSmartFont(face, newSize, weight, italic != 0, underline != 0);
}
