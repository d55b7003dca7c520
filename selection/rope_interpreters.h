#pragma once
// The rope on the painting screen: the interpreters that lay a free, round or
// square rope on the canvas, the floating selection's visual with its
// colour-cycling outline, the drag of the selection, and its four controls
// (scale and move handles, two mirror buttons).
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/engine_thread.h"
#include "engine/mouse_interpreter.h"
#include "engine/record_table.h"
#include "media/visual.h"
#include "selection/rope_selection.h"
#include "tools/rope_tool.h"
#include "tools/shape_interpreter.h"

class KVXBaseRopeToolInterpreter;
class KVXRopeSound;
class MMGenericSoundChannel;
class MMPictureButtonMolecule;
class MMPictureButtonVisual;
class MMVisualMolecule;

constexpr int16_t kRopeSelectionLayer = 198;
constexpr int16_t kRopeHandleLayer = 199;

// Shows the floating selection: its pixels through their mask, clipped to
// the canvas, and its outline in a colour that moves on every 100 ms.
class KVXRopeSelectionVisual : public MMBoxBasedVisual, public MMLightweightThread {
public:
    KVXRopeSelectionVisual(MMStage* stage, KVXRopeSelection* selection, const Box& canvasArea);

    void Draw(MMSurface* surface) override;
    bool ContainsPoint(int32_t x, int32_t y) override;
    bool Run() override;
    void Follow();  // takes the selection's box after it moved
    double Hue() const { return hue; }
    int32_t Redraws() const { return redraws; }

private:
    KVXRopeSelection* selection;
    Box area;
    double hue = 0;
    int32_t redraws = 0;
};

// Drags the floating selection; with Control the drag leaves a copy behind.
// Its grab and drag sounds are one pair of table 497's, chosen at random.
class KVXRopeSelectionMouseInterpreter : public MMStandardMouseInterpreter {
public:
    KVXRopeSelectionMouseInterpreter(KVXBaseRopeToolInterpreter* rope, MMCursor* cursor);
    ~KVXRopeSelectionMouseInterpreter() override;
    bool Interpret(const MMStageEvent& event) override;
    bool Dragging() const { return dragging; }
    MMGenericSoundChannel* Channel() const { return channel; }
    // The sound id of the pair's row (0 grab, 1 drag).
    MMResourceId SoundOf(int16_t key) const;

private:
    void Play(int16_t key);

    KVXBaseRopeToolInterpreter* rope;
    MMGenericSoundChannel* channel = nullptr;
    MMRecordTable sounds;
    Pair grab = {0, 0};
    bool dragging = false;
};

// The handles at the selection's top corners: while held the cursor is the
// grabbing hand, the handle lit and its sound looping.
class KVXRopeManipulatorInterpreter : public MMStandardMouseInterpreter {
public:
    explicit KVXRopeManipulatorInterpreter(KVXBaseRopeToolInterpreter* rope);
    ~KVXRopeManipulatorInterpreter() override;
    bool Interpret(const MMStageEvent& event) override;
    bool Dragging() const { return dragging; }

protected:
    virtual void PressStep(const Pair& point) = 0;
    virtual void DragStep(const Pair& point) = 0;
    virtual void EndStep(const Pair& point) = 0;

    KVXBaseRopeToolInterpreter* rope;

private:
    void Light(bool on);

    MMCursor* savedCursor = nullptr;
    bool dragging = false;
};

// Top-right: stretches the box over the kept left and bottom; the pitch
// falls as the drag grows; let go, the pixels are made at the new size.
class KVXRopeScaleManipulatorInterpreter : public KVXRopeManipulatorInterpreter {
public:
    using KVXRopeManipulatorInterpreter::KVXRopeManipulatorInterpreter;

protected:
    void PressStep(const Pair& point) override;
    void DragStep(const Pair& point) override;
    void EndStep(const Pair& point) override;

private:
    Box BoxAt(const Pair& point) const;

    Box kept = {0, 0, 0, 0};
    Pair offset = {0, 0};
};

// Top-left: moves the box, which stays wholly on the canvas.
class KVXRopeMoveManipulatorInterpreter : public KVXRopeManipulatorInterpreter {
public:
    using KVXRopeManipulatorInterpreter::KVXRopeManipulatorInterpreter;

protected:
    void PressStep(const Pair& point) override;
    void DragStep(const Pair& point) override;
    void EndStep(const Pair& point) override;

private:
    Pair offset = {0, 0};
};

class KVXBaseRopeToolInterpreter : public KVXShapeInterpreter, public KVXRopeFinisher {
public:
    KVXBaseRopeToolInterpreter(KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas,
                               MMCursor* cursor, MMResourceId ropeSound);
    ~KVXBaseRopeToolInterpreter() override;

