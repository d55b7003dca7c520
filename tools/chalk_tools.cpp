#include "tools/chalk_tools.h"

#include "brushes/path_generator.h"
#include "brushes/smear_brush.h"
#include "brushes/std_brush.h"
#include "tools/slider_modes.h"

ChalkTool::ChalkTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                     const uint8_t* colour, int16_t cursorKey, MMResourceId sound, Quiet)
    : KVXLineModeTool<KVXToolStd>(scene, tableId, sizeType, colour)
{
    cursorIndex = ToolCursorIndex(cursorKey, cursorIndex);
    soundId = sound;
}

ChalkTool::ChalkTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                     const uint8_t* colour)
    : ChalkTool(scene, tableId, sizeType, colour, 9, 467, Quiet{})
{
    StartSliders();
}

void ChalkTool::StartSliders()
{
    SetSlider1(slider1);
    SetSlider2(slider2);
    ChooseDrawMethod();
}

void ChalkTool::SetSlider1(int16_t value)
{
    slider1 = value;
    if (brush || !generatorNeedsBrush)
        MakeGenerator();
}

void ChalkTool::SetSlider2(int16_t value)
{
    HeightsFromSlider2(value, 256);
    ChooseDrawMethod();
    if (brush) {
        SetBrush(nullptr);
        MakeBrush();
        MakeGenerator();
    }
    HandBrushesToInterpreter();
}

void ChalkTool::ChooseDrawMethod() { drawMethodKind = HeightDrawKind(slider2); }

void ChalkTool::MakeGenerator()
{
    // A style outside the seven leaves the brush's generator in place.
    if (IteratingPathGenerator* generator = MakeLineStyleGenerator(LineStyleOf(slider1)))
        AttachGenerator(generator);
}

void ChalkTool::MakeBrush()
{
    if (TargetPlane() == GetCanvasComponentPlane())
        BuildWriteAllBrush();
    KVXStdBrushArgs args(pressures, TargetPlane(), GetCanvasBytePlane());
    SetBrush(NewMainBrush(args));
}

BrushBase* ChalkTool::NewMainBrush(const KVXStdBrushArgs& args) const
{
    return NewRaisingOrCarving<KVXBrushStdTransfer, KVXCoverTransfer, KVXPlainPixelTransfer,
                               KVXColorGeneratorSaturation, KVXOpacityGeneratorGrainy>(
        slider2Full != 0, args, colour);
}

CrayonTool::CrayonTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                       const uint8_t* colour, int16_t cursorKey, MMResourceId sound)
    : ChalkTool(scene, tableId, sizeType, colour, cursorKey, sound, Quiet{})
{
    generatorNeedsBrush = false;
}

CrayonTool::CrayonTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                       const uint8_t* colour)
    : CrayonTool(scene, tableId, sizeType, colour, 7, 461)
{
    StartSliders();
}

BrushBase* CrayonTool::NewMainBrush(const KVXStdBrushArgs& args) const
{
    return NewRaisingOrCarving<KVXBrushStdTransfer, KVXBuildupTransfer, KVXPlainPixelTransfer,
                               KVXColorGeneratorBleed, KVXOpacityGeneratorGrainy>(
        slider2Full != 0, args, colour);
}

MeltedCrayonTool::MeltedCrayonTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                                   const uint8_t* colour)
    : CrayonTool(scene, tableId, sizeType, colour, 8, 462)
{
    StartSliders();
}

void MeltedCrayonTool::MakeGenerator()
{
    // The plain line carries the stroke's direction, which the smear needs.
    if (LineStyleOf(slider1) == 3)
        AttachGenerator(new (gDefaultHeap) DirectionalPathGenerator);
    else
        ChalkTool::MakeGenerator();
}

BrushBase* MeltedCrayonTool::NewMainBrush(const KVXStdBrushArgs& args) const
{
    return NewRaisingOrCarving<KVXBrushDirectionalCAndHMover, KVXBuildupTransfer,
                               KVXPlainPixelTransfer, KVXColorGeneratorBleed,
                               KVXOpacityGeneratorNib>(slider2Full != 0, args, colour);
}
