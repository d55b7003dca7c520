#pragma once
// Drawing by rubber band: a press on the canvas snapshots it for undo and
// shows a feedback visual while the child drags, with a sound whose pitch
// falls as the drag grows; the release converts the feedback's box to canvas
// pixels and the interpreter draws. The straight and curved lines feed the
// tool's brush synthetic pen samples; the text rectangle places the text
// box.
#include <cstdint>

#include "engine/resource_collection.h"
#include "framework/geometry.h"
#include "tools/interpreter_with_brush.h"

class KVXCurveLineShapeVisual;
class KVXShapeSound;
class KVXShapeVisual;
class MMVisualMolecule;

// The rubber bands are drawn on this layer.
constexpr int16_t kFeedbackLayer = 150;
// The sound of the line, curve, text and shape tools.
constexpr MMResourceId kShapeSoundId = 456;

class KVXShapeInterpreter : public KVXInterpreterWithBrush {
public:
    KVXShapeInterpreter(KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas,
                        BrushBase* brush, MMCursor* cursor, MMResourceId soundId);
    ~KVXShapeInterpreter() override;

    bool Interpret(const MMStageEvent& event) override;        // 2
    virtual KVXShapeVisual* MakeFeedbackVisual() = 0;          // 6
    virtual void DrawShape() = 0;                              // 7
    virtual void BeginStroke(const MMPointerSample& sample);   // 8
    virtual void ContinueStroke(const MMPointerSample& sample);  // 9
    virtual void EndStroke(const MMPointerSample& sample);     // 10

    void SetFeedbackStyle(uint8_t style) { feedbackStyle = style; }
    void ShowFeedback();
    void HideFeedback();

    bool FeedbackShown() const { return feedbackShown != 0; }
    bool Dragging() const { return dragging != 0; }
    const Box& ShapeBox() const { return shapeBox; }
    const Pair& StartPoint() const { return startPoint; }
    const Pair& EndPoint() const { return endPoint; }
    KVXShapeVisual* FeedbackVisual() const { return feedbackVisual; }
    KVXShapeSound* ShapeSound() const { return shapeSound; }

protected:
    // A synthetic pen sample at a stage point, relative to the canvas, at
    // full pressure.
    MMPointerSample SampleAt(int32_t x, int32_t y) const;
    // The feedback's bounds in canvas pixels.
    Box FeedbackBoxOnCanvas() const;
    // The drag of the base interpreter; answers whether the event was a
    // press that started one. The press takes an undo snapshot when asked.
    bool HandleDrag(const MMStageEvent& event, bool snapshot);
    // Feeds the brush a polyline of stage points: the first begins, the
    // others continue, the last ends the stroke again.
    void StrokePoints(const Pair* points, int32_t count);

    uint8_t feedbackShown = 0;
    Box shapeBox = {0, 0, 0, 0};
    uint8_t feedbackStyle = 0;
    MMVisualMolecule* feedbackMolecule = nullptr;
    KVXShapeVisual* feedbackVisual = nullptr;
    Pair startPoint = {0, 0};
    Pair endPoint = {0, 0};
    uint8_t dragging = 0;
    int32_t reserved = 0;
    KVXShapeSound* shapeSound = nullptr;
};

class KVXStraightLineToolInterpreter : public KVXShapeInterpreter {
public:
    KVXStraightLineToolInterpreter(KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas,
                                   BrushBase* brush, MMCursor* cursor);
    KVXShapeVisual* MakeFeedbackVisual() override;
    void DrawShape() override;
};

// The points of a straight line, about one every 5 pixels; none when the
// line is shorter. out has room for count points, count from LinePointCount.
int32_t LinePointCount(const Pair& start, const Pair& end);
void LinePoints(const Pair& start, const Pair& end, int32_t count, Pair* out);

class KVXCurvedLineToolInterpreter : public KVXStraightLineToolInterpreter {
public:
    KVXCurvedLineToolInterpreter(KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas,
                                 BrushBase* brush, MMCursor* cursor);
    bool Interpret(const MMStageEvent& event) override;
    KVXShapeVisual* MakeFeedbackVisual() override;
    void DrawShape() override;

    int32_t Phase() const { return phase; }

private:
    int32_t phase = 0;
    KVXCurveLineShapeVisual* curveVisual = nullptr;
};

class KVXTextRectangleShapeToolInterpreter : public KVXShapeInterpreter {
public:
    KVXTextRectangleShapeToolInterpreter(KVXCreationHost* host, MMStage* stage,
                                         KVXCanvasVisual* canvas, BrushBase* brush,
                                         MMCursor* cursor);
    bool Interpret(const MMStageEvent& event) override;
    KVXShapeVisual* MakeFeedbackVisual() override;
    void DrawShape() override;
};
