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

KVXPaintBrushToolCollection::KVXPaintBrushToolCollection(uint32_t* colorCell,
                                                         KVXCreationHost* creationScene,
                                                         KVXPlaneComponentTop* previewPlane,
                                                         MMBitmapWithPixels* previewBitmapA,
                                                         MMBitmapWithPixels* previewBitmapB)
    : KVXToolCollection(colorCell, creationScene, previewPlane, previewBitmapA, previewBitmapB),
      colorCopy(*colorCell)
{
}

KVXToolBase* KVXPaintBrushToolCollection::ModifierTwin(int16_t index) const
{
    switch (index) {
    case 0: return static_cast<KVXToolBase*>(oilTwin);
    case 1: return static_cast<KVXToolBase*>(fingerTwin);
    case 2: return static_cast<KVXToolBase*>(waterTwin);
    default: return nullptr;
    }
}

void KVXPaintBrushToolCollection::Begin()
{
    KVXCreationHost* scene = GetCreationScene();
    const uint8_t* colour = reinterpret_cast<const uint8_t*>(colorCell);
    const uint8_t* copy = reinterpret_cast<const uint8_t*>(&colorCopy);
    AddTool(new OilTool(scene, TrayTableId(kOilTable), sizeType, colour));
    AddTool(new FingerPaintTool(scene, TrayTableId(kFingerTable), sizeType, colour));
    AddTool(new WaterColorTool(scene, TrayTableId(kWaterColorTable), sizeType, colour));
    AddTool(new ElectricToothbrushTool(scene, TrayTableId(kToothbrushTable), sizeType, colour));
    oilTwin = new ModifierOilTool(scene, TrayTableId(kOilTable), copy, previewPlane);
    fingerTwin = new ModifierFingerPaintTool(scene, TrayTableId(kFingerTable), copy, previewPlane);
    waterTwin = new ModifierWaterColorTool(scene, TrayTableId(kWaterColorTable), copy, previewPlane);
    for (int16_t i = 0; i < 3; ++i)
        ModifierTwin(i)->Begin();
    KVXToolCollection::Begin();
}

void KVXPaintBrushToolCollection::DeleteMolecules()
{
    for (int16_t i = 0; i < 3; ++i) {
        if (KVXToolBase* twin = ModifierTwin(i)) {
            twin->DeleteMolecules();
            delete twin;
        }
    }
    oilTwin = nullptr;
    fingerTwin = nullptr;
    waterTwin = nullptr;
    KVXToolCollection::DeleteMolecules();
}

void KVXPaintBrushToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    colorCopy = *colorCell;
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
        return MakeGlobbyButton(this, rows, index, GlobbyParameter(waterTwin), &colorCopy,
                                toolIndex, command);
    KVXToolBase* twin = ModifierTwin(index);
    return MakeStrokedButton(this, rows, index, twin != nullptr ? twin->Brush() : nullptr,
                             &colorCopy, toolIndex, command);
}

void KVXPaintBrushToolCollection::SelectModifier(int16_t index)
{
    KVXToolCollection::SelectModifier(RefuseAllBut(this, index, 0));
}

void KVXPaintBrushToolCollection::ForwardSizeOrShape(int16_t which, bool rebuild)
{
    if (KVXToolBase* twin = ModifierTwin(currentModifier))
        if (which == 0 || which == 1)
            ToolSetSlider(twin, which, GetSliderValue(which));
    KVXToolCollection::ForwardSizeOrShape(which, which == 1 && rebuild);
}

void KVXPaintBrushToolCollection::StoreOwnerValue(const uint32_t* colour)
{
    KVXToolCollection::StoreOwnerValue(colour);
    RebuildModifiers();
}

void KVXPaintBrushToolCollection::TextureChanged() { RebuildModifiers(); }
