#pragma once
// The rope tool lassoes part of the picture freehand, with a circle or with
// a rectangle. The lasso and the floating selection belong to the rope
// selection, whose interpreters this tool installs on the canvas; it paints
// with no brush.
#include <cstdint>

#include "tools/tool_base.h"

class KVXShapeInterpreter;

constexpr MMResourceId kRopeSound = 491;
constexpr int16_t kRopePolylineCursorKey = 17;
constexpr int16_t kRopeCircleCursorKey = 27;
constexpr int16_t kRopeRectangleCursorKey = 28;

enum KVXRopeShape : int32_t { kRopePolyline = 0, kRopeCircle = 1, kRopeRectangle = 2 };

// Makes the rope interpreter of a shape with (stage, canvas, brush, cursor,
// sound id); the rope selection registers it. Null until then, or for a
// shape it does not make.
typedef KVXShapeInterpreter* (*KVXRopeInterpreterFactory)(KVXRopeShape shape,
                                                          KVXCreationHost* host, MMStage* stage,
                                                          KVXCanvasVisual* canvas,
                                                          BrushBase* brush, MMCursor* cursor,
                                                          MMResourceId soundId);
void SetRopeInterpreterFactory(KVXRopeInterpreterFactory factory);

// What leaving the rope tool asks of the rope interpreter: drop the floating
// selection's controls. The rope interpreters implement it.
class KVXRopeFinisher {
public:
    virtual ~KVXRopeFinisher() = default;
    virtual void FinishRope(int32_t value) = 0;
};

class RopeTool : public KVXToolStd {
public:
    RopeTool(KVXCreationHost* scene, MMResourceId tableId, int32_t value);
    void Finish(int32_t value) override;
    void MakeGenerator() override;
    void MakeBrush() override {}
    void MakeInterpreter() override;

    void UsePolylineRope();
    void UseCircleRope();
    void UseRectangleRope();

    int32_t Value() const { return value; }
    KVXRopeShape Shape() const { return shape; }

private:
    void UseRope(KVXRopeShape newShape, int16_t cursorKey);
    void BuildRopeInterpreter();

    int32_t value;
    KVXRopeShape shape = kRopeCircle;
};
