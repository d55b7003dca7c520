#include "tools/shape_tool.h"

#include <algorithm>

#include "brushes/path_generator.h"
#include "brushes/std_brush.h"
#include "canvas/canvas_visual.h"
#include "canvas/gloppy_draw_methods.h"
#include "selection/shape_visuals.h"

namespace {
const int16_t kShapeCursorKeys[4] = {27, 28, 29, 30};
const int32_t kShapeDrawKinds[4] = {1, 1, 1, 10};
const int32_t kShapeSizeType = 2;

typedef KVXBrushStdTransfer<KVXCoverTransfer, KVXPlainPixelTransfer, KVXHeightTransfer,
                            KVXColorGeneratorSaturation, KVXOpacityGeneratorNib>
    ShapeBrush;
}  // namespace

KVXShapeToolInterpreter::KVXShapeToolInterpreter(KVXCreationHost* host, int32_t fillMode,
                                                 const uint8_t* colour, const int16_t* slider1,
                                                 const int16_t* slider2, MMStage* stage,
                                                 KVXCanvasVisual* canvas, BrushBase* brush,
                                                 MMCursor* cursor)
    : KVXShapeInterpreter(host, stage, canvas, brush, cursor, kShapeSoundId),
      fillMode(fillMode),
      colour(colour),
      slider1(slider1),
      slider2(slider2)
{
    if (canvas && canvas->Plane()) {
        work.box = canvas->Plane()->Bounds();
        work.EnsureSurface();
    }
}

KVXShapeToolInterpreter::~KVXShapeToolInterpreter() = default;

MMColor KVXShapeToolInterpreter::Colour(bool white) const
{
    if (white || !colour)
        return MMColor{-1, 255, 255, 255, 0};
    return MMColor{-1, colour[0], colour[1], colour[2], 0};
}

void KVXShapeToolInterpreter::DrawShape()
{
    KVXPlaneComponentTop* plane = canvas ? canvas->Plane() : nullptr;
    if (!plane || !work.surface)
        return;
    const Box& box = shapeBox;
    const MMColor ink = Colour(false);
    const MMColor white = Colour(true);
    int32_t h = slider2 ? *slider2 : 255;
    Outline kind = Kind();
    auto fill = [&](const MMColor& c, int16_t step) {
        switch (kind) {
        case kEllipseOutline: plane->FillEllipse(box, c, 0, step, &work); break;
        case kBoxOutline: plane->FillBox(box, c, step); break;
        case kTriangleOutline: plane->FillTriangle(box, c, 0, step, &work); break;
        }
    };
    auto border = [&](const MMColor& c, int32_t width, int16_t step) {
        switch (kind) {
        case kEllipseOutline: plane->FillEllipse(box, c, width, step, &work); break;
        case kBoxOutline: plane->FillBoxBorder(box, c, width, step); break;
        case kTriangleOutline: plane->FillTriangleBorder(box, c, width, step, &work); break;
        }
    };
    if (h > 255) {
        int32_t lens = h - 255;
        if (fillMode == kFillOutline) {
            switch (kind) {
            case kEllipseOutline: plane->RefractEllipseColors(box, lens, &work); break;
            case kBoxOutline: plane->RefractBoxColors(box, lens, &work); break;
            case kTriangleOutline: plane->RefractTriangleColors(box, lens, &work); break;
            }
        } else {
            fill(fillMode == kFillWhiteOutline ? white : ink, 0);
        }
        switch (kind) {
        case kEllipseOutline: plane->RaiseEllipseHeights(box, lens, &work); break;
        case kBoxOutline: plane->RaiseBoxHeights(box, lens, &work); break;
        case kTriangleOutline: plane->RaiseTriangleHeights(box, lens, &work); break;
        }
    } else {
        int16_t step = int16_t(255 - h);
        int32_t m = std::min(box.Width(), box.Height()) / 2;
        int32_t width = std::max(1, int32_t((slider1 ? *slider1 : 0) / 510.0 * m));
        if (fillMode == kFillOutline) {
            border(ink, width, step);
        } else if (fillMode == kFillWhiteOutline) {
            fill(white, step);
            border(ink, width, 0);
        } else {
            fill(ink, step);
        }
    }
    // Shapes may raise paint below and right of their box: that whole
    // corner of the plane is redrawn, clipped to the plane.
    Box dirty = {box.left, box.top, plane->width, plane->height};
    dirty.Intersect(plane->Bounds());
    plane->AddDirtyRect(dirty);
    plane->SetDirtyFlag(0);
    plane->changeState.Advance();
    canvas->Invalidate();
    canvas->RefreshDrawMethodRect(dirty);
}

KVXShapeVisual* KVXEllipseShapeToolInterpreter::MakeFeedbackVisual()
{
    return new (gDefaultHeap)
        KVXEllipticalShapeVisual(canvas, startPoint.x, startPoint.y, kFeedbackLayer);
}

