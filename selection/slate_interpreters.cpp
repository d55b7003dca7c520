#include "selection/slate_interpreters.h"

#include <algorithm>

#include "canvas/canvas_visual.h"
#include "engine/enclosure.h"
#include "engine/stage.h"
#include "selection/shape_visuals.h"
#include "tools/tool_sound.h"
#include "trays/sub_scene.h"

namespace {
const int16_t kBandLayer = 150;

bool IsUp(const MMStageEvent& e)
{
    return (e.data & kPointerReleased) || !(e.data & kPointerHeld);
}
}  // namespace

KVXMagicSlateInterpreterBase::KVXMagicSlateInterpreterBase(KVXCreationHost* host, MMStage* stage,
                                                           KVXCanvasVisual* canvas,
                                                           KVXMagicSlateToolCollection* tray,
                                                           MMCursor* cursor)
    : KVXInterpreterWithBrush(host, stage, canvas, nullptr, nullptr, cursor), tray(tray)
{
    if (host != nullptr)
        SetPending(host->ColorPickerOwner());
}

KVXMagicSlateInterpreterBase::~KVXMagicSlateInterpreterBase() { RemoveBand(); }

void KVXMagicSlateInterpreterBase::ShowBand(KVXShapeVisual* visual)
{
    band = visual;
    if (stage_ != nullptr && stage_->TopEnclosure() != nullptr)
        stage_->TopEnclosure()->AddVisual(band);
}

void KVXMagicSlateInterpreterBase::RemoveBand()
{
    if (band == nullptr)
        return;
    band->Invalidate();
    if (band->Enclosure() != nullptr)
        band->Enclosure()->RemoveVisual(band);
    delete band;
    band = nullptr;
}

Pair KVXMagicSlateInterpreterBase::Clamped(int32_t x, int32_t y) const
{
    Box b = canvas->GetBounds();
    return {std::clamp(x, b.left, b.right - 1), std::clamp(y, b.top, b.bottom - 1)};
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
        Press({e.x, e.y});
        return true;
    }
    Pair point = Clamped(e.x, e.y);
    if (!IsUp(e)) {
        Move(point);
        return true;
    }
    std::vector<Pair> points = Release(point);
    RemoveBand();
    strokeActive = false;
    if (tray != nullptr && !points.empty())
        tray->StoreStroke(points.data(), int32_t(points.size()));
    return false;
}

void KVXMagicSlateInterpreterBase::CaptureLost()
{
    if (strokeActive) {
        Abandon();
        RemoveBand();
        strokeActive = false;
    }
    KVXInterpreterWithBrush::CaptureLost();
}

KVXMagicSlateInterpreter::KVXMagicSlateInterpreter(KVXCreationHost* host, MMStage* stage,
                                                   KVXCanvasVisual* canvas,
                                                   KVXMagicSlateToolCollection* tray,
                                                   MMCursor* cursor, MMResourceId soundId)
    : KVXMagicSlateInterpreterBase(host, stage, canvas, tray, cursor),
      sound(new KVXToolSound(stage, soundId))
{
}

KVXMagicSlateInterpreter::~KVXMagicSlateInterpreter() = default;

void KVXMagicSlateInterpreter::Press(const Pair& point)
{
    stroke.Press(point);
    auto* line = new KVXPolyLineShapeVisual(canvas, point.x, point.y, kBandLayer);
    line->AddPoint(point.x, point.y);
    ShowBand(line);
    sound->Start(point.x, point.y);
}

void KVXMagicSlateInterpreter::Move(const Pair& point)
{
    sound->Track(point.x, point.y);
    if (stroke.Move(point) && band != nullptr)
        static_cast<KVXPolyLineShapeVisual*>(band)->AddPoint(point.x, point.y);
}

std::vector<Pair> KVXMagicSlateInterpreter::Release(const Pair& point)
{
    sound->Stop();
    return stroke.Release(point);
}

void KVXMagicSlateInterpreter::Abandon() { sound->Stop(); }

KVXMagicSlateShapeInterpreter::KVXMagicSlateShapeInterpreter(KVXCreationHost* host, MMStage* stage,
                                                             KVXCanvasVisual* canvas,
                                                             KVXMagicSlateToolCollection* tray,
                                                             MMCursor* cursor, bool circle)
    : KVXMagicSlateInterpreterBase(host, stage, canvas, tray, cursor), circle(circle)
{
}

void KVXMagicSlateShapeInterpreter::Press(const Pair& point)
{
    if (circle)
        ShowBand(new KVXEllipticalShapeVisual(canvas, point.x, point.y, kBandLayer));
    else
        ShowBand(new KVXRectangularShapeVisual(canvas, point.x, point.y, kBandLayer));
}

void KVXMagicSlateShapeInterpreter::Move(const Pair& point)
{
    if (band != nullptr)
        band->TrackPoint(point.x, point.y);
}

std::vector<Pair> KVXMagicSlateShapeInterpreter::Release(const Pair& point)
{
    Move(point);
    return SlateShapeStroke(circle, band, point);
}
