#include "tools/freehand_interpreter.h"

#include <new>

#include "brushes/brush_base.h"
#include "canvas/canvas_visual.h"
#include "engine/stage.h"
#include "framework/heap.h"
#include "framework/thread.h"
#include "tools/tool_base.h"
#include "tools/tool_sound.h"

KVXFreeHandToolInterpreter::Ticker::Ticker(KVXFreeHandToolInterpreter* owner, MMStage* stage)
    : MMLightweightThread("Freehand Ticker", stage), owner(owner)
{
}

bool KVXFreeHandToolInterpreter::Ticker::Run()
{
    if (!owner->FeedSamples(State() != kMMThreadTerminating))
        return false;
    WaitUntil(0);
    return true;
}

KVXFreeHandToolInterpreter::KVXFreeHandToolInterpreter(KVXCreationHost* host, MMStage* stage,
                                                       KVXCanvasVisual* canvas, BrushBase* brush,
                                                       BrushBase* writeAllBrush, MMCursor* cursor,
                                                       MMResourceId soundId)
    : KVXInterpreterWithBrush(host, stage, canvas, brush, writeAllBrush, cursor),
      ticker(this, stage),
      canvasVisual(canvas)
{
    toolSound = new (gDefaultHeap) KVXToolSound(stage, soundId);
    if (writeAllBrush)
        eraserSound = new (gDefaultHeap) KVXToolSound(stage, kEraserEndSound);
}

KVXFreeHandToolInterpreter::~KVXFreeHandToolInterpreter()
{
    EndBegunStroke();
    if (tabletMark && stage_) {
        if (stage_->IsPointerSampling())
            stage_->SetPointerSamplingMode(false);
        if (stage_->IsTabletEnabled())
            stage_->EnableTablet(false);
    }
    if (TickerScheduled())
        ticker.Terminate();
    delete toolSound;
    delete eraserSound;
}

uint32_t KVXFreeHandToolInterpreter::Now() const
{
    return stage_ ? stage_->Now() : ElapsedMilliseconds();
}

void KVXFreeHandToolInterpreter::CurrentCursor()
{
    tabletMark = 1;
    if (stage_)
        stage_->EnableTablet(true);
    KVXInterpreterWithBrush::CurrentCursor();
}

void KVXFreeHandToolInterpreter::CaptureLost()
{
    tabletMark = 0;
    if (stage_)
        stage_->EnableTablet(false);
    KVXInterpreterWithBrush::CaptureLost();
}

bool KVXFreeHandToolInterpreter::Interpret(const MMStageEvent& e)
{
    if (HandlePicking(e, strokeActive != 0))
        return picking != 0;
    bool pressed = (e.data & kPointerPressed) && !(e.data & kPointerDoubleClick);
    if (pressed && !strokeActive) {
        if (canvasVisual)
            canvasVisual->SnapshotForUndo(false);
        strokeActive = 1;
        // The stroke still draining ends here, as every stroke ends.
        EndBegunStroke();
        if (TickerScheduled())
            ticker.Terminate();
        if (stage_) {
            UURingBuffer& ring = stage_->PenRing().Ring();
            ring.readIndex = 0;
            ring.writeIndex = 0;
            // The mouse is sampled only from here on: without the press's
            // own point the stroke would start where the pointer had got to
            // by the first move, its beginning missing. With a tablet the
            // first packet still chooses the pen's end.
            if (stage_->SetPointerSamplingMode(true) && !stage_->HasTabletContext())
                stage_->PenRing().Push(MMPointerSample{e.x, e.y, kMouseCursor, 255});
        }
        waitingForFirst = 1;
        heldPresent = 0;
        ticker.Activate();
    } else if (strokeActive && !(e.data & kPointerHeld)) {
        strokeActive = 0;
        if (stage_)
            stage_->SetPointerSamplingMode(false);
    }
    return strokeActive != 0;
}

