#include "selection/chalk_talk_interpreters.h"

#include "engine/enclosure.h"
#include "engine/record_table.h"
#include "engine/stage.h"
#include "selection/chalk_talk_scene.h"
#include "shell/widgets/animation_thread.h"

namespace {
const int16_t kCursorTable = 760;
const int16_t kCursorTableTag = 31;

MMCursor* CursorOfKey(int16_t key)
{
    MMRecordTable cursors;
    cursors.LoadTenByteRows(kCursorTable, kCursorTableTag);
    int32_t row = cursors.FindRowByKey(key);
    return KVXAppCursor(int16_t(row >= 0 ? cursors.LongAt(row, 2) : 0));
}
}  // namespace

KVXChalkTalkInterpreterBase::KVXChalkTalkInterpreterBase(ChalkTalkScene* scene,
                                                         ChalkTalkCanvasVisual* canvas,
                                                         SlateShape shape, int16_t cursorKey)
    : MMStandardMouseInterpreter(scene->Stage()), scene(scene), canvas(canvas), pen(shape)
{
    SetCursor(CursorOfKey(cursorKey));
    canvas->SetMouseInterpreter(this);
}

bool KVXChalkTalkInterpreterBase::Interpret(const MMStageEvent& event)
{
    if (event.type != kStageEventPointer)
        return drawing;
    if (!drawing) {
        if (!(event.data & kPointerPressed) || !canvas->GetBounds().Contains(Pair{event.x, event.y}))
            return false;
        scene->ChildStartedDrawing();
        drawing = true;
        pen.Press(canvas, Pair{event.x, event.y}, stage_->TopEnclosure());
        return true;
    }
    Pair point = SlateClamped(canvas->GetBounds(), event.x, event.y);
    if ((event.data & kPointerReleased) || !(event.data & kPointerHeld)) {
        std::vector<Pair> points = pen.Release(point);
        pen.RemoveBand();
        drawing = false;
        scene->StoreStep(points.data(), int32_t(points.size()));
        return false;
    }
    pen.Move(point);
    return true;
}

void KVXChalkTalkInterpreterBase::CaptureLost()
{
    // A stroke cut short is dropped; the step waits for the next one.
    if (drawing) {
        pen.RemoveBand();
        drawing = false;
    }
    MMStandardMouseInterpreter::CaptureLost();
}
