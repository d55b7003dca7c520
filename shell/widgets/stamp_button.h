#pragma once
// The animated button of a stamp in the drawer: the child drags it as a
// 40 x 40 XOR frame; let go on the canvas, the frame zooms in ten steps to
// the stamp's size and the stamps are placed there; let go elsewhere, the
// drag is cancelled. A double click places the stamps at the canvas centre.
#include <cstdint>

#include "engine/engine_thread.h"
#include "shell/widgets/animated_button.h"

class KVXStampDropTarget;
class KVXFrameVisual;
class KVXStampButtonZoomThread;
class MMMouseVisualMolecule;
class MMCommand;
class MMRecordTable;

class KVXAnimatedStampButtonMolecule : public KVXAnimatedButtonMolecule {
public:
    // The table is owned from here on; manager, table and second command may
    // each be none.
    KVXAnimatedStampButtonMolecule(MMBaseScene* scene, KVXStampDropTarget* manager,
                                   MMRecordTable* stampTable, MMResourceId scriptId,
                                   MMCommand* clickCommand, MMCommand* secondCommand,
                                   int16_t layerOffset, int16_t cursorIndex, int16_t priority,
                                   int16_t resourceMode);
    ~KVXAnimatedStampButtonMolecule() override;

    bool Interpret(const MMStageEvent& event) override;

    // True when something was placed (the stamps, or the second command
    // posted in their place).
    bool PlaceStamp();
    void PostEndZoom();
    void EndZoom();

    KVXStampDropTarget* Manager() const { return manager; }
    bool IsDragging() const { return dragging; }
    KVXFrameVisual* Frame() const { return frame; }
    KVXStampButtonZoomThread* ZoomThread() const { return zoomThread; }
    MMMouseVisualMolecule* InputBlocker() const { return blocker; }
    const Pair& DropPoint() const { return dropPoint; }

private:
    void BeginDrag(const Pair& point);
    void RemoveFrame();
    void StartZoom(const Pair& point);
    // Where the frame zooms to from the drop point.
    Box ZoomTarget(const Box& start, const Pair& point) const;
    void PlaceAtCanvasCentre();

    KVXStampDropTarget* manager;
    bool dragging = false;
    MMCommand* secondCommand;
    KVXFrameVisual* frame = nullptr;
    KVXStampButtonZoomThread* zoomThread = nullptr;
    Pair dropPoint = {0, 0};
    MMMouseVisualMolecule* blocker = nullptr;
    MMRecordTable* stampTable;
    MMCommand* endCommand = nullptr;  // the zoom's end while it waits in the queue
};

class KVXStampButtonZoomThread : public MMLightweightThread {
public:
    KVXStampButtonZoomThread(KVXAnimatedStampButtonMolecule* button, KVXFrameVisual* frame,
                             int16_t stepCount);

    void SetPath(const Box& start, const Box& target);
    bool Run() override;

    const Box& Current() const { return current; }
    const Box& Target() const { return target; }
    int16_t StepsLeft() const { return stepsLeft; }

private:
    int16_t stepCount;
    int16_t stepsLeft;
    Box current = {0, 0, 0, 0};
    Box target = {0, 0, 0, 0};
    int16_t deltaLeft = 0;
    int16_t deltaRight = 0;
    int16_t deltaTop = 0;
    int16_t deltaBottom = 0;
    KVXAnimatedStampButtonMolecule* button;
    KVXFrameVisual* frame;
};
