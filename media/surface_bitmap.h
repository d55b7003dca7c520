#pragma once
// A 32-bit view of an offscreen surface that it keeps with it: text, import
// and page code draw into the surface with GDI and work on its pixels.
#include "media/bitmap.h"

class CSurface : public CRGBBitmap {
public:
    CSurface() = default;
    // Disposes of the surface it holds.
    ~CSurface() override;
    CSurface(const CSurface&) = delete;
    CSurface& operator=(const CSurface&) = delete;

    // A 32-bit DIB-section surface of box, kept and described; false (with
    // the pending error set) when it cannot be made.
    bool CreateOffscreenSurface(const Box& box);
    // Keeps surface and describes its pixels; returns the surface held before,
    // which the caller now owns. A null surface changes nothing.
    MMSurface* AttachSurface(MMSurface* surface);
    MMSurface* Surface() const { return surface; }

private:
    MMSurface* surface = nullptr;
};
