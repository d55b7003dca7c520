#pragma once
// The window surface (the stage control's client area) and the drawing
// surfaces with a pixel store, among them the DIB-section back buffer.
#include <windows.h>
#include <vfw.h>
#include "media/surface.h"

class MMDrawingSurface;
class WinMMOffscreenSurface;

class MMControlSurface : public MMSurface {
public:
    // Takes the window's device context (never released). DrawDib opens only
    // on displays of fewer than 16 bits per pixel, with the owner's palette.
    MMControlSurface(HWND window, HPALETTE ownerPalette);
    ~MMControlSurface() override;

    Box GetBounds() const override;
    int GetPixelKind() const override;
    bool GetBitmap(MMBitmap& out) const override;

    // Through DrawDib on palette displays.
    void CopyFromOffscreen(WinMMOffscreenSurface& offscreen, const Box& box) override;
    void CopyFromOffscreenTo(WinMMOffscreenSurface& offscreen, const Pair& source,
                             const Box& destination) override;
    // The owner window takes a palette of the table, which this surface
    // then uses as its background palette; the window keeps owning it.
    void SetColorTable(const MMColorTable& table) override;

    HWND Window() const { return window; }
    bool UsesDrawDib() const { return drawDib != nullptr; }

private:
    HWND window;
    HDRAWDIB drawDib = nullptr;
};

class MMDrawingSurface : public MMSurface {
public:
    MMDrawingSurface();

    Box GetBounds() const override;
    int GetPixelKind() const override;
    bool GetBitmap(MMBitmap& out) const override;
    void SetOrigin(const Pair& origin) override;
    void SetColorTable(const MMColorTable& table) override;

    const MMBitmap& Store() const { return store; }
    const MMColorTable& ColorTable() const { return colorTable; }

protected:
    MMBitmap store;
    MMColorTable colorTable;
    Pair origin = {0, 0};
};

class WinMMOffscreenSurface : public MMDrawingSurface {
public:
    void ReleaseResources() override;

    const BITMAPINFOHEADER& Header() const { return header; }
    void* Bits() const { return bits; }

private:
    friend class MMSurface;
    WinMMOffscreenSurface() = default;
    void Prepare(HDC memoryDC, HBITMAP section, int32_t bitsPerPixel, const Box& box,
                 const MMColorTable* table);

    BITMAPINFOHEADER header = {};
    void* bits = nullptr;
    HBITMAP section = nullptr;
    HGDIOBJ previousBitmap = nullptr;
};
