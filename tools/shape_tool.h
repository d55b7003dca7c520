#pragma once
// The shape tray's tool: ellipses, rectangles and triangles painted straight
// into the canvas on release (as an outline, white with an outline, or
// filled; lowered into the paint or raised like a lens), and globs painted
// by the gloppy draw method.
#include <cstdint>

#include "canvas/work_surface.h"
#include "tools/shape_interpreter.h"
#include "tools/tool_base.h"

constexpr int32_t kShapeEllipse = 0, kShapeRectangle = 1, kShapeTriangle = 2, kShapeGlob = 3;
constexpr int32_t kFillOutline = 0, kFillWhiteOutline = 1, kFillSolid = 2;

class KVXShapeToolInterpreter : public KVXShapeInterpreter {
public:
    // colour: the tray's colour (blue, green, red bytes); the sliders are
    // the tool's copies, read when a shape is drawn.
    KVXShapeToolInterpreter(KVXCreationHost* host, int32_t fillMode, const uint8_t* colour,
                            const int16_t* slider1, const int16_t* slider2, MMStage* stage,
                            KVXCanvasVisual* canvas, BrushBase* brush, MMCursor* cursor);
    ~KVXShapeToolInterpreter() override;

    virtual void SetFillMode(int32_t mode) { fillMode = mode; }  // 11
    void DrawShape() override;
    int32_t FillMode() const { return fillMode; }

protected:
    enum Outline { kEllipseOutline, kBoxOutline, kTriangleOutline };
    virtual Outline Kind() const = 0;
    MMColor Colour(bool white) const;

    WorkSurface work;
    int32_t fillMode;
    const uint8_t* colour;
    const int16_t* slider1;
    const int16_t* slider2;
};

class KVXEllipseShapeToolInterpreter : public KVXShapeToolInterpreter {
public:
    using KVXShapeToolInterpreter::KVXShapeToolInterpreter;
    KVXShapeVisual* MakeFeedbackVisual() override;

protected:
    Outline Kind() const override { return kEllipseOutline; }
};

class KVXRectangleShapeToolInterpreter : public KVXShapeToolInterpreter {
public:
    using KVXShapeToolInterpreter::KVXShapeToolInterpreter;
    KVXShapeVisual* MakeFeedbackVisual() override;

protected:
    Outline Kind() const override { return kBoxOutline; }
};

class KVXTriangleShapeToolInterpreter : public KVXShapeToolInterpreter {
public:
    using KVXShapeToolInterpreter::KVXShapeToolInterpreter;
    KVXShapeVisual* MakeFeedbackVisual() override;

protected:
    Outline Kind() const override { return kTriangleOutline; }
};

class KVXGlobbyShapeToolInterpreter : public KVXEllipseShapeToolInterpreter {
public:
    KVXGlobbyShapeToolInterpreter(KVXCreationHost* host, const uint8_t* colour,
                                  const int16_t* slider1, const int16_t* slider2, MMStage* stage,
                                  KVXCanvasVisual* canvas, BrushBase* brush, MMCursor* cursor);
    void DrawShape() override;
};

class ShapeTool : public KVXToolStd {
public:
    ShapeTool(KVXCreationHost* scene, int32_t shapeKind, int32_t fillMode, MMResourceId tableId,
              const uint8_t* colour);
    void SetSlider1(int16_t value) override;
    void SetSlider2(int16_t value) override;
    void MakeGenerator() override;
    void MakeBrush() override;
    void MakeInterpreter() override;
    void SetShape(int32_t mode);

    int32_t ShapeKind() const { return shapeKind; }
    int32_t FillMode() const { return fillMode; }

private:
    int32_t shapeKind;
    int32_t fillMode;
    int16_t slider1Copy = 0;
    int16_t slider2Copy = 0;
};
