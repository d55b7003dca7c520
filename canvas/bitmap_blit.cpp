#include "canvas/bitmap_blit.h"

#include "engine/picture_collection.h"
#include "media/blit_request.h"

void BlitBitmapAt(MMSurface* surface, const MMPictureReference& picture, const Pair& point)
{
    if (surface == nullptr || picture.Collection() == nullptr)
        return;
    Pair size = picture.GetSize();
    MMDrawPicture(surface, picture, {0, 0, size.x, size.y},
                  {point.x, point.y, point.x + size.x, point.y + size.y}, nullptr, nullptr);
}
