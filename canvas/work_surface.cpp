#include "canvas/work_surface.h"

#include "media/offscreen_surface.h"

WorkSurface::~WorkSurface()
{
    if (surface != nullptr)
        surface->Dispose();
}

bool WorkSurface::EnsureSurface()
{
    if (surface == nullptr)
        surface = MMSurface::CreateBitmapDC(32, box, nullptr);
    return surface != nullptr;
}

bool WorkSurface::Memory(uint8_t*& origin, int32_t& pitchBytes) const
{
    MMBitmap store;
    if (surface == nullptr || !surface->GetBitmap(store) || store.pixels == nullptr)
        return false;
    origin = store.PixelAddress(store.box.left, store.box.top);
    pitchBytes = store.pitch;
    return true;
}
