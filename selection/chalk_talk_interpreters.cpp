#include "selection/chalk_talk_interpreters.h"

#include <algorithm>

#include "engine/enclosure.h"
#include "engine/record_table.h"
#include "engine/stage.h"
#include "selection/chalk_talk_scene.h"
#include "selection/shape_visuals.h"
#include "shell/widgets/animation_thread.h"

namespace {
const int16_t kCursorTable = 760;
const int16_t kCursorTableTag = 31;
const int16_t kBandLayer = 150;

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
                                                         int16_t cursorKey)
    : MMStandardMouseInterpreter(scene->Stage()), scene(scene), canvas(canvas)
{
    SetCursor(CursorOfKey(cursorKey));
    canvas->SetMouseInterpreter(this);
}

KVXChalkTalkInterpreterBase::~KVXChalkTalkInterpreterBase() { RemoveBand(); }

void KVXChalkTalkInterpreterBase::RemoveBand()
{
    if (!band)
        return;
    band->Invalidate();
    if (band->Enclosure())
        band->Enclosure()->RemoveVisual(band);
    delete band;
    band = nullptr;
}

Pair KVXChalkTalkInterpreterBase::Clamped(int32_t x, int32_t y) const
{
    Box b = canvas->GetBounds();
    return {std::clamp(x, b.left, b.right - 1), std::clamp(y, b.top, b.bottom - 1)};
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
        Press(Pair{event.x, event.y});
        if (band)
            stage_->TopEnclosure()->AddVisual(band);
        return true;
    }
    Pair point = Clamped(event.x, event.y);
    if ((event.data & kPointerReleased) || !(event.data & kPointerHeld)) {
        std::vector<Pair> points = Release(point);
        RemoveBand();
        drawing = false;
        scene->StoreStep(points.data(), int32_t(points.size()));
        return false;
    }
    Move(point);
    return true;
}

void KVXChalkTalkInterpreterBase::CaptureLost()
{
    // A stroke cut short is dropped; the step waits for the next one.
    if (drawing) {
        RemoveBand();
        drawing = false;
    }
    MMStandardMouseInterpreter::CaptureLost();
}

void KVXChalkTalkInterpreter::Press(const Pair& point)
{
    stroke.Press(point);
    auto* line = new KVXPolyLineShapeVisual(canvas, point.x, point.y, kBandLayer);
    line->AddPoint(point.x, point.y);
    band = line;
}

void KVXChalkTalkInterpreter::Move(const Pair& point)
{
    if (stroke.Move(point) && band)
        static_cast<KVXPolyLineShapeVisual*>(band)->AddPoint(point.x, point.y);
}

std::vector<Pair> KVXChalkTalkInterpreter::Release(const Pair& point) { return stroke.Release(point); }

KVXChalkTalkShapeInterpreter::KVXChalkTalkShapeInterpreter(ChalkTalkScene* scene,
                                                           ChalkTalkCanvasVisual* canvas, bool circle,
                                                           int16_t cursorKey)
    : KVXChalkTalkInterpreterBase(scene, canvas, cursorKey), circle(circle)
{
}

void KVXChalkTalkShapeInterpreter::Press(const Pair& point)
{
    if (circle)
        band = new KVXEllipticalShapeVisual(canvas, point.x, point.y, kBandLayer);
    else
        band = new KVXRectangularShapeVisual(canvas, point.x, point.y, kBandLayer);
}

void KVXChalkTalkShapeInterpreter::Move(const Pair& point)
{
    if (band)
        band->TrackPoint(point.x, point.y);
}

std::vector<Pair> KVXChalkTalkShapeInterpreter::Release(const Pair& point)
{
    Move(point);
    return SlateShapeStroke(circle, band, point);
}
