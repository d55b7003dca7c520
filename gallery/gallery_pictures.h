#pragma once
// Pictures the gallery makes while it runs (thumbnails of pages, their
// half-transparent drag copies), each held in a slot of a collection of
// the gallery's own until its last reference goes. The collection stays
// registered until the engine closes every collection, so references held
// by visuals deleted after their panel stay good.
#include <cstdint>

#include "engine/picture_collection.h"
#include "media/bitmap_picture_collection.h"

// A picture a gallery layout table names; 0, like -1, names none.
MMPictureReference GalleryLayoutPicture(MMResourceId id);

class GalleryPictures {
public:
    // Finds the collection of that id, or makes it with that many slots.
    GalleryPictures(uint16_t collectionId, int16_t slots);

    // A copy of width x height 32-bit pixels (blue, green, red, spare);
    // half-transparent copies let what lies below show through. Empty when
    // every slot is taken or memory runs out.
    MMPictureReference Make(const uint32_t* pixels, int32_t width, int32_t height,
                            bool halfTransparent);
    int16_t BoundCount() const;

private:
    MMBitmapPictureCollection* collection;
};
