#pragma once
// What a page's rendering needs of the stamps placed on it.
#include <cstdint>

#include "engine/picture_collection.h"

class MMSurface;

class KVXPageStamps {
public:
    virtual ~KVXPageStamps() = default;
    // The picture of the stamp in layer slot 0 to 3; -1 when it is empty.
    virtual MMPictureID LayerPicture(int32_t slot) const = 0;
    // Draws the placed stamps at an animation step, when there are any.
    virtual void DrawStamps(MMSurface* surface, int32_t step, bool flag) = 0;
};