KVXShapeVisual* KVXRectangleShapeToolInterpreter::MakeFeedbackVisual()
{
    return new (gDefaultHeap)
        KVXRectangularShapeVisual(canvas, startPoint.x, startPoint.y, kFeedbackLayer);
}

KVXShapeVisual* KVXTriangleShapeToolInterpreter::MakeFeedbackVisual()
{
    return new (gDefaultHeap)
        KVXTriangularShapeVisual(canvas, startPoint.x, startPoint.y, kFeedbackLayer);
}

KVXGlobbyShapeToolInterpreter::KVXGlobbyShapeToolInterpreter(
    KVXCreationHost* host, const uint8_t* colour, const int16_t* slider1, const int16_t* slider2,
    MMStage* stage, KVXCanvasVisual* canvas, BrushBase* brush, MMCursor* cursor)
    : KVXEllipseShapeToolInterpreter(host, kFillWhiteOutline, colour, slider1, slider2, stage,
                                     canvas, brush, cursor)
{
}

void KVXGlobbyShapeToolInterpreter::DrawShape()
{
    if (!canvas || !canvas->Plane())
        return;
    auto* gloppy = dynamic_cast<KVXDrawMethodGloppy*>(canvas->DrawMethod());
    if (gloppy && colour) {
        Pair centre = {(shapeBox.left + shapeBox.right) / 2, (shapeBox.top + shapeBox.bottom) / 2};
        uint32_t bgr = colour[0] | (uint32_t(colour[1]) << 8) | (uint32_t(colour[2]) << 16);
        gloppy->AddGlob(*canvas->Plane(), centre, shapeBox.Width(), bgr);
    }
    canvas->Invalidate();
}

ShapeTool::ShapeTool(KVXCreationHost* scene, int32_t shapeKind, int32_t fillMode,
                     MMResourceId tableId, const uint8_t* colour)
    : KVXToolStd(scene, tableId, kShapeSizeType, colour), shapeKind(shapeKind), fillMode(fillMode)
{
    soundId = kShapeSoundId;
    slider1Copy = slider1;
    slider2Copy = slider2;
}

void ShapeTool::SetSlider1(int16_t value)
{
    slider1 = value;
    slider1Copy = value;
}

void ShapeTool::SetSlider2(int16_t value)
{
    slider2 = value;
    slider2Copy = value;
    if (auto* shapes = dynamic_cast<KVXShapeToolInterpreter*>(interpreter))
        shapes->SetFeedbackStyle(value < 256);
}

void ShapeTool::SetShape(int32_t mode)
{
    if (auto* shapes = dynamic_cast<KVXShapeToolInterpreter*>(interpreter))
        shapes->SetFillMode(mode);
    fillMode = mode;
}

void ShapeTool::MakeGenerator() { AttachGenerator(new (gDefaultHeap) IteratingPathGenerator); }

void ShapeTool::MakeBrush()
{
    if (slider2Copy == 255)
        SetBrush(MakeStdBrush<ShapeBrush>(pressures, colour));
}

void ShapeTool::MakeInterpreter()
{
    if (shapeKind < kShapeEllipse || shapeKind > kShapeGlob)
        return;
    cursorIndex = ToolCursorIndex(kShapeCursorKeys[shapeKind], cursorIndex);
    MMCursor* cursor = AppCursor(cursorIndex);
    KVXShapeToolInterpreter* shapes = nullptr;
    const int16_t* s1 = &slider1Copy;
    const int16_t* s2 = &slider2Copy;
    switch (shapeKind) {
    case kShapeEllipse:
        shapes = new (gDefaultHeap) KVXEllipseShapeToolInterpreter(
            creationScene, fillMode, colour, s1, s2, Stage(), GetCreationCanvas(), brush, cursor);
        break;
    case kShapeRectangle:
        shapes = new (gDefaultHeap) KVXRectangleShapeToolInterpreter(
            creationScene, fillMode, colour, s1, s2, Stage(), GetCreationCanvas(), brush, cursor);
        break;
    case kShapeTriangle:
        shapes = new (gDefaultHeap) KVXTriangleShapeToolInterpreter(
            creationScene, fillMode, colour, s1, s2, Stage(), GetCreationCanvas(), brush, cursor);
        break;
    default:
        shapes = new (gDefaultHeap) KVXGlobbyShapeToolInterpreter(
            creationScene, colour, s1, s2, Stage(), GetCreationCanvas(), brush, cursor);
        break;
    }
    shapes->SetFeedbackStyle(shapeKind == kShapeGlob ? 0 : slider2Copy < 256);
    shapes->SetPending(creationScene ? creationScene->ColorPickerOwner() : nullptr);
    drawMethodKind = kShapeDrawKinds[shapeKind];
    interpreter = shapes;
}
