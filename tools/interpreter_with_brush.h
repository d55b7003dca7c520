#pragma once
// What the drawing interpreters share: the tool's brushes, Control-click
// colour picking from the canvas, and the conversion of a pen sample into a
// path sample in canvas pixels.
#include <cstdint>

#include "brushes/brush_dab.h"
#include "engine/mouse_interpreter.h"
#include "engine/stage_event.h"

class BrushBase;
class KVXCanvasVisual;
class KVXCreationHost;
class KVXPaletteTarget;

class KVXInterpreterWithBrush : public MMStandardMouseInterpreter {
public:
    // host gives the application's cursors (the pick cursor is the one of
    // table 760's key-0 row); it may be null.
    KVXInterpreterWithBrush(KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas,
                            BrushBase* brush, BrushBase* writeAllBrush, MMCursor* cursor);

    // Enables Control-click colour picking into target.
    void SetPending(KVXPaletteTarget* target);
    // Gives the interpreter new brushes (not owned); a stroke in progress is
    // ended with its last sample first.
    virtual void SetBrushes(BrushBase* newBrush, BrushBase* newWriteAllBrush);
    // Ends a begun stroke with its last sample (before its brush goes away).
    virtual void EndBegunStroke() {}

    // A pen sample (relative to the canvas visual) as a path sample in
    // canvas pixels with a size index 0 to 19.
    BrushDab MakePathSample(const MMPointerSample& sample) const;
    // Sends the canvas colour under a stage point to the pick target.
    void PickColor(int32_t x, int32_t y);

    BrushBase* Brush() const { return brush; }
    BrushBase* WriteAllBrush() const { return writeAllBrush; }
    KVXCanvasVisual* Canvas() const { return canvas; }
    bool PickEnabled() const { return pickEnabled != 0; }
    bool Picking() const { return picking != 0; }
    bool CursorSwapped() const { return cursorSwapped != 0; }
    int16_t PickCursorIndex() const { return pickCursorIndex; }

protected:
    MMCursor* AppCursor(int32_t n) const;
    // Steps 1 and 2 of every drawing interpreter: picking and the Control
    // key. True when the event was taken by them.
    bool HandlePicking(const MMStageEvent& event, bool busy);
    void RestoreSwappedCursor();
    void ShowPickCursor();
    enum StrokeStep { kStrokeBegin, kStrokeContinue, kStrokeEnd };
    // The sample, as a path sample, to that step of the brush's stroke; the
    // canvas is redrawn.
    void StrokeBrush(StrokeStep step, const MMPointerSample& sample);

    KVXCreationHost* host;
    KVXCanvasVisual* canvas;
    BrushBase* brush;
    BrushBase* writeAllBrush;
    uint8_t pickEnabled = 0;
    KVXPaletteTarget* pickTarget = nullptr;
    MMCursor* savedCursor = nullptr;
    uint8_t cursorSwapped = 0;
    uint8_t picking = 0;
    int16_t pickCursorIndex;
};

// The 16-bit fraction that every coordinate of a sample carries.
inline double SampleCoordinate(int32_t v) { return v + (v & 0xFFFF) / 65535.0; }