bool KVXFreeHandToolInterpreter::FeedSamples(bool go)
{
    if (!go)
        return false;
    MMPenRing* ring = stage_ ? &stage_->PenRing() : nullptr;
    if (waitingForFirst) {
        if (ring && !ring->IsEmpty()) {
            waitingForFirst = 0;
            TakeSample();
            BeginStroke(current);
            DrainSamples();
        }
        return true;
    }
    DrainSamples();
    if (!strokeActive && (!ring || ring->IsEmpty())) {
        EndStroke(current);
        return false;
    }
    return true;
}

void KVXFreeHandToolInterpreter::DrainSamples()
{
    uint32_t t0 = Now();
    MMPenRing* ring = stage_ ? &stage_->PenRing() : nullptr;
    if (!ring || ring->IsEmpty()) {
        TickSound(int32_t(t0));
        return;
    }
    while (!ring->IsEmpty() && Now() - t0 < kFeedBudget) {
        TakeSample();
        ContinueStroke(current);
        // A stroke ended under the feed (its brush swapped) starts again
        // with the next pass's first sample.
        if (waitingForFirst)
            return;
    }
}

void KVXFreeHandToolInterpreter::TakeSample()
{
    if (heldPresent) {
        current = held;
        heldPresent = 0;
    } else {
        current = *stage_->PenRing().Front();
        stage_->PenRing().Pop();
    }
    if (canvasVisual) {
        Pair at = canvasVisual->GetPosition();
        current.x -= at.x;
        current.y -= at.y;
    }
}

void KVXFreeHandToolInterpreter::BeginStroke(const MMPointerSample& s)
{
    if (writeAllBrush && !picking)
        eraserStroke = s.cursor == kEraserCursor;
    BrushDab dab = MakePathSample(s);
    if (eraserStroke) {
        savedCursor = Cursor();
        if (MMCursor* eraser = AppCursor(kEraserEndCursor))
            SetCursor(eraser);
        if (canvasVisual)
            canvasVisual->BeginTemporaryRemoveHeight();
        writeAllBrush->BeginStroke(&dab);
        if (eraserSound)
            eraserSound->Start(s.x, s.y);
    } else {
        if (brush)
            brush->BeginStroke(&dab);
        toolSound->Start(SampleCoordinate(s.x), SampleCoordinate(s.y));
    }
    strokeBegun = 1;
    if (canvasVisual)
        canvasVisual->Invalidate();
}

void KVXFreeHandToolInterpreter::ContinueStroke(const MMPointerSample& s)
{
    BrushDab dab = MakePathSample(s);
    if (eraserStroke) {
        if (writeAllBrush)
            writeAllBrush->ContinueStroke(&dab);
        if (eraserSound)
            eraserSound->Track(s.x, s.y);
    } else {
        if (brush)
            brush->ContinueStroke(&dab);
        toolSound->Track(SampleCoordinate(s.x), SampleCoordinate(s.y));
    }
    if (canvasVisual)
        canvasVisual->Invalidate();
}

void KVXFreeHandToolInterpreter::EndStroke(const MMPointerSample& s)
{
    BrushDab dab = MakePathSample(s);
    if (eraserStroke) {
        if (writeAllBrush)
            writeAllBrush->EndStroke(&dab);
        if (canvasVisual)
            canvasVisual->EndTemporaryDrawMethod();
        if (eraserSound)
            eraserSound->Stop();
        SetCursor(savedCursor);
    } else {
        if (brush)
            brush->EndStroke(&dab);
        toolSound->Stop();
    }
    eraserStroke = 0;
    strokeBegun = 0;
    if (canvasVisual)
        canvasVisual->Invalidate();
}

void KVXFreeHandToolInterpreter::TickSound(int32_t time)
{
    if (eraserStroke && eraserSound)
        eraserSound->Tick(time);
    else
        toolSound->Tick(time);
}

void KVXFreeHandToolInterpreter::EndBegunStroke()
{
    if (!strokeBegun)
        return;
    EndStroke(current);
    waitingForFirst = 1;
}
