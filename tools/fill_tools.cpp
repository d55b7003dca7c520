#include "tools/fill_tools.h"

#include "brushes/flood_brush.h"
#include "brushes/gradient_brush.h"
#include "brushes/path_generator.h"
#include "canvas/canvas_visual.h"
#include "engine/molecule.h"
#include "engine/stage.h"
#include "framework/random.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "selection/shape_visuals.h"
#include "tools/shape_interpreter.h"

namespace {
// All four fills paint with the fixed row of their table.
const int32_t kFillSizeType = 2;
const int16_t kFullPressure = 255;
}  // namespace

FloodTool::FloodTool(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour)
    : KVXToolStd(scene, tableId, kFillSizeType, colour)
{
    cursorIndex = ToolCursorIndex(kFillCursorKey, cursorIndex);
    soundId = kFillSound;
    drawMethodKind = 3;
}

void FloodTool::MakeGenerator() { AttachGenerator(new (gDefaultHeap) SimplePathGenerator); }

void FloodTool::MakeBrush()
{
    KVXStdBrushArgs a(pressures, TargetPlane(), GetCanvasBytePlane());
    SetBrush(new (gDefaultHeap) KVXBrushFlood(a.path, a.ramp, a.opacity, a.heights, a.plane, a.nib,
                                              a.texture, colour, GetCreationCanvas(), &slider1,
                                              &slider2));
}

PatternFloodTool::PatternFloodTool(KVXCreationHost* scene, MMResourceId tableId,
                                   const uint8_t* colour, const int32_t* pattern)
    : FloodTool(scene, tableId, colour), pattern(pattern)
{
}

void PatternFloodTool::MakeBrush()
{
    KVXStdBrushArgs a(pressures, TargetPlane(), GetCanvasBytePlane());
    SetBrush(new (gDefaultHeap) KVXBrushPatternFlood(a.path, a.ramp, a.opacity, a.heights, a.plane,
                                                     a.nib, a.texture, colour, GetCreationCanvas(),
                                                     &slider1, &slider2, pattern));
}

LinearGradientFloodTool::LinearGradientFloodTool(KVXCreationHost* scene, MMResourceId tableId,
                                                 const uint8_t* colour,
                                                 const uint8_t* secondColour)
    : FloodTool(scene, tableId, colour), secondColour(secondColour)
{
}

void LinearGradientFloodTool::MakeBrush()
{
    KVXStdBrushArgs a(pressures, TargetPlane(), GetCanvasBytePlane());
    SetBrush(new (gDefaultHeap) KVXBrushlinearGradientFlood(
        a.path, a.ramp, a.opacity, a.heights, a.plane, a.nib, a.texture, colour,
        GetCreationCanvas(), &slider1, &slider2, secondColour));
}

void LinearGradientFloodTool::MakeInterpreter()
{
    auto* fill = new (gDefaultHeap) KVXGradientFillInterpreter(
        creationScene, Stage(), GetCreationCanvas(), brush, AppCursor(cursorIndex));
    fill->SetPending(creationScene ? creationScene->ColorPickerOwner() : nullptr);
    interpreter = fill;
}

void RadialGradientFloodTool::MakeBrush()
{
    KVXStdBrushArgs a(pressures, TargetPlane(), GetCanvasBytePlane());
    SetBrush(new (gDefaultHeap) KVXBrushRadialGradientFlood(
        a.path, a.ramp, a.opacity, a.heights, a.plane, a.nib, a.texture, colour,
        GetCreationCanvas(), &slider1, &slider2, secondColour));
}

void RadialGradientFloodTool::MakeInterpreter()
{
    auto* fill = new (gDefaultHeap) KVXRadialFillInterpreter(
        creationScene, Stage(), GetCreationCanvas(), brush, AppCursor(cursorIndex));
    fill->SetPending(creationScene ? creationScene->ColorPickerOwner() : nullptr);
    interpreter = fill;
}

// The fill interpreter.

KVXFillInterpreter::KVXFillInterpreter(KVXCreationHost* host, MMStage* stage,
                                       KVXCanvasVisual* canvas, BrushBase* brush, MMCursor* cursor)
    : KVXInterpreterWithBrush(host, stage, canvas, brush, nullptr, cursor)
{
}

KVXFillInterpreter::~KVXFillInterpreter()
{
    HideFeedback();
    DeleteChannels();
}

