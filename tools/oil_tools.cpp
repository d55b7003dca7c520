#include "tools/oil_tools.h"

#include <algorithm>

#include "brushes/multi_brush.h"
#include "brushes/path_generator.h"
#include "brushes/std_brush.h"
#include "framework/random.h"
#include "tools/slider_modes.h"

OilTool::OilTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                 const uint8_t* colour)
    : KVXToolStd(scene, tableId, sizeType, colour)
{
    cursorIndex = ToolCursorIndex(3, cursorIndex);
    soundId = 485;
    SetSlider1(slider1);
    SetSlider2(slider2);
    ChooseDrawMethod();
}

KVXBrushRake* OilTool::Rake() const { return dynamic_cast<KVXBrushRake*>(brush); }

void OilTool::SetSlider1(int16_t value)
{
    slider1 = value;
    slider1Full = value > 255;
    ChooseDrawMethod();
    RebuildBrushAndInterpreter();
}

void OilTool::StoreSlider2(int16_t value)
{
    HeightsFromSlider2(value, 256);
    ChooseDrawMethod();
}

void OilTool::SetSlider2(int16_t value)
{
    StoreSlider2(value);
    RebuildBrushAndInterpreter();
}

void OilTool::ChooseDrawMethod() { drawMethodKind = DrippyHeightDrawKind(slider1Full != 0, slider2); }

void OilTool::MakeGenerator() { AttachGenerator(new (gDefaultHeap) DirectionalPathGenerator); }

void OilTool::MakeBrush()
{
    if (TargetPlane() == GetCanvasComponentPlane())
        BuildWriteAllBrush();
    int16_t a = SettingsColumn(tableId, sizeType, 30);
    int16_t b = SettingsColumn(tableId, sizeType, 32);
    uint8_t rowWidth = uint8_t(a);
    auto* rake = new (gDefaultHeap) KVXBrushRake(TargetPlane(), rowWidth * b / 255.0, rowWidth);
    auto* own = new (gDefaultHeap) IteratingPathGenerator;
    const double path[4] = {a / 255.0, a / 255.0, double(b), double(b)};
    own->SetParameters(path);
    rake->SetPathGenerator(own);
    SetBrush(rake);
    BuildBristles();
}

void OilTool::BuildBristles()
{
    KVXBrushRake* rake = Rake();
    if (!rake)
        return;
    int16_t n = SettingsColumn(tableId, sizeType, 28);
    for (int32_t i = 0; i < n; ++i) {
        int32_t r = ProgramRandom().Range(0, 2) - 1;
        KVXToolPressures bristle = pressures;
        bristle.diameterMin = int16_t(std::clamp(pressures.diameterMin + r, 0, 255));
        bristle.diameterMax = int16_t(std::clamp(pressures.diameterMax + r, 0, 255));
        KVXStdBrushArgs args(bristle, TargetPlane(), GetCanvasBytePlane());
        BrushBase* hair =
            NewDrippyOrPlain<KVXBrushStdTransfer, KVXCoverTransfer,
                             KVXColorGeneratorOffsetSaturation, KVXOpacityGeneratorTexture>(
                slider1Full != 0, slider2Full != 0, args, colour);
        auto* walk = new (gDefaultHeap) IteratingPathGenerator;
        walk->SetParameters(args.path);
        hair->SetPathGenerator(walk);
        rake->AddBrush(hair);
        delete hair;
    }
}
