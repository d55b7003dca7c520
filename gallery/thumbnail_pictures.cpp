#include "gallery/thumbnail_pictures.h"

#include <cstring>
#include <memory>

#include "gallery/sketchbook_page_content.h"
#include "media/bitmap.h"
#include "media/bitmap_picture_collection.h"

namespace {

// Nine thumbnails and their drag pictures, the trash's and the slideshow's.
constexpr int16_t kThumbnailSlots = 64;
constexpr uint16_t kThumbnailCollection = 50001;

MMBitmapPictureCollection& Thumbnails()
{
    static MMBitmapPictureCollection* pictures =
        new MMBitmapPictureCollection(kThumbnailSlots, kThumbnailCollection);
    return *pictures;
}

}  // namespace

MMPictureReference ThumbnailPicture(const uint32_t* pixels, bool seeThrough)
{
    MMPictureReference picture;
    if (pixels == nullptr)
        return picture;
    std::unique_ptr<MMBitmapWithPixels> bitmap(MMBitmap::CreateWithPixels(
        Box{0, 0, kThumbnailWidth, kThumbnailHeight}, kPixelBGRA, nullptr));
    if (!bitmap)
        return picture;
    bitmap->transparencyKind = seeThrough ? kTransparencyStraight : kTransparencyOpaque;
    for (int32_t y = 0; y < kThumbnailHeight; ++y)
        std::memcpy(bitmap->PixelAddress(0, y), pixels + y * kThumbnailWidth,
                    size_t(kThumbnailWidth) * 4);
    MMBitmapPictureCollection& pictures = Thumbnails();
    int16_t slot = pictures.FreeSlot();
    if (slot >= 0)
        pictures.BindPicture(picture, slot, *bitmap, nullptr);
    return picture;
}
