#include "gallery/gallery_pictures.h"

#include <cstring>
#include <memory>

#include "framework/heap.h"

namespace {

// Byte 3 counts transparency here: 127 lets about half of what lies below through.
constexpr uint8_t kHalfTransparency = 127;

}  // namespace

MMPictureReference GalleryLayoutPicture(MMResourceId id)
{
    return id != 0 ? MMLoadedPicture(id) : MMPictureReference();
}

GalleryPictures::GalleryPictures(uint16_t collectionId, int16_t slots)
    : collection(dynamic_cast<MMBitmapPictureCollection*>(
          MMFindPictureCollection(MMMakeResourceId(collectionId, 0))))
{
    if (collection == nullptr)
        collection = new MMBitmapPictureCollection(slots, collectionId);
}

MMPictureReference GalleryPictures::Make(const uint32_t* pixels, int32_t width, int32_t height,
                                         bool halfTransparent)
{
    MMPictureReference reference;
    int16_t slot = collection != nullptr ? collection->FreeSlot() : -1;
    if (pixels == nullptr || width <= 0 || height <= 0 || slot < 0)
        return reference;
    std::unique_ptr<MMBitmapWithPixels> copy(
        MMBitmap::CreateWithPixels({0, 0, width, height}, kPixelBGRA, gDefaultHeap));
    if (!copy)
        return reference;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = copy->PixelAddress(0, y);
        std::memcpy(row, pixels + size_t(y) * width, size_t(width) * 4);
        for (int32_t x = 0; x < width; ++x)
            row[x * 4 + 3] = halfTransparent ? kHalfTransparency : 0;
    }
    copy->transparencyKind = halfTransparent ? kTransparencyStraight : kTransparencyOpaque;
    collection->BindPicture(reference, slot, *copy, nullptr);
    return reference;
}

int16_t GalleryPictures::BoundCount() const
{
    int16_t bound = 0;
    for (int16_t i = 0; collection != nullptr && i < collection->SlotCount(); ++i)
        bound += collection->SlotAt(i).bound ? 1 : 0;
    return bound;
}
