#include "tools/spray_tools.h"

#include "brushes/path_generator.h"
#include "brushes/single_brushes.h"
#include "brushes/std_brush.h"
#include "brushes/timed_generators.h"
#include "tools/picture_lists.h"
#include "tools/slider_modes.h"

FineSprayTool::FineSprayTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                             const uint8_t* colour, MMResourceId sound, Quiet)
    : KVXToolStd(scene, tableId, sizeType, colour)
{
    cursorIndex = ToolCursorIndex(21, cursorIndex);
    soundId = sound;
}

FineSprayTool::FineSprayTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                             const uint8_t* colour)
    : FineSprayTool(scene, tableId, sizeType, colour, 486, Quiet{})
{
    StartSliders();
}

void FineSprayTool::StartSliders()
{
    SetSlider1(slider1);
    SetSlider2(slider2);
    ChooseDrawMethod();
}

void FineSprayTool::SetSlider1(int16_t value)
{
    // The paint kind reaches the brush at its next build.
    slider1 = value;
    slider1Full = value > 255;
    ChooseDrawMethod();
}

void FineSprayTool::SetSlider2(int16_t value)
{
    HeightsFromSlider2(value, 256);
    ChooseDrawMethod();
    RebuildBrushAndInterpreter();
}

void FineSprayTool::ChooseDrawMethod() { drawMethodKind = DrippyHeightDrawKind(slider1Full != 0, slider2); }

void FineSprayTool::MakeGenerator()
{
    auto* generator = new (gDefaultHeap) ContinuousPathGenerator(Stage());
    generator->Activate();
    AttachGenerator(generator);
}

void FineSprayTool::MakeBrush()
{
    if (TargetPlane() == GetCanvasComponentPlane())
        BuildWriteAllBrush();
    KVXStdBrushArgs args(pressures, TargetPlane(), GetCanvasBytePlane());
    SetBrush(NewDrippyOrPlain<KVXBrushStdTransfer, KVXCoverTransfer, KVXColorGeneratorSaturation,
                              KVXOpacityGeneratorNib>(slider1Full != 0, slider2Full != 0, args,
                                                      colour));
}

SpatterTool::SpatterTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                         const uint8_t* colour)
    : FineSprayTool(scene, tableId, sizeType, colour, 475, Quiet{})
{
    StartSliders();
}

void SpatterTool::MakeGenerator()
{
    auto* generator = new (gDefaultHeap) SpatterPathGenerator(Stage());
    generator->Activate();
    AttachGenerator(generator);
}

GloppyPaintTool::GloppyPaintTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                                 const uint8_t* colour)
    : KVXMetaballTool(scene, tableId, sizeType, colour)
{
    cursorIndex = ToolCursorIndex(22, cursorIndex);
    soundId = 481;
    SetSlider1(slider1);
    SetSlider2(slider2);
    ChooseDrawMethod();
}

void GloppyPaintTool::SetSlider1(int16_t value)
{
    slider1 = value;
    slider1Full = value >= 256;
}

void GloppyPaintTool::SetSlider2(int16_t value)
{
    slider2 = value;
    slider2Full = value >= 256;
}

WhippedCream::WhippedCream(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour)
    : KVXToolAnim(scene, tableId, 2, colour)
{
    cursorIndex = ToolCursorIndex(23, cursorIndex);
    soundId = 476;
    drawMethodKind = 5;
}

void WhippedCream::MakeBrush()
{
    const double opacity[4] = {255, 255, 255, 255};
    auto* sprayer = new (gDefaultHeap)
        KVXBrushSingleImageSprayer(GetCanvasComponentPlane(), colour, GetCanvasBytePlane(), opacity);
    sprayer->pictureIds = ReadPictureList(tableId, sizeType, gDefaultHeap);
    auto* generator = new (gDefaultHeap) IteratingPathGenerator;
    const double path[4] = {1.0 / 255, 1.0 / 255, 255, 255};
    generator->SetParameters(path);
    sprayer->SetPathGenerator(generator);
    SetBrush(sprayer);
}
