#include "media/printable_surface.h"

#include <cstdlib>

#include "framework/heap.h"
#include "media/offscreen_surface.h"

namespace {

struct BitmapInfo256 {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

}  // namespace

MMPrintableSurface::MMPrintableSurface(const Box& box, int32_t bitsPerPixel, const Box& bounds,
                                       const MMColorTable* colors)
    : AFPrintable(box), ownsSurface(true),
      surface(MMSurface::CreateBitmapDC(bitsPerPixel, bounds, colors))
{
}

MMPrintableSurface::MMPrintableSurface(const Box& box, WinMMOffscreenSurface* surface)
    : AFPrintable(box), ownsSurface(false), surface(surface)
{
}

MMPrintableSurface::~MMPrintableSurface()
{
    if (ownsSurface && surface != nullptr)
        surface->Dispose();
}

bool MMPrintableSurface::Print(AFPrintSession& session)
{
    if (surface == nullptr)
        return false;
    Box bounds = surface->GetBounds();
    surface->Lock();
    BitmapInfo256 info;
    info.header = surface->Header();
    for (int i = 0; i < 256; ++i) {
        info.colors[i] = surface->ColorTable().entries[i];
        info.colors[i].rgbReserved = 0;
    }
    // The DIB's rows run bottom-up and its first pixel is the bounds'
    // top-left whatever the surface's origin: the source is given in the
    // DIB's own rows, counted from its bottom.
    int32_t dibHeight = std::abs(info.header.biHeight);
    int copied = StretchDIBits(session.DeviceContext(), box.left, box.top, box.Width(),
                               box.Height(), 0, dibHeight - bounds.Height(), bounds.Width(),
                               bounds.Height(), surface->Bits(),
                               reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS,
                               SRCCOPY);
    surface->Unlock();
    return copied > 0;
}

MMPrintSurface::MMPrintSurface(AFPrintConfiguration& configuration,
                               WinMMOffscreenSurface& surface)
    : AFPrintSession(configuration, surface.ColorTable()), surface(&surface), printable(nullptr)
{
    printable = new (gDefaultHeap) MMPrintableSurface(FittedBox(), &surface);
}

MMPrintSurface::~MMPrintSurface()
{
    delete printable;
}

Box MMPrintSurface::FittedBox() const
{
    Pair size = PageSizePixels();
    return FitBox(surface->GetBounds(), Box{0, 0, size.x, size.y});
}

bool MMPrintSurface::PrintPage(int)
{
    if (printable == nullptr)
        return false;
    printable->box = FittedBox();
    return printable->PrintOn(*this);
}

Box MMPrintSurface::PrintableBox() const
{
    return printable != nullptr ? printable->box : Box{0, 0, 0, 0};
}
