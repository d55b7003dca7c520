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
#include "media/visual.h"
#include "selection/rope_selection.h"
#include "tools/rope_tool.h"
#include "tools/shape_interpreter.h"

class KVXBaseRopeToolInterpreter;
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
class KVXRopeSelectionMouseInterpreter : public MMStandardMouseInterpreter {
public:
    KVXRopeSelectionMouseInterpreter(KVXBaseRopeToolInterpreter* rope, MMCursor* cursor);
    bool Interpret(const MMStageEvent& event) override;
    bool Dragging() const { return dragging; }

private:
    KVXBaseRopeToolInterpreter* rope;
    Pair grab = {0, 0};
    bool dragging = false;
};

// The scale handle (top-right) and the move handle (top-left).
class KVXRopeHandleInterpreter : public MMStandardMouseInterpreter {
public:
    KVXRopeHandleInterpreter(KVXBaseRopeToolInterpreter* rope, bool scale);
    bool Interpret(const MMStageEvent& event) override;

private:
    KVXBaseRopeToolInterpreter* rope;
    bool scale;
    bool dragging = false;
    Box kept = {0, 0, 0, 0};
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
    void ScaleSelectionTo(const Box& box, bool rebuild);
    void MoveSelectionByHandle(const Pair& topLeft);

    // The rope tray's mode (twisted or not), kept for whoever asks.
    virtual void SetMode(int32_t value) { mode = value; }  // 12
    int32_t Mode() const { return mode; }
    bool HasSelection() const { return selection.IsActive(); }
    KVXRopeSelection& Selection() { return selection; }
    KVXRopeSelectionVisual* Visual() const { return visual; }
    const Box& CanvasArea() const { return area; }
    MMVisual* Control(int i) const;

protected:
    // A press on the canvas puts a floating selection down first.
    bool StartRope(const MMStageEvent& event);
    bool IsRopePress(const MMStageEvent& event) const;
    // The canvas re-rendered and redrawn over a stage box (grown by 1).
    void RefreshCanvas(const Box& stageBox);

    Box area;
    KVXRopeSelection selection;
    KVXRopeSelectionVisual* visual = nullptr;
    MMVisualMolecule* visualMolecule = nullptr;
    KVXRopeSelectionMouseInterpreter* selectionInterpreter = nullptr;
    MMVisualMolecule* handles[2] = {nullptr, nullptr};      // scale, move
    KVXRopeHandleInterpreter* handleInterpreters[2] = {nullptr, nullptr};
    MMPictureButtonMolecule* flips[2] = {nullptr, nullptr};  // vertical, horizontal
    bool laying = false;
    int32_t mode = 0;
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
