#include "canvas/plane.h"

#include "engine/picture_collection.h"
#include "media/blit_request.h"

void KVXPlaneUChar::Describe(MMBitmap& out) const
{
    out.bitsPerPixel = 8;
    out.bytesPerPixel = 1;
    out.pixelKind = kPixelIndexed;
    out.transparencyKind = kTransparencyOpaque;
    out.box = Bounds();
    out.pixels = bits;
    out.pitch = pitch;
}

bool KVXPlaneUChar::BlitFromBitmap(const MMBitmap& source, const Pair& offset)
{
    MMBitmap target;
    Describe(target);
    // Only the part of the source that exists is read.
    Box sourceBox = {offset.x, offset.y, offset.x + width, offset.y + height};
    sourceBox.Intersect(source.box);
    if (sourceBox.IsEmpty()) {
        return false;
    }
    Box targetBox = sourceBox;
    targetBox.Offset({-offset.x, -offset.y});
    MMBitmapBlitRequest request;
    if (!request.PrepareBoxToBox(source, target, sourceBox, targetBox)) {
        return false;
    }
    return request.Perform();
}

void KVXPlaneUChar::LoadFromPicture(const MMPictureReference& picture, const Pair& offset)
{
    MMBitmap bitmap;
    if (picture.Collection() == nullptr || !picture.LockBitmap(bitmap)) {
        return;
    }
    bitmap.transparencyKind = kTransparencyOpaque;
    BlitFromBitmap(bitmap, offset);
    picture.Unlock();
}
