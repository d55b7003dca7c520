#include "shell/widgets/stamp_button.h"

#include "canvas/canvas_scene.h"
#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/molecule.h"
#include "engine/picture_collection.h"
#include "engine/record_table.h"
#include "engine/run_queue.h"
#include "engine/stage.h"
#include "framework/heap.h"
#include "shell/widgets/frame_visual.h"
#include "stamps/stamp_drop_target.h"

namespace {

const int32_t kFrameHalf = 20;
const int16_t kFrameLayer = 50;
const int16_t kFrameStartLayer = 84;
// In front of everything on the screen, the drawer's buttons and its
// screen-wide catcher too: nothing else may be pressed while the frame zooms
// (a genre pressed then rebuilt the drawer under the zooming button).
const int16_t kBlockerLayer = 10000;
const int16_t kZoomSteps = 10;
const int16_t kZoomPriority = 500;
const int32_t kZoomGrowth = 100;

Pair CentreOf(const Box& box)
{
    return {box.left + (box.right - box.left) / 2, box.top + (box.bottom - box.top) / 2};
}

}  // namespace

KVXAnimatedStampButtonMolecule::KVXAnimatedStampButtonMolecule(
    MMBaseScene* scene, KVXStampDropTarget* manager, MMRecordTable* stampTable,
    MMResourceId scriptId, MMCommand* clickCommand, MMCommand* secondCommand, int16_t layerOffset,
    int16_t cursorIndex, int16_t priority, int16_t resourceMode)
    : KVXAnimatedButtonMolecule(scene, scriptId, clickCommand, layerOffset, cursorIndex, priority,
                                resourceMode),
      manager(manager), secondCommand(secondCommand), stampTable(stampTable)
{
}

KVXAnimatedStampButtonMolecule::~KVXAnimatedStampButtonMolecule()
{
    delete secondCommand;
    // The zoom's end is queued on this button: it must not run after it.
    if (endCommand) {
        if (MMRunQueue* queue = endCommand->Queue())
            queue->Forget(endCommand);
        delete endCommand;
        endCommand = nullptr;
    }
    if (stampTable) {
        stampTable->Free();
        delete stampTable;
    }
    if (zoomThread && zoomThread->State() != kMMThreadInactive) {
        zoomThread->Terminate();
        EndZoom();
    }
    delete zoomThread;
    delete blocker;
    if (frame) {
        if (MMEnclosure* enclosure = Enclosure())
            enclosure->RemoveVisual(frame);
        delete frame;
    }
}

bool KVXAnimatedStampButtonMolecule::Interpret(const MMStageEvent& event)
{
    Pair point = {event.x, event.y};
    if (dragging) {
        if (event.data & kPointerHeld) {
            frame->CenterAt(point.x, point.y);
        } else {
            dragging = false;
            if (CanvasBox.Contains(point)) {
                StartZoom(point);
            } else {
                if (manager)
                    manager->EndDragSound();
                RemoveFrame();
                Run(kLabelIdle);
            }
        }
        if (!dragging)
            SetCursor(4);
    } else if (zoomThread || endCommand) {
        // A press while its last drop still zooms would take the frame the
        // zoom is drawing.
    } else if (event.data & kPointerPressed) {
        if (event.data & kPointerDoubleClick) {
            PlaceAtCanvasCentre();
        } else if (ContainsPoint(point)) {
            BeginDrag(point);
            Run(kLabelPress);
            if (!disabled)
                SetDisabled(true);
            dragging = true;
            SetCursor(5);
        }
    }
    return dragging;
}

void KVXAnimatedStampButtonMolecule::BeginDrag(const Pair& point)
{
    if (manager)
        manager->StartDragSound();
    if (frame) {
        if (MMEnclosure* enclosure = Enclosure())
            enclosure->RemoveVisual(frame);
        delete frame;
    }
    frame = new KVXFrameVisual(Box{point.x - kFrameHalf, point.y - kFrameHalf,
                                   point.x + kFrameHalf, point.y + kFrameHalf},
                               kFrameStartLayer);
    frame->SetLayer(kFrameLayer);
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->AddVisual(frame);
}

void KVXAnimatedStampButtonMolecule::RemoveFrame()
{
    if (frame) {
        if (MMEnclosure* enclosure = Enclosure())
            enclosure->RemoveVisual(frame);
        delete frame;
        frame = nullptr;
    }
    if (disabled)
        SetDisabled(false);
}

