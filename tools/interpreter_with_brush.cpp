#include "tools/interpreter_with_brush.h"

#include "canvas/canvas_visual.h"
#include "tools/palette_target.h"
#include "tools/tool_base.h"
#include "trays/sub_scene.h"

namespace {
const int16_t kPickCursorKey = 0;
}

KVXInterpreterWithBrush::KVXInterpreterWithBrush(KVXCreationHost* host, MMStage* stage,
                                                 KVXCanvasVisual* canvas, BrushBase* brush,
                                                 BrushBase* writeAllBrush, MMCursor* cursor)
    : MMStandardMouseInterpreter(stage, nullptr, cursor),
      host(host),
      canvas(canvas),
      brush(brush),
      writeAllBrush(writeAllBrush),
      pickCursorIndex(int16_t(ToolCursorIndex(kPickCursorKey, 0)))
{
}

void KVXInterpreterWithBrush::SetPending(KVXPaletteTarget* target)
{
    pickTarget = target;
    pickEnabled = 1;
}

void KVXInterpreterWithBrush::SetBrushes(BrushBase* newBrush, BrushBase* newWriteAllBrush)
{
    EndBegunStroke();
    brush = newBrush;
    writeAllBrush = newWriteAllBrush;
}

MMCursor* KVXInterpreterWithBrush::AppCursor(int32_t n) const
{
    return host ? host->AppCursor(n) : nullptr;
}

BrushDab KVXInterpreterWithBrush::MakePathSample(const MMPointerSample& sample) const
{
    double x = SampleCoordinate(sample.x);
    double y = SampleCoordinate(sample.y);
    if (canvas && canvas->IsZoomed()) {
        x = x / 2 + canvas->Scroll().x;
        y = y / 2 + canvas->Scroll().y;
    }
    BrushDab dab;
    return dab.Set(x, y, int32_t(0.5 + 19.0 * sample.pressure / 255), 0, 0);
}

void KVXInterpreterWithBrush::PickColor(int32_t x, int32_t y)
{
    if (!canvas || !canvas->ContainsPoint(x, y) || !canvas->Plane())
        return;
    Pair at = canvas->GetPosition();
    int32_t col = x - at.x;
    int32_t row = y - at.y;
    if (canvas->IsZoomed()) {
        col = canvas->Scroll().x + col / 2;
        row = canvas->Scroll().y + row / 2;
    }
    const KVXPlaneComponentTop* plane = canvas->Plane();
    if (col < 0 || row < 0 || col >= plane->width || row >= plane->height)
        return;
    if (pickTarget)
        pickTarget->NotifyPaletteMolecule(plane->ColorAt(col, row));
}

void KVXInterpreterWithBrush::ShowPickCursor()
{
    if (MMCursor* pick = AppCursor(pickCursorIndex))
        SetCursor(pick);
}

void KVXInterpreterWithBrush::RestoreSwappedCursor()
{
    if (!cursorSwapped)
        return;
    SetCursor(savedCursor);
    cursorSwapped = 0;
}

bool KVXInterpreterWithBrush::HandlePicking(const MMStageEvent& e, bool busy)
{
    if (picking) {
        if (e.data & kPointerReleased) {
            picking = 0;
            RestoreSwappedCursor();
        } else {
            ShowPickCursor();
            PickColor(e.x, e.y);
        }
        return true;
    }
    if (!busy && pickEnabled && e.type == kStageEventPointer && (e.data & kPointerControl)) {
        if (!cursorSwapped) {
            savedCursor = Cursor();
            cursorSwapped = 1;
        }
        ShowPickCursor();
        if (e.data & kPointerPressed) {
            PickColor(e.x, e.y);
            picking = 1;
        }
        return true;
    }
    RestoreSwappedCursor();
    return false;
}

void KVXInterpreterWithBrush::StrokeBrush(StrokeStep step, const MMPointerSample& sample)
{
    BrushDab dab = MakePathSample(sample);
    if (brush) {
        if (step == kStrokeBegin)
            brush->BeginStroke(&dab);
        else if (step == kStrokeContinue)
            brush->ContinueStroke(&dab);
        else
            brush->EndStroke(&dab);
    }
    if (canvas)
        canvas->Invalidate();
}
