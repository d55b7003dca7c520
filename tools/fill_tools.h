#pragma once
// The paint bucket's four fills: a plain and a pattern flood fill poured
// where the pen goes down, and a linear and a radial gradient whose
// direction or radius the child drags with a rubber band.
#include <cstdint>

#include "tools/interpreter_with_brush.h"
#include "tools/tool_base.h"

class KVXShapeVisual;
class MMGenericSoundChannel;
class MMVisualMolecule;

constexpr MMResourceId kFillTable = 543;
constexpr int16_t kFillCursorKey = 18;
constexpr MMResourceId kFillSound = 479;

class FloodTool : public KVXToolStd {
public:
    FloodTool(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour);
    void SetSlider1(int16_t value) override { slider1 = value; }
    void SetSlider2(int16_t value) override { slider2 = value; }
    void MakeGenerator() override;
    void MakeBrush() override;
};

class PatternFloodTool : public FloodTool {
public:
    // pattern: the tray's pattern picture id, read at painting time.
    PatternFloodTool(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour,
                     const int32_t* pattern);
    void MakeBrush() override;

private:
    const int32_t* pattern;
};

class LinearGradientFloodTool : public FloodTool {
public:
    // secondColour: the tray's second colour (blue, green, red).
    LinearGradientFloodTool(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour,
                            const uint8_t* secondColour);
    void MakeBrush() override;
    void MakeInterpreter() override;

protected:
    const uint8_t* secondColour;
};

class RadialGradientFloodTool : public LinearGradientFloodTool {
public:
    using LinearGradientFloodTool::LinearGradientFloodTool;
    void MakeBrush() override;
    void MakeInterpreter() override;
};

// The gradient's drag: the press begins the brush's stroke at the press
// point, the drag continues it, the release ends it at the release point.
class KVXFillInterpreter : public KVXInterpreterWithBrush {
public:
    KVXFillInterpreter(KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas,
                       BrushBase* brush, MMCursor* cursor);
    ~KVXFillInterpreter() override;

    bool Interpret(const MMStageEvent& event) override;        // 2
    virtual KVXShapeVisual* MakeFeedbackVisual() = 0;          // 6
    virtual void BeginStroke(const MMPointerSample& sample);   // 7
    virtual void ContinueStroke(const MMPointerSample& sample);  // 8
    virtual void EndStroke(const MMPointerSample& sample);     // 9

    bool Dragging() const { return dragging != 0; }
    const Box& ShapeBox() const { return shapeBox; }
    KVXShapeVisual* FeedbackVisual() const { return feedbackVisual; }
    MMGenericSoundChannel* LoopChannel() const { return loopChannel; }

protected:
    MMPointerSample SampleAt(int32_t x, int32_t y) const;
    void HideFeedback();
    void DeleteChannels();

    uint8_t feedbackShown = 0;
    Box shapeBox = {0, 0, 0, 0};
    MMVisualMolecule* feedbackMolecule = nullptr;
    KVXShapeVisual* feedbackVisual = nullptr;
    Pair startPoint = {0, 0};
    Pair endPoint = {0, 0};
    uint8_t dragging = 0;
    MMGenericSoundChannel* loopChannel = nullptr;
    MMGenericSoundChannel* effectChannel = nullptr;
};

class KVXGradientFillInterpreter : public KVXFillInterpreter {
public:
    using KVXFillInterpreter::KVXFillInterpreter;
    KVXShapeVisual* MakeFeedbackVisual() override;
};

class KVXRadialFillInterpreter : public KVXFillInterpreter {
public:
    using KVXFillInterpreter::KVXFillInterpreter;
    KVXShapeVisual* MakeFeedbackVisual() override;
};
