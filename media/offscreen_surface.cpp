#include "media/offscreen_surface.h"

#include "framework/heap.h"
#include "framework/pending_error.h"
#include "framework/window.h"

namespace {

// The header and 256 colours, 1064 bytes.
struct BitmapInfo256 {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

int32_t PixelKindForBits(int32_t bits)
{
    if (bits == 8) {
        return kPixelIndexed;
    }
    return bits == 24 ? kPixelBGR : kPixelBGRA;
}

// Widened outwards to multiples of 4.
Box AlignedTo4(const Box& box)
{
    return {box.left & ~3, box.top & ~3, (box.right + 3) & ~3, (box.bottom + 3) & ~3};
}

}  // namespace

MMControlSurface::MMControlSurface(HWND window, HPALETTE ownerPalette) : window(window)
{
    dc = ::GetDC(window);
    if (dc != nullptr && GetDeviceCaps(dc, BITSPIXEL) < 16) {
        drawDib = DrawDibOpen();
        if (drawDib != nullptr && ownerPalette != nullptr) {
            DrawDibSetPalette(drawDib, ownerPalette);
        }
    }
}

MMControlSurface::~MMControlSurface()
{
    if (drawDib != nullptr) {
        DrawDibClose(drawDib);
    }
    if (dc != nullptr) {
        ReleaseDC(window, dc);
    }
}

Box MMControlSurface::GetBounds() const
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    return {client.left, client.top, client.right, client.bottom};
}

int MMControlSurface::GetPixelKind() const
{
    return GetDeviceCaps(dc, BITSPIXEL) == 8 ? kPixelIndexed : kPixelNoStore;
}

bool MMControlSurface::GetBitmap(MMBitmap&) const
{
    return false;
}

void MMControlSurface::CopyFromOffscreen(WinMMOffscreenSurface& offscreen, const Box& box)
{
    if (drawDib != nullptr && offscreen.GetPixelKind() != kPixelIndexed) {
        Box wide = AlignedTo4(box);
        BITMAPINFOHEADER header = offscreen.Header();
        DrawDibDraw(drawDib, GetDC(), wide.left, wide.top, wide.Width(), wide.Height(), &header,
                    offscreen.Bits(), wide.left, wide.top, wide.Width(), wide.Height(), 0);
        return;
    }
    MMSurface::CopyFromOffscreen(offscreen, box);
}

void MMControlSurface::CopyFromOffscreenTo(WinMMOffscreenSurface& offscreen, const Pair& source,
                                           const Box& destination)
{
    if (drawDib != nullptr && offscreen.GetPixelKind() != kPixelIndexed) {
        BITMAPINFOHEADER header = offscreen.Header();
        DrawDibDraw(drawDib, GetDC(), destination.left, destination.top, destination.Width(),
                    destination.Height(), &header, offscreen.Bits(), source.x, source.y,
                    destination.Width(), destination.Height(), 0);
        return;
    }
    MMSurface::CopyFromOffscreenTo(offscreen, source, destination);
}

void MMControlSurface::SetColorTable(const MMColorTable& table)
{
    AFWindow* owner = AFWindow::FromHandle(GetParent(window));
    if (owner == nullptr) {
        owner = AFWindow::FromHandle(window);
    }
    if (owner == nullptr || dc == nullptr) {
        return;
    }
    // The window deletes its old palette: this device context lets go of it first.
    SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), TRUE);
    owner->SetPalette(table);
    if (owner->palette != nullptr) {
        SelectPalette(dc, owner->palette, TRUE);
        RealizePalette(dc);
    }
}

MMDrawingSurface::MMDrawingSurface()
{
    store.bitsPerPixel = 0;
    store.pixelKind = -1;
    store.transparencyKind = -1;
}

Box MMDrawingSurface::GetBounds() const
{
    return store.box;
}

int MMDrawingSurface::GetPixelKind() const
{
    return store.pixelKind;
}

bool MMDrawingSurface::GetBitmap(MMBitmap& out) const
{
    out = store;
    return true;
}

void MMDrawingSurface::SetOrigin(const Pair& point)
{
    SetWindowOrgEx(dc, point.x, point.y, nullptr);
    store.box.Offset({point.x - origin.x, point.y - origin.y});
    origin = point;
    // The clip region is in device coordinates: give it again.
    clipPending = true;
}

void MMDrawingSurface::SetColorTable(const MMColorTable& table)
{
    colorTable.Assign(table);
    RGBQUAD entries[256];
    for (int i = 0; i < 256; ++i) {
        entries[i] = table.entries[i];
        entries[i].rgbReserved = 0;
    }
    SetDIBColorTable(dc, 0, 256, entries);
    MMLogPalette logical;
    MakeLogPalette(table, dc, logical);
    HPALETTE palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
    if (palette == nullptr) {
        return;
    }
    SelectOwnPalette(palette, FALSE);
}

void WinMMOffscreenSurface::ReleaseResources()
{
    if (dc == nullptr) {
        return;
    }
    if (ownPalette != nullptr) {
        SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
        DeleteObject(ownPalette);
        ownPalette = nullptr;
    }
    MMDrawingSurface::ReleaseResources();
    SelectObject(dc, previousBitmap);
    DeleteObject(section);
    DeleteDC(dc);
    section = nullptr;
    dc = nullptr;
}

void WinMMOffscreenSurface::Prepare(HDC memoryDC, HBITMAP dib, int32_t bitsPerPixel,
                                    const Box& box, const MMColorTable* table)
{
    DIBSECTION description = {};
    GetObject(dib, sizeof(description), &description);
    header = description.dsBmih;
    header.biCompression = BI_RGB;
    bits = description.dsBm.bmBits;
    section = dib;
    dc = memoryDC;

    store.bitsPerPixel = bitsPerPixel;
    store.bytesPerPixel = bitsPerPixel / 8;
    store.pixelKind = PixelKindForBits(bitsPerPixel);
    store.transparencyKind = kTransparencyOpaque;
    store.box = box;
    store.pitch = -((bitsPerPixel * box.Width() / 8 + 3) & ~3);
    store.pixels = static_cast<uint8_t*>(bits) - (box.Height() - 1) * store.pitch;
    clipBox = box;
    clipPending = false;

    previousBitmap = SelectObject(dc, section);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE | TA_UPDATECP);
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SelectClipRgn(dc, nullptr);
    if (table != nullptr) {
        SetColorTable(*table);
    }
    SetWindowOrgEx(dc, box.left, box.top, nullptr);
    origin = {box.left, box.top};
}

WinMMOffscreenSurface* MMSurface::CreateBitmapDC(int32_t bitsPerPixel, const Box& box,
                                                 const MMColorTable* table)
{
    // The store only describes these depths; a section of another depth would
    // hold fewer bytes than the blitters write through it.
    if (bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32) {
        FailWithoutError();
        return nullptr;
    }
    HDC memoryDC = CreateCompatibleDC(nullptr);
    if (memoryDC == nullptr) {
        FailWithoutError();
        return nullptr;
    }
    BitmapInfo256 info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = box.Width();
    info.header.biHeight = box.Height();
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.header.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(memoryDC, reinterpret_cast<BITMAPINFO*>(&info),
                                       DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section == nullptr) {
        DeleteDC(memoryDC);
        FailWithoutError();
        return nullptr;
    }
    WinMMOffscreenSurface* surface = new (gDefaultHeap) WinMMOffscreenSurface;
    if (surface == nullptr) {
        DeleteObject(section);
        DeleteDC(memoryDC);
        FailWithoutError();
        return nullptr;
    }
    surface->Prepare(memoryDC, section, bitsPerPixel, box, table);
    return surface;
}
