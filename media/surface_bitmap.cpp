#include "media/surface_bitmap.h"

#include "media/offscreen_surface.h"

CSurface::~CSurface()
{
    if (surface != nullptr) {
        surface->Dispose();
    }
}

bool CSurface::CreateOffscreenSurface(const Box& box)
{
    MMSurface* made = MMSurface::CreateBitmapDC(32, box, nullptr);
    if (made == nullptr) {
        return false;
    }
    MMSurface* old = AttachSurface(made);
    if (old != nullptr) {
        old->Dispose();
    }
    return true;
}

MMSurface* CSurface::AttachSurface(MMSurface* newSurface)
{
    if (newSurface == nullptr) {
        return nullptr;
    }
    MMSurface* old = surface;
    surface = newSurface;
    MMBitmap description;
    if (surface->GetBitmap(description)) {
        MMBitmap::operator=(description);
        pixels = description.PixelAddress(description.box.left, description.box.top);
    }
    return old;
}
