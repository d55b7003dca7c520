#include "tools/marker_tools.h"

#include "brushes/path_generator.h"
#include "brushes/rainbow_brush.h"
#include "brushes/single_brushes.h"
#include "brushes/std_brush.h"

namespace {
typedef KVXBrushStdTransfer<KVXBuildupTransfer, KVXPlainPixelTransfer, KVXHeightTransfer,
                            KVXColorGeneratorBleed, KVXOpacityGeneratorNib>
    RaisingMarker;
typedef KVXBrushStdTransfer<KVXBuildupTransfer, KVXPlainPixelTransfer, KVXHeightCarve,
                            KVXColorGeneratorBleed, KVXOpacityGeneratorNib>
    CarvingMarker;
typedef KVXBrushWriteAll<KVXCoverTransfer, KVXInvisibleInkPixelTypeTransfer, KVXNULLHeightTransfer,
                         KVXColorGeneratorColor, KVXOpacityGeneratorNib>
    InkMarker;
typedef KVXBrushWriteAll<KVXCoverTransfer, KVXRevealInvisibleInkPixelTypeTransfer,
                         KVXNULLHeightTransfer, KVXColorGeneratorColor, KVXOpacityGeneratorNib>
    RevealMarker;
typedef KVXBrushRainbow<KVXBuildupTransfer, KVXPlainPixelTransfer, KVXHeightTransfer,
                        KVXColorGeneratorBleed, KVXOpacityGeneratorNib>
    RaisingRainbow;
typedef KVXBrushRainbow<KVXBuildupTransfer, KVXPlainPixelTransfer, KVXHeightCarve,
                        KVXColorGeneratorBleed, KVXOpacityGeneratorNib>
    CarvingRainbow;
}  // namespace

MarkerTool::MarkerTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                       const uint8_t* colour, Quiet)
    : KVXToolStd(scene, tableId, sizeType, colour)
{
    cursorIndex = ToolCursorIndex(kMarkerCursorKey, cursorIndex);
    soundId = kMarkerSound;
}

MarkerTool::MarkerTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                       const uint8_t* colour)
    : MarkerTool(scene, tableId, sizeType, colour, Quiet{})
{
    SetSlider1(slider1);
    SetSlider2(slider2);
    ChooseDrawMethod();
}

void MarkerTool::SetSlider1(int16_t value)
{
    slider1 = value;
    MakeGenerator();
}

void MarkerTool::MakeGenerator() { AttachGenerator(MakeLineStyleGenerator(LineStyleOf(slider1))); }

void MarkerTool::ChooseDrawMethod()
{
    drawMethodKind = slider2 >= 256 ? 4 : (slider2 == 255 ? 3 : 5);
}

void MarkerTool::SetSlider2(int16_t value)
{
    // Full from 256 up: at 255 the marker neither raises nor carves.
    HeightsFromSlider2(value, 256);
    ChooseDrawMethod();
    RebuildBrushAndInterpreter();
}

void MarkerTool::MakeBrush()
{
    BuildWriteAllBrush();
    if (slider2Full)
        SetBrush(MakeStdBrush<RaisingMarker>(pressures, colour));
    else
        SetBrush(MakeStdBrush<CarvingMarker>(pressures, colour));
}

KVXToolInvisibleInkMarkerTool::KVXToolInvisibleInkMarkerTool(KVXCreationHost* scene,
                                                             MMResourceId tableId,
                                                             int32_t sizeType,
                                                             const uint8_t* colour)
    : MarkerTool(scene, tableId, sizeType, colour, Quiet{})
{
    soundId = kInkMarkerSound;
    SetSlider1(slider1);
    ChooseDrawMethod();
}

void KVXToolInvisibleInkMarkerTool::MakeBrush()
{
    BuildWriteAllBrush();
    SetBrush(MakeStdBrush<InkMarker>(pressures, colour));
}

KVXToolInvisibleInkRevealMarkerTool::KVXToolInvisibleInkRevealMarkerTool(KVXCreationHost* scene,
                                                                         MMResourceId tableId,
                                                                         int32_t sizeType,
                                                                         const uint8_t* colour)
    : MarkerTool(scene, tableId, sizeType, colour, Quiet{})
{
    soundId = kInkMarkerSound;
    SetSlider1(slider1);
    ChooseDrawMethod();
}

void KVXToolInvisibleInkRevealMarkerTool::MakeBrush()
{
    BuildWriteAllBrush();
    SetBrush(MakeStdBrush<RevealMarker>(pressures, colour));
}

RainbowMarkerTool::RainbowMarkerTool(KVXCreationHost* scene, MMResourceId tableId,
                                     const uint8_t* colour)
    : MarkerTool(scene, tableId, 2, colour, Quiet{})
{
    soundId = kRainbowSound;
    SetSlider1(slider1);
    SetSlider2(slider2);
}

void RainbowMarkerTool::SetSlider2(int16_t value)
{
    drawMethodKind = HeightsFromSlider2(value, 256) ? 4 : 5;
    RebuildBrushAndInterpreter();
}

void RainbowMarkerTool::MakeBrush()
{
    BuildWriteAllBrush();
    if (slider2Full)
        SetBrush(MakeStdBrush<RaisingRainbow>(pressures, colour));
    else
        SetBrush(MakeStdBrush<CarvingRainbow>(pressures, colour));
}

LeakyMarkerTool::LeakyMarkerTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                                 const uint8_t* colour)
    : KVXToolStd(scene, tableId, sizeType, colour)
{
    cursorIndex = ToolCursorIndex(kMarkerCursorKey, cursorIndex);
    soundId = kLeakySound;
    SetSlider1(slider1);
    SetSlider2(slider2);
    ChooseDrawMethod();
}

void LeakyMarkerTool::SetSlider1(int16_t value)
{
    slider1 = value;
    slider1Full = value >= 256;
}

void LeakyMarkerTool::SetSlider2(int16_t value)
{
    slider2 = value;
    slider2Full = value >= 256;
}

void LeakyMarkerTool::MakeBrush()
{
    BuildWriteAllBrush();
    SetBrush(new (gDefaultHeap) KVXBrushMetaball(
        int16_t(pressures.diameterMin / 255.0 * 100), int16_t(pressures.diameterMax / 255.0 * 100),
        colour, GetCreationCanvas(), TargetPlane()));
}

void LeakyMarkerTool::SetSizeType(int32_t type)
{
    if (type == sizeType)
        return;
    SavePressureSettings();
    sizeType = type;
    LoadTableDefaults();
    LoadPressureSettings();
    if (auto* metaball = dynamic_cast<KVXBrushMetaball*>(brush)) {
        MakeGenerator();
        metaball->radiusMin = int16_t(pressures.diameterMin / 255.0 * 100);
        metaball->radiusMax = int16_t(pressures.diameterMax / 255.0 * 100);
    }
    SetSlider1(slider1);
    SetSlider2(slider2);
}

ModifierRainbowMarkerTool::ModifierRainbowMarkerTool(KVXCreationHost* scene, MMResourceId tableId,
                                                     const uint8_t* colour,
                                                     KVXPlaneComponent* preview, int32_t sizeType)
    : KVXModifierTwin<RainbowMarkerTool>(preview, scene, tableId, colour)
{
    this->sizeType = sizeType;
    LoadTableDefaults();
    LoadPressureSettings();
}
