#include "shell/widgets/color_changing_thread.h"

#include <memory>

#include "framework/heap.h"
#include "media/bitmap.h"
#include "media/bitmap_picture_collection.h"
#include "media/picture_visual.h"

KVXColorChangingAnimationThread::KVXColorChangingAnimationThread(
    MMStage* stage, MMBitmapPictureCollection* pictures, const uint8_t* colour)
    : KVXAnimationThread(stage), pictures(pictures), colour(colour)
{
}

MMPictureReference KVXColorChangingAnimationThread::Recolour(const MMPictureReference& old,
                                                             int16_t n)
{
    MMPictureReference fresh;
    MMBitmap bitmap;
    if (old.IsEmpty() || !pictures || !old.LockBitmap(bitmap))
        return fresh;
    if (bitmap.bitsPerPixel == 8) {
        Box size = {0, 0, bitmap.Width(), bitmap.Height()};
        std::unique_ptr<MMBitmapWithPixels> painted(
            MMBitmap::CreateWithPixels(size, kPixelBGRA, gDefaultHeap));
        if (painted) {
            painted->transparencyKind = kTransparencyStraight;
            for (int32_t y = 0; y < size.bottom; ++y) {
                const uint8_t* source = bitmap.PixelAddress(bitmap.box.left, bitmap.box.top + y);
                uint8_t* target = painted->PixelAddress(0, y);
                for (int32_t x = 0; x < size.right; ++x, target += 4) {
                    target[0] = colour[0];
                    target[1] = colour[1];
                    target[2] = colour[2];
                    target[3] = n == 1 && source[x] != 0 ? 0 : 255;
                }
            }
            pictures->BindPicture(fresh, pictures->FreeSlot(), *painted, nullptr);
        }
    }
    old.Unlock();
    return fresh;
}

bool KVXColorChangingAnimationThread::CustomOpcode(int16_t a, int16_t, int16_t, int16_t)
{
    if (a < 1 || a > 3 || !Molecule())
        return false;
    MMPictureBasedVisual* visual = Molecule()->Visual(a);
    if (!visual)
        return false;
    // The old picture's slot is given back once the visual lets go of it,
    // so recolouring again and again never runs the collection out of slots.
    MMPictureReference old = visual->GetPicture();
    visual->SetPicture(Recolour(old, a));
    return false;
}
