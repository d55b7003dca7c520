#include "selection/slate_interpreters.h"

#include "canvas/canvas_visual.h"
#include "engine/enclosure.h"
#include "engine/stage.h"
#include "tools/tool_sound.h"
#include "trays/sub_scene.h"

namespace {
bool IsUp(const MMStageEvent& e)
{
    return (e.data & kPointerReleased) || !(e.data & kPointerHeld);
}
}  // namespace

KVXMagicSlateInterpreterBase::KVXMagicSlateInterpreterBase(KVXCreationHost* host, MMStage* stage,
                                                           KVXCanvasVisual* canvas,
                                                           KVXMagicSlateToolCollection* tray,
                                                           MMCursor* cursor, SlateShape shape)
    : KVXInterpreterWithBrush(host, stage, canvas, nullptr, nullptr, cursor), tray(tray),
      pen(shape)
{
    if (host != nullptr)
        SetPending(host->ColorPickerOwner());
}

bool KVXMagicSlateInterpreterBase::Interpret(const MMStageEvent& e)
{
    if (!strokeActive && HandlePicking(e, false))
        return true;
    if (e.type != kStageEventPointer || canvas == nullptr)
        return strokeActive;
    if (!strokeActive) {
        if (!(e.data & kPointerPressed) || !canvas->ContainsPoint(e.x, e.y))
            return false;
        canvas->SnapshotForUndo(false);
        if (tray != nullptr)
            tray->Refresh();
        strokeActive = true;
        pen.Press(canvas, {e.x, e.y},
                  stage_ != nullptr ? stage_->TopEnclosure() : nullptr);
        Pressed({e.x, e.y});
        return true;
    }
    Pair point = SlateClamped(canvas->GetBounds(), e.x, e.y);
    if (!IsUp(e)) {
        Moved(point);
        pen.Move(point);
        return true;
    }
    Released();
    std::vector<Pair> points = pen.Release(point);
    pen.RemoveBand();
    strokeActive = false;
    if (tray != nullptr && !points.empty())
        tray->StoreStroke(points.data(), int32_t(points.size()));
    return false;
}

void KVXMagicSlateInterpreterBase::CaptureLost()
{
    if (strokeActive) {
        Abandon();
        pen.RemoveBand();
        strokeActive = false;
    }
    KVXInterpreterWithBrush::CaptureLost();
}

KVXMagicSlateInterpreter::KVXMagicSlateInterpreter(KVXCreationHost* host, MMStage* stage,
                                                   KVXCanvasVisual* canvas,
                                                   KVXMagicSlateToolCollection* tray,
                                                   MMCursor* cursor, MMResourceId soundId)
    : KVXMagicSlateInterpreterBase(host, stage, canvas, tray, cursor, kSlateFreehand),
      sound(new KVXToolSound(stage, soundId))
{
}

KVXMagicSlateInterpreter::~KVXMagicSlateInterpreter() = default;

void KVXMagicSlateInterpreter::Pressed(const Pair& point) { sound->Start(point.x, point.y); }

void KVXMagicSlateInterpreter::Moved(const Pair& point) { sound->Track(point.x, point.y); }

void KVXMagicSlateInterpreter::Released() { sound->Stop(); }

void KVXMagicSlateInterpreter::Abandon() { sound->Stop(); }
