#include "tools/rope_tool.h"

#include "brushes/path_generator.h"
#include "canvas/canvas_visual.h"
#include "tools/shape_interpreter.h"

namespace {
KVXRopeInterpreterFactory gRopeFactory = nullptr;
const int32_t kRopeSizeType = 2;
}  // namespace

void SetRopeInterpreterFactory(KVXRopeInterpreterFactory factory) { gRopeFactory = factory; }

RopeTool::RopeTool(KVXCreationHost* scene, MMResourceId tableId, int32_t value)
    : KVXToolStd(scene, tableId, kRopeSizeType), value(value)
{
    soundId = kRopeSound;
    drawMethodKind = 1;
    cursorIndex = ToolCursorIndex(kRopeCircleCursorKey, cursorIndex);
}

void RopeTool::MakeGenerator() { AttachGenerator(new (gDefaultHeap) SimplePathGenerator); }

void RopeTool::BuildRopeInterpreter()
{
    interpreter = nullptr;
    if (!gRopeFactory)
        return;
    KVXShapeInterpreter* rope = gRopeFactory(shape, creationScene, Stage(), GetCreationCanvas(),
                                             brush, AppCursor(cursorIndex), kRopeSound);
    if (rope && shape != kRopePolyline)
        rope->SetFeedbackStyle(1);
    interpreter = rope;
}

void RopeTool::MakeInterpreter()
{
    // Beginning the tool always starts with the circle.
    shape = kRopeCircle;
    cursorIndex = ToolCursorIndex(kRopeCircleCursorKey, cursorIndex);
    BuildRopeInterpreter();
}

void RopeTool::UseRope(KVXRopeShape newShape, int16_t cursorKey)
{
    cursorIndex = ToolCursorIndex(cursorKey, cursorIndex);
    if (!interpreter)
        return;
    shape = newShape;
    KVXCanvasVisual* canvas = GetCreationCanvas();
    interpreter->ReleaseCapture();
    if (canvas && canvas->GetMouseInterpreter() == interpreter)
        canvas->SetMouseInterpreter(nullptr);
    delete interpreter;
    BuildRopeInterpreter();
    if (canvas)
        canvas->SetMouseInterpreter(interpreter);
}

void RopeTool::UsePolylineRope() { UseRope(kRopePolyline, kRopePolylineCursorKey); }
void RopeTool::UseCircleRope() { UseRope(kRopeCircle, kRopeCircleCursorKey); }
void RopeTool::UseRectangleRope() { UseRope(kRopeRectangle, kRopeRectangleCursorKey); }

void RopeTool::Finish(int32_t)
{
    if (auto* rope = dynamic_cast<KVXRopeFinisher*>(interpreter))
        rope->FinishRope(0);
}
