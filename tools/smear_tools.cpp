#include "tools/smear_tools.h"

#include "brushes/path_generator.h"
#include "brushes/single_brushes.h"
#include "brushes/smear_brush.h"
#include "brushes/timed_generators.h"
#include "tools/slider_modes.h"

WaterColorTool::WaterColorTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                               const uint8_t* colour)
    : KVXMetaballTool(scene, tableId, sizeType, colour)
{
    cursorIndex = ToolCursorIndex(4, cursorIndex);
    soundId = 459;
    drawMethodKind = 12;
}

FingerPaintTool::FingerPaintTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                                 const uint8_t* colour)
    : KVXToolStd(scene, tableId, sizeType, colour)
{
    cursorIndex = ToolCursorIndex(5, cursorIndex);
    soundId = 458;
    SetSlider1(slider1);
    SetSlider2(slider2);
    ChooseDrawMethod();
}

void FingerPaintTool::SetSlider1(int16_t value)
{
    slider1 = value;
    slider1Full = value > 255;
    ChooseDrawMethod();
    RebuildBrushAndInterpreter();
}

void FingerPaintTool::StoreSlider2(int16_t value)
{
    HeightsFromSlider2(value, 256);
    ChooseDrawMethod();
}

void FingerPaintTool::SetSlider2(int16_t value)
{
    StoreSlider2(value);
    RebuildBrushAndInterpreter();
}

void FingerPaintTool::ChooseDrawMethod()
{
    drawMethodKind = DrippyHeightDrawKind(slider1Full != 0, slider2);
}

void FingerPaintTool::MakeGenerator() { AttachGenerator(new (gDefaultHeap) DirectionalPathGenerator); }

void FingerPaintTool::MakeBrush()
{
    if (TargetPlane() == GetCanvasComponentPlane())
        BuildWriteAllBrush();
    KVXStdBrushArgs args(pressures, TargetPlane(), GetCanvasBytePlane());
    SetBrush(NewDrippyOrPlain<KVXBrushDirectionalCAndHMover, KVXCoverTransfer,
                              KVXColorGeneratorSaturation, KVXOpacityGeneratorNib>(
        slider1Full != 0, slider2Full != 0, args, colour));
}

ElectricToothbrushTool::ElectricToothbrushTool(KVXCreationHost* scene, MMResourceId tableId,
                                               int32_t sizeType, const uint8_t* colour)
    : KVXToolStd(scene, tableId, sizeType, colour)
{
    cursorIndex = ToolCursorIndex(6, cursorIndex);
    soundId = 487;
    drawMethodKind = 3;
}

void ElectricToothbrushTool::MakeGenerator()
{
    BuildSineCosineTables();
    auto* generator = new (gDefaultHeap) ContinuousSquigglyPathGenerator(Stage());
    generator->Activate();
    AttachGenerator(generator);
}

void ElectricToothbrushTool::MakeBrush()
{
    BuildWriteAllBrush();
    KVXStdBrushArgs args(pressures, GetCanvasComponentPlane(), GetCanvasBytePlane());
    SetBrush(new (gDefaultHeap)
                 KVXBrushDirectionalCAndHMover<KVXBuildupTransfer, KVXPlainPixelTransfer,
                                               KVXHeightTransfer, KVXColorGeneratorBleed,
                                               KVXOpacityGeneratorNib>(
                     args.path, args.ramp, args.opacity, args.heights, args.plane, args.nib,
                     args.texture, colour));
}
