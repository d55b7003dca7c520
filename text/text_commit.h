#pragma once
// Typed text becoming paint: the text drawn black-on-white (or in its
// colours) on a 32-bit surface of the box's size gets an alpha byte per
// pixel from the opacity, is softened, and is blended into the canvas plane,
// where it also raises or carves the paint height by the relief.
#include <cstdint>

#include "framework/geometry.h"

class KVXPlaneComponentTop;
class MMBitmap;
class MMSurface;

// White pixels get alpha 255 (the canvas stays); the others
// (510 - opacity) * 255 / 510, so opacity 510 paints the text colour fully.
void SetTextAlpha(const MMBitmap& text, int32_t opacity);
// Blends the text, whose top-left lies at `at` in plane coordinates, into
// the plane where they overlap: colour by its alpha, type plain, height
// moved by (relief - 255) * (255 - alpha) / 255 and kept within 0 to 65535.
// Answers the plane box.
Box BlendTextIntoPlane(KVXPlaneComponentTop& plane, const MMBitmap& text, const Pair& at,
                       int32_t relief);

// What the text box offers the commit: whether it holds text, and drawing
// its text into a surface of its size.
class KVXTextDrawing {
public:
    virtual ~KVXTextDrawing() = default;
    virtual bool HasText() = 0;
    virtual void DrawTextInto(MMSurface* surface) = 0;
};

// What the canvas offers the commit.
class KVXTextCanvas {
public:
    virtual ~KVXTextCanvas() = default;
    virtual KVXPlaneComponentTop* Plane() = 0;
    // The plane's top-left on the stage.
    virtual Pair Origin() = 0;
    virtual void TakeUndoSnapshot() = 0;
    // The whole plane changed: redraw it.
    virtual void PlaneChanged() = 0;
};

// The whole commit of a box (stage coordinates): nothing, not even an undo
// snapshot, when the box holds no text or a surface cannot be made.
bool RenderTextIntoCanvas(KVXTextDrawing& drawing, KVXTextCanvas& canvas, const Box& box,
                          int32_t opacity, int32_t relief);