    void DrawShape() override {}
    void FinishRope(int32_t) override;

    // Lifts what the outline encloses; false when it makes no selection.
    bool MakeSelection(const std::vector<Pair>& outline);
    bool TakeSurfaceAsSelection(const MMBitmap& picture);
    void EndSelection(bool apply);
    void PlaceSelection();
    void FlipSelectionX();
    void FlipSelectionY();
    void ApplyEffect(int32_t kind, int32_t strength);
    bool CreateSelectionControls();
    bool PlaceSelectionControls();
    void ShowSelectionControls(bool hide);
    void RemoveSelectionControls();

    // The drag of the floating selection and of its handles.
    void MoveSelectionTo(const Pair& topLeft);
    // With rebuild the pixels are made at the new size; when memory runs
    // out the child is told and the selection takes its old size again.
    void ScaleSelectionTo(const Box& box, bool rebuild);
    void MoveSelectionByHandle(const Pair& topLeft);

    // The rope tray's mode (twisted or not), kept for whoever asks.
    virtual void SetMode(int32_t value) { mode = value; }  // 12
    int32_t Mode() const { return mode; }
    // The handles' sound: row key of table 1008 looping (3 scale, 4 move),
    // its pitch as the scale handle is dragged d from where it was pressed,
    // and the drop (row 5) when let go.
    void StartHandleSound(int16_t key, const Pair& press);
    void FollowHandleSound(const Pair& point);
    void EndHandleSound();
    // The information alert of row 22 of the texts.
    void TellTooBig();

    bool HasSelection() const { return selection.IsActive(); }
    KVXRopeSelection& Selection() { return selection; }
    KVXRopeSelectionVisual* Visual() const { return visual; }
    const Box& CanvasArea() const { return area; }
    MMVisual* Control(int i) const;
    KVXRopeSound* RopeSound() const { return ropeSound.get(); }
    MMGenericSoundChannel* HandleChannel() const { return handleChannel; }
    int32_t ReferenceDistance() const { return referenceDistance; }
    KVXCreationHost* Host() const { return host; }

protected:
    // A press on the canvas puts a floating selection down first.
    bool StartRope(const MMStageEvent& event);
    bool IsRopePress(const MMStageEvent& event) const;
    // The canvas re-rendered and redrawn over a stage box (grown by 1).
    void RefreshCanvas(const Box& stageBox);
    void CompositeSelection();

    Box area;
    KVXRopeSelection selection;
    KVXRopeSelectionVisual* visual = nullptr;
    MMVisualMolecule* visualMolecule = nullptr;
    KVXRopeSelectionMouseInterpreter* selectionInterpreter = nullptr;
    MMVisualMolecule* handles[2] = {nullptr, nullptr};      // scale, move
    KVXRopeManipulatorInterpreter* handleInterpreters[2] = {nullptr, nullptr};
    MMPictureButtonMolecule* flips[2] = {nullptr, nullptr};  // vertical, horizontal
    bool laying = false;
    int32_t mode = 0;
    std::unique_ptr<KVXRopeSound> ropeSound;
    MMGenericSoundChannel* handleChannel = nullptr;
    Pair handlePress = {0, 0};
    int32_t referenceDistance = 200;
    int32_t lastDistance = 0;
    // The canvas's pixels while the undo copy holds the picture from before
    // the cut (an undo swaps the blocks); null once another checkpoint came.
    const KVXComponentPixel* beforeCutInUndo = nullptr;
};

class KVXRopeToolPolylineInterpreter : public KVXBaseRopeToolInterpreter {
public:
    using KVXBaseRopeToolInterpreter::KVXBaseRopeToolInterpreter;
    bool Interpret(const MMStageEvent& event) override;
    KVXShapeVisual* MakeFeedbackVisual() override;
    const std::vector<Pair>& Points() const { return points; }

private:
    std::vector<Pair> points;
};

// The circle and rectangle ropes: the outline of the dragged box.
class KVXRopeToolBoxInterpreter : public KVXBaseRopeToolInterpreter {
public:
    KVXRopeToolBoxInterpreter(KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas,
                              MMCursor* cursor, MMResourceId ropeSound, bool circle);
    bool Interpret(const MMStageEvent& event) override;
    KVXShapeVisual* MakeFeedbackVisual() override;

private:
    bool circle;
};

// Makes the rope tool's interpreters (the rope tool asks through its factory).
KVXShapeInterpreter* MakeRopeInterpreter(KVXRopeShape shape, KVXCreationHost* host, MMStage* stage,
                                         KVXCanvasVisual* canvas, BrushBase* brush, MMCursor* cursor,
                                         MMResourceId soundId);
void RegisterRopeInterpreters();