void KVXFillInterpreter::DeleteChannels()
{
    for (MMGenericSoundChannel** channel : {&loopChannel, &effectChannel}) {
        if (*channel) {
            (*channel)->Stop();
            delete *channel;
            *channel = nullptr;
        }
    }
}

void KVXFillInterpreter::HideFeedback()
{
    if (feedbackMolecule)
        delete feedbackMolecule;
    else
        delete feedbackVisual;
    feedbackMolecule = nullptr;
    feedbackVisual = nullptr;
    feedbackShown = 0;
}

MMPointerSample KVXFillInterpreter::SampleAt(int32_t x, int32_t y) const
{
    Pair at = canvas ? canvas->GetPosition() : Pair{0, 0};
    return MMPointerSample{x - at.x, y - at.y, kMouseCursor, kFullPressure};
}

bool KVXFillInterpreter::Interpret(const MMStageEvent& e)
{
    if (HandlePicking(e, dragging != 0))
        return picking != 0;
    if (e.type != kStageEventPointer)
        return dragging != 0;
    bool pressed = (e.data & kPointerPressed) && !(e.data & kPointerDoubleClick);
    if (pressed && !dragging && canvas && canvas->ContainsPoint(e.x, e.y)) {
        canvas->SnapshotForUndo(false);
        startPoint = {e.x, e.y};
        BeginStroke(SampleAt(e.x, e.y));
        if (!feedbackShown) {
            feedbackVisual = MakeFeedbackVisual();
            MMBaseScene* scene = host ? host->HostScene() : (stage_ ? stage_->Scene() : nullptr);
            if (feedbackVisual)
                feedbackMolecule = new (gDefaultHeap) MMVisualMolecule(scene, feedbackVisual);
            feedbackShown = 1;
        }
        // The fill's own sounds name no sound: the channels stay silent.
        DeleteChannels();
        if (stage_ && stage_->SoundManager()) {
            loopChannel = new (gDefaultHeap) MMGenericSoundChannel(stage_->SoundManager());
            effectChannel = new (gDefaultHeap) MMGenericSoundChannel(stage_->SoundManager());
            MMSoundReference none;
            none.Load(MM_NO_RESOURCE);
            loopChannel->Play(none, true);
            effectChannel->Play(none, false);
        }
        dragging = 1;
    } else if ((e.data & kPointerHeld) && dragging) {
        int16_t dx = int16_t(e.x - startPoint.x);
        int16_t dy = int16_t(e.y - startPoint.y);
        float d = FastSqrt(float(int32_t(dx) * dx + int32_t(dy) * dy));
        int32_t w = canvas ? canvas->GetBounds().Width() : 0;
        if (loopChannel && w > 0)
            loopChannel->SetFrequency(0x10000 - int32_t(d) * 0x8000 / w);
        if (feedbackVisual)
            feedbackVisual->TrackPoint(e.x, e.y);
        ContinueStroke(SampleAt(e.x, e.y));
    } else if (dragging && !(e.data & kPointerHeld)) {
        if (loopChannel) {
            loopChannel->Stop();
            delete loopChannel;
            loopChannel = nullptr;
        }
        if (feedbackVisual && canvas) {
            Box b = feedbackVisual->GetBounds();
            shapeBox = {canvas->ViewToCanvasX(b.left), canvas->ViewToCanvasY(b.top),
                        canvas->ViewToCanvasX(b.right), canvas->ViewToCanvasY(b.bottom)};
        }
        HideFeedback();
        endPoint = {e.x, e.y};
        EndStroke(SampleAt(e.x, e.y));
        DeleteChannels();
        dragging = 0;
    }
    return picking || dragging;
}

void KVXFillInterpreter::BeginStroke(const MMPointerSample& s)
{
    StrokeBrush(kStrokeBegin, s);
}

void KVXFillInterpreter::ContinueStroke(const MMPointerSample& s)
{
    StrokeBrush(kStrokeContinue, s);
}

void KVXFillInterpreter::EndStroke(const MMPointerSample& s)
{
    StrokeBrush(kStrokeEnd, s);
}

KVXShapeVisual* KVXGradientFillInterpreter::MakeFeedbackVisual()
{
    return new (gDefaultHeap) KVXLineShapeVisual(canvas, startPoint.x, startPoint.y, kFeedbackLayer);
}

KVXShapeVisual* KVXRadialFillInterpreter::MakeFeedbackVisual()
{
    return new (gDefaultHeap)
        KVXEllipticalCenterShapeVisual(canvas, startPoint.x, startPoint.y, kFeedbackLayer);
}
