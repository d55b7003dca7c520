#pragma once
// Drawing surface: a GDI device context with a lazily applied clip box, a
// nesting lock count and the GDI drawing primitives.
#include <windows.h>
#include <cstdint>
#include "framework/color_table.h"
#include "media/color.h"
#include "framework/geometry.h"
#include "media/bitmap.h"
#include "media/font.h"

class WinMMOffscreenSurface;

// How a text stands at its anchor point.
enum MMHorizontalAlignment : int32_t { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };
enum MMVerticalAlignment : int32_t {
    kAlignBaseline = 0,
    kAlignCapMiddle = 1,
    kAlignCapTop = 2,
};

struct MMTextStyle {
    MMFont* font;  // not owned
    MMColor color;
    int32_t horizontalAlignment;
    int32_t verticalAlignment;
};

class MMSurface {
public:
    // The most polygons FillPolyPolygon takes.
    static constexpr int kMaxPolygons = 50;

    MMSurface();

    virtual Box GetBounds() const = 0;
    virtual int GetPixelKind() const = 0;            // kPixelNoStore without store
    virtual bool GetBitmap(MMBitmap& out) const = 0;
    virtual bool GetClippedBitmap(MMBitmap& out);
    virtual HDC GetDC();
    virtual ~MMSurface();
    virtual void ReleaseResources();
    virtual void ApplyClip();
    virtual void OnUnlocked();
    // Drawing surfaces move their coordinates and take colour tables; the
    // window surface takes a colour table as its window's palette. Neither
    // does anything here.
    virtual void SetOrigin(const Pair& origin);
    virtual void SetColorTable(const MMColorTable& table);
    // Copies a box of the back buffer to the same place of this surface, or
    // from a source point to a destination box (sizes of the destination).
    virtual void CopyFromOffscreen(WinMMOffscreenSurface& offscreen, const Box& box);
    virtual void CopyFromOffscreenTo(WinMMOffscreenSurface& offscreen, const Pair& source,
                                     const Box& destination);

    void Lock();
    void Unlock();
    int16_t LockCount() const { return lockCount; }
    void SetClipBox(const Box& box);
    const Box& GetClipBox() const { return clipBox; }
    bool IsClipPending() const { return clipPending; }
    // Ends a surface: releases its GDI objects, then deletes it.
    void Dispose();

    BOOL SetPixel(int32_t x, int32_t y, MMColor color);
    BOOL FillBox(const Box& box, MMColor color);
    BOOL FrameBox(const Box& box, MMColor color, int32_t width);
    BOOL DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, MMColor color, int32_t width);
    BOOL DrawPolyline(const Pair* points, int32_t count, MMColor color, int32_t width);
    BOOL FillPolygon(const Pair* points, int32_t count, MMColor color);
    // At most kMaxPolygons polygons; further ones are not drawn.
    BOOL FillPolyPolygon(const Pair* points, const int16_t* counts, int32_t polygonCount,
                         MMColor color);
    BOOL FrameEllipse(const Box& box, MMColor color, int32_t width);
    BOOL FillEllipse(const Box& box, MMColor color);
    int FillBlack(const RECT& rectangle);
    // True when the update rectangle is exactly the uncovered strip.
    bool Scroll(const RECT& rectangle, int32_t dx, int32_t dy);

    // New 8-, 24- or 32-bit DIB-section back buffer covering box, or null
    // with the pending error set.
    static WinMMOffscreenSurface* CreateBitmapDC(int32_t bitsPerPixel, const Box& box,
                                                 const MMColorTable* table);

    // Text. A font is selected for one measuring or drawing sequence, with
    // the surface locked: SelectFont ... ReleaseFont.
    void SelectFont(MMFont* font);
    void ReleaseFont();
    int32_t FontCapHeight();
    int32_t FontAscent();
    int32_t FontDescent();
    int32_t FontLineHeight();
    int32_t TextWidth(const char* text, int32_t length);
    int32_t LeadingOverhang(const char* text);
    int32_t TrailingOverhang(const char* character);
    void MoveTextTo(int32_t x, int32_t y);
    Pair TextPosition();
    void DrawTextRun(MMColor color, const char* text, int32_t length);

    // Alignment against an anchor (the program always anchors at 0).
    static int32_t AlignByWidth(int32_t x, int32_t alignment, int32_t anchor, int32_t width);
    int32_t AlignText(int32_t x, int32_t alignment, int32_t anchor, const char* text,
                      int32_t length);
    int32_t AlignBaseline(int32_t y, int32_t alignment, int32_t anchor);

    // The whole text at the point, aligned by the style; nothing without
    // text or font.
    void DrawStyledText(const char* text, const Pair& point, const MMTextStyle& style);
    // The box the text covers, overhangs included; an empty box at the point
    // without text or font.
    Box MeasureStyledText(const char* text, const Pair& point, const MMTextStyle& style);

    MMFont* selectedFont = nullptr;

protected:
    // Selects palette into the device context, deleting the one this surface
    // made before. The surface owns only palettes it made itself.
    void SelectOwnPalette(HPALETTE palette, BOOL background);

    Box clipBox;
    bool clipPending = false;
    HDC dc = nullptr;
    int16_t lockCount = 0;
    int16_t goingAway = 0;
    HPALETTE ownPalette = nullptr;

private:
    HPEN MakePen(MMColor color, int32_t width);
    HBRUSH MakeBrush(MMColor color);
    void DropPen(HPEN pen);
    void DropBrush(HBRUSH brush);
};
