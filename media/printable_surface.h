#pragma once
// Printing pictures held in offscreen surfaces: a printable that stretches a
// surface's pixels into its Box, and a ready-made session that prints one
// surface, as large as the page allows, on one page.
#include <cstdint>

#include "framework/print_session.h"
#include "framework/printable.h"

class WinMMOffscreenSurface;

class MMPrintableSurface : public AFPrintable {
public:
    // Makes and owns a bitmap surface (8, 24 or 32 bits per pixel) covering
    // `bounds`; Surface() is null when it could not be made.
    MMPrintableSurface(const Box& box, int32_t bitsPerPixel, const Box& bounds,
                       const MMColorTable* colors);
    // Prints a surface it does not own.
    MMPrintableSurface(const Box& box, WinMMOffscreenSurface* surface);
    ~MMPrintableSurface() override;

    bool Print(AFPrintSession& session) override;
    WinMMOffscreenSurface* Surface() const { return surface; }

private:
    bool ownsSurface;
    WinMMOffscreenSurface* surface;
};

class MMPrintSurface : public AFPrintSession {
public:
    MMPrintSurface(AFPrintConfiguration& configuration, WinMMOffscreenSurface& surface);
    ~MMPrintSurface() override;

    // Fits the surface to the page as it is now (the print dialog may have
    // changed the printer), then prints it.
    bool PrintPage(int page) override;
    Box PrintableBox() const;

private:
    Box FittedBox() const;

    WinMMOffscreenSurface* surface;
    MMPrintableSurface* printable;
};
