#include "trays/paint_brush_tray.h"

#include "tools/oil_tools.h"
#include "tools/smear_tools.h"
#include "trays/manager_tool.h"
#include "trays/modifier_buttons.h"
#include "trays/tray_rows.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kOilTable = 514;
const int16_t kWaterColorTable = 515;
const int16_t kFingerTable = 516;
const int16_t kToothbrushTable = 517;
const int16_t kBrushButtons = 596;
const int16_t kBrushStrokes = 687;
const int16_t kBrushSliders = 598;
const int16_t kToothbrushTool = 3;

}  // namespace

void KVXPaintBrushToolCollection::Begin()
{
    KVXCreationHost* scene = GetCreationScene();
    const uint8_t* colour = reinterpret_cast<const uint8_t*>(colorCell);
    AddTool(new OilTool(scene, TrayTableId(kOilTable), sizeType, colour));
    AddTool(new FingerPaintTool(scene, TrayTableId(kFingerTable), sizeType, colour));
    AddTool(new WaterColorTool(scene, TrayTableId(kWaterColorTable), sizeType, colour));
    AddTool(new ElectricToothbrushTool(scene, TrayTableId(kToothbrushTable), sizeType, colour));
    AddTwin(new ModifierOilTool(scene, TrayTableId(kOilTable), CopyRecord(), previewPlane));
    AddTwin(new ModifierFingerPaintTool(scene, TrayTableId(kFingerTable), CopyRecord(),
                                        previewPlane));
    AddTwin(new ModifierWaterColorTool(scene, TrayTableId(kWaterColorTable), CopyRecord(),
                                       previewPlane));
    BeginTwins();
    KVXToolCollection::Begin();
}

void KVXPaintBrushToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    TakeColour();
    if (newMode == 0) {
        for (int16_t i = 0; i < 3; ++i)
            if (KVXBaseModifiersObject* button = MakeModifierButton(0, i, i))
                AddModifier(button);
    } else if (KVXBaseModifiersObject* button = MakeModifierButton(newMode, 0, kToothbrushTool)) {
        AddModifier(button);
    }
    if (manager != nullptr)
        manager->ShowSizeButtons();
    KVXToolCollection::SetModeAndSelect(newMode, index);
    if (newMode == 0)
        MakeSliders(TrayTableId(kBrushSliders));
}

KVXBaseModifiersObject* KVXPaintBrushToolCollection::MakeModifierButton(int16_t buttonMode,
                                                                        int16_t index,
                                                                        int16_t toolIndex)
{
    MMCommand* command = MakeModifierCommand(index);
    if (buttonMode != 0)
        return MakeBlankButton(this, toolIndex, command);
    KVXTrayButtonRows rows(kBrushButtons, kBrushStrokes);
    if (index == 2)
        return MakeGlobbyButton(this, rows, index, GlobbyParameter(ModifierTwin(2)), &colorCopy,
                                toolIndex, command);
    return MakeStrokedButton(this, rows, index, BrushOf(ModifierTwin(index)), &colorCopy,
                             toolIndex, command);
}

void KVXPaintBrushToolCollection::SelectModifier(int16_t index)
{
    KVXToolCollection::SelectModifier(RefuseAllBut(this, index, 0));
}

void KVXPaintBrushToolCollection::ForwardSizeOrShape(int16_t which, bool rebuild)
{
    SlideTwin(ModifierTwin(currentModifier), which);
    KVXToolCollection::ForwardSizeOrShape(which, which == 1 && rebuild);
}