Box KVXAnimatedStampButtonMolecule::ZoomTarget(const Box& start, const Pair& point) const
{
    Box target = start;
    target.Inflate(kZoomGrowth);
    int32_t row = stampTable ? stampTable->FindRowByKey(1) : -1;
    if (row < 0)
        return target;
    MMRecordTable own;
    own.Load(stampTable->LongAt(row, 2), 10, gDefaultHeap);
    int16_t kind = own.RowCount() > 0 ? own.ShortAt(0, 2) : int16_t(0);
    if (kind != 0 && kind != 1 && kind != 3) {
        int32_t pictureRow = own.FindRowByKey(2);
        MMPictureReference picture;
        if (pictureRow >= 0)
            picture.Load(own.LongAt(pictureRow, 2));
        Pair size = picture.IsEmpty() ? Pair{0, 0} : picture.GetSize();
        int32_t hw = size.x / 2;
        int32_t hh = size.y / 2;
        target = {point.x - hw / 2, point.y - hh / 2, point.x - hw / 2 + hw,
                  point.y - hh / 2 + hh};
    }
    own.Free();
    return target;
}

void KVXAnimatedStampButtonMolecule::StartZoom(const Pair& point)
{
    if (zoomThread || !frame)
        return;
    blocker = new MMMouseVisualMolecule(Scene(), static_cast<MMCommand*>(nullptr),
                                        Box{0, 0, 800, 600}, kBlockerLayer, nullptr);
    dropPoint = point;
    zoomThread = new KVXStampButtonZoomThread(this, frame, kZoomSteps);
    Box start = frame->GetBounds();
    zoomThread->SetPath(start, ZoomTarget(start, point));
    zoomThread->SetPriority(kZoomPriority);
    zoomThread->Activate();
}

bool KVXAnimatedStampButtonMolecule::PlaceStamp()
{
    Pair centre = CentreOf(frame ? frame->GetBounds() : Box{0, 0, 0, 0});
    if (manager && stampTable) {
        manager->PlaceStampsFromTable(stampTable, centre.x, centre.y);
        return true;
    }
    if (secondCommand) {
        secondCommand->Post();
        return true;
    }
    return false;
}

void KVXAnimatedStampButtonMolecule::PostEndZoom()
{
    MMRunQueue* queue = Stage() ? Stage()->RunQueue() : nullptr;
    if (!queue || endCommand)
        return;
    endCommand = new MMClassCommand<KVXAnimatedStampButtonMolecule>(
        "End making blueprint cmd", Stage(), this, &KVXAnimatedStampButtonMolecule::EndZoom);
    queue->Enqueue(endCommand, endCommand->Priority());
}

void KVXAnimatedStampButtonMolecule::EndZoom()
{
    // Runs from the queued command, which deletes itself afterwards.
    endCommand = nullptr;
    delete blocker;
    blocker = nullptr;
    delete zoomThread;
    zoomThread = nullptr;
    RemoveFrame();
    if (disabled)
        SetDisabled(false);
    Run(kLabelIdle);
}

void KVXAnimatedStampButtonMolecule::PlaceAtCanvasCentre()
{
    Pair centre = CentreOf(CanvasBox);
    if (manager && stampTable)
        manager->PlaceStampsFromTable(stampTable, centre.x, centre.y);
    else if (secondCommand)
        secondCommand->Post();
}

KVXStampButtonZoomThread::KVXStampButtonZoomThread(KVXAnimatedStampButtonMolecule* button,
                                                   KVXFrameVisual* frame, int16_t stepCount)
    : MMLightweightThread("stamp Zoom", button->Stage()), stepCount(stepCount),
      stepsLeft(stepCount), button(button), frame(frame)
{
}

void KVXStampButtonZoomThread::SetPath(const Box& start, const Box& end)
{
    current = start;
    target = end;
    deltaLeft = int16_t((end.left - start.left) / stepCount);
    deltaRight = int16_t((end.right - start.right) / stepCount);
    deltaTop = int16_t((end.top - start.top) / stepCount);
    deltaBottom = int16_t((end.bottom - start.bottom) / stepCount);
}

bool KVXStampButtonZoomThread::Run()
{
    if (State() == kMMThreadActivated) {
        if (button->Manager())
            button->Manager()->EndDragSound();
        stepsLeft = stepCount;
        if (current.IsEmpty() && target.IsEmpty())
            return false;
        frame->SetBox(current);
        Wait(1);
        return true;
    }
    if (State() != kMMThreadRunning)
        return false;
    if (stepsLeft == 0) {
        // A button with nothing to place ends its zoom all the same: trying
        // again at every pass would keep the input blocker up for good.
        button->PlaceStamp();
        button->PostEndZoom();
        return false;
    }
    if (stepsLeft == 1) {
        current = target;
    } else {
        current.left += deltaLeft;
        current.right += deltaRight;
        current.top += deltaTop;
        current.bottom += deltaBottom;
    }
    frame->SetBox(current);
    --stepsLeft;
    Wait(1);
    return true;
}
