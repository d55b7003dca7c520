#include "engine/picture_collection.h"
#include "media/blit_request.h"
#include "media/encoded_image.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"

void MMDrawPicture(MMSurface* surface, const MMPictureReference& picture, const Box& sourceBox,
                   const Box& destinationBox, const uint8_t* indexMap,
                   const MMColorTable* colorTable)
{
    // The copy holds a use of the picture while it is drawn.
    MMPictureReference held(picture);
    if (held.IsEmpty()) {
        return;
    }
    MMDrawingSurfaceBlitRequest request;
    request.indexMap = indexMap;
    const MMColorTable* own = nullptr;
    MMBitmap bitmap;
    MMEncodedImage image;
    const MMImageDescription* source = &bitmap;
    bool locked;
    if (held.IsBitmap()) {
        locked = held.LockBitmap(bitmap, &own);
    } else {
        locked = held.LockEncodedImage(image, &own);
        source = &image;
    }
    if (!locked) {
        return;
    }
    if (surface->GetPixelKind() == kPixelIndexed) {
        own = nullptr;  // an 8-bit surface takes the indexes themselves
    } else if (own == nullptr && source->pixelKind == kPixelIndexed) {
        // Indexes without a table of their own mean the destination's colours.
        if (const MMDrawingSurface* drawing = dynamic_cast<const MMDrawingSurface*>(surface)) {
            own = &drawing->ColorTable();
        }
    }
    request.colorTable = colorTable != nullptr ? colorTable : own;
    if (request.PrepareBoxToBox(*source, surface, sourceBox, destinationBox)) {
        request.Perform();
    }
    held.Unlock();
}
