#include "tools/eraser_tools.h"

#include "brushes/path_generator.h"
#include "brushes/single_brushes.h"
#include "brushes/squeegee_brush.h"
#include "brushes/std_brush.h"
#include "brushes/timed_generators.h"
#include "canvas/canvas_visual.h"

namespace {

// The three erasers of slider 2, as soft eraser or squeegee.
template <template <class, class, class, class, class> class Brush>
BrushBase* NewEraser(int32_t kind, const KVXStdBrushArgs& a, const uint8_t* white)
{
    switch (kind) {
    case 0:
        return new (gDefaultHeap)
            Brush<KVXNULLTransfer, KVXPlainPixelTransfer, KVXHeightEraser, KVXColorGeneratorColor,
                  KVXOpacityGeneratorNib>(a.path, a.ramp, a.opacity, a.heights, a.plane, a.nib,
                                          a.texture, white);
    case 1:
        return new (gDefaultHeap)
            Brush<KVXCoverTransfer, KVXPlainPixelTransfer, KVXHeightEraser, KVXColorGeneratorColor,
                  KVXOpacityGeneratorNib>(a.path, a.ramp, a.opacity, a.heights, a.plane, a.nib,
                                          a.texture, white);
    default:
        return new (gDefaultHeap)
            Brush<KVXCoverTransfer, KVXPlainPixelTransfer, KVXNULLHeightTransfer,
                  KVXColorGeneratorColor, KVXOpacityGeneratorNib>(a.path, a.ramp, a.opacity,
                                                                  a.heights, a.plane, a.nib,
                                                                  a.texture, white);
    }
}

}  // namespace

SoftEraserTool::SoftEraserTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                               int16_t cursorKey, MMResourceId sound)
    : KVXToolStd(scene, tableId, sizeType)
{
    cursorIndex = ToolCursorIndex(cursorKey, cursorIndex);
    soundId = sound;
    SetSlider1(slider1);
    SetSlider2(slider2);
    ChooseDrawMethod();
}

SoftEraserTool::SoftEraserTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType)
    : SoftEraserTool(scene, tableId, sizeType, 12, 463)
{
}

int32_t SoftEraserTool::EraseKind(int32_t slider2)
{
    return slider2 < 170 ? 0 : slider2 < 340 ? 1 : 2;
}

void SoftEraserTool::SetSlider1(int16_t value)
{
    slider1 = value;
    pressures.opacityMax = int16_t(value / 2);
    pressures.opacityMin = int16_t(pressures.opacityMax * opacityRatio);
    RebuildBrushAndInterpreter();
}

void SoftEraserTool::SetSlider2(int16_t value)
{
    slider2 = value;
    ChooseDrawMethod();
    RebuildBrushAndInterpreter();
}

void SoftEraserTool::ChooseDrawMethod() { drawMethodKind = slider2 >= 256 ? 3 : 5; }

void SoftEraserTool::MakeBrush()
{
    KVXStdBrushArgs args(pressures, GetCanvasComponentPlane(), GetCanvasBytePlane());
    SetBrush(NewEraser<KVXBrushWriteAll>(EraseKind(slider2), args, eraserWhite));
}

SqueegeeEraserTool::SqueegeeEraserTool(KVXCreationHost* scene, MMResourceId tableId,
                                       int32_t sizeType)
    : SoftEraserTool(scene, tableId, sizeType, 13, 466)
{
}

void SqueegeeEraserTool::MakeGenerator()
{
    AttachGenerator(new (gDefaultHeap) DirectionalPathGenerator);
}

void SqueegeeEraserTool::MakeBrush()
{
    KVXStdBrushArgs args(pressures, GetCanvasComponentPlane(), GetCanvasBytePlane());
    SetBrush(NewEraser<KVXBrushSqueegeeBase>(EraseKind(slider2), args, eraserWhite));
}

PhaserEraserTool::PhaserEraserTool(KVXCreationHost* scene, MMResourceId tableId)
    : KVXToolStd(scene, tableId, 2)
{
    cursorIndex = ToolCursorIndex(14, cursorIndex);
    soundId = 480;
    drawMethodKind = 13;
}

void PhaserEraserTool::SetSizeType(int32_t type)
{
    // The burst's size is the draw method's: nothing of the table changes.
    if (type == sizeType)
        return;
    sizeType = type;
    if (brush)
        if (KVXCanvasVisual* canvas = GetCreationCanvas())
            canvas->SetDrawMethod(13, slider1, slider2, type);
}

void PhaserEraserTool::MakeBrush()
{
    KVXBrushScene* sounds = creationScene ? creationScene->BrushScene() : nullptr;
    SetBrush(new (gDefaultHeap)
                 KVXPhaserEraser(GetCreationCanvas(), GetCanvasComponentPlane(), sounds));
}

WaterTool::WaterTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                     const uint8_t* colour)
    : KVXToolStd(scene, tableId, sizeType, colour)
{
    cursorIndex = ToolCursorIndex(15, cursorIndex);
    soundId = 465;
    drawMethodKind = 9;
}

void WaterTool::MakeGenerator()
{
    auto* generator = new (gDefaultHeap) SpatterPathGenerator(Stage());
    generator->Activate();
    AttachGenerator(generator);
}

void WaterTool::MakeBrush()
{
    KVXStdBrushArgs args(pressures, GetCanvasComponentPlane(), GetCanvasBytePlane());
    SetBrush(new (gDefaultHeap)
                 KVXBrushStdTransfer<KVXNULLTransfer, KVXDrippyPixelTypeTransfer, KVXHeightTransfer,
                                     KVXColorGeneratorSaturation, KVXOpacityGeneratorNib>(
                     args.path, args.ramp, args.opacity, args.heights, args.plane, args.nib,
                     args.texture, colour));
}

ToGreyscaleEraserTool::ToGreyscaleEraserTool(KVXCreationHost* scene, MMResourceId tableId,
                                             int32_t sizeType, const uint8_t* colour)
    : KVXToolStd(scene, tableId, sizeType, colour)
{
    cursorIndex = ToolCursorIndex(15, cursorIndex);
    soundId = 463;
}

void ToGreyscaleEraserTool::MakeBrush()
{
    KVXStdBrushArgs args(pressures, GetCanvasComponentPlane(), GetCanvasBytePlane());
    SetBrush(new (gDefaultHeap)
                 KVXBrushWriteAll<KVXToGreyScaleTransfer, KVXPlainPixelTransfer, KVXHeightTransfer,
                                  KVXColorGeneratorColor, KVXOpacityGeneratorNib>(
                     args.path, args.ramp, args.opacity, args.heights, args.plane, args.nib,
                     args.texture, colour));
}
