#include "trays/eraser_tray.h"

#include "engine/picture_molecule.h"
#include "framework/heap.h"
#include "tools/eraser_tools.h"
#include "trays/bitmap_buttons.h"
#include "trays/creation_zoom.h"
#include "trays/manager_tool.h"
#include "trays/modifier_buttons.h"
#include "trays/tray_rows.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kSoftTable = 525;
const int16_t kWaterTable = 526;
const int16_t kSqueegeeTable = 527;
const int16_t kPhaserTable = 528;
const int16_t kEraserButtons = 619;
const int16_t kEraserSliders = 621;
const int16_t kOrnamentTables[2] = {692, 693};
const int16_t kWaterTool = 3;

}  // namespace

KVXEraserToolCollection::KVXEraserToolCollection(uint32_t* colorCell,
                                                 KVXCreationHost* creationScene,
                                                 KVXPlaneComponentTop* previewPlane,
                                                 MMBitmapWithPixels* previewBitmapA,
                                                 MMBitmapWithPixels* previewBitmapB)
    : KVXToolCollection(colorCell, creationScene, previewPlane, previewBitmapA, previewBitmapB)
{
}

void KVXEraserToolCollection::Begin()
{
    KVXCreationHost* scene = GetCreationScene();
    AddTool(new SoftEraserTool(scene, TrayTableId(kSoftTable), sizeType));
    AddTool(new SqueegeeEraserTool(scene, TrayTableId(kSqueegeeTable), sizeType));
    AddTool(new PhaserEraserTool(scene, TrayTableId(kPhaserTable)));
    AddTool(new WaterTool(scene, TrayTableId(kWaterTable), sizeType,
                          reinterpret_cast<const uint8_t*>(colorCell)));
    KVXToolCollection::Begin();
}

void KVXEraserToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    if (newMode == 0) {
        for (int16_t i = 0; i < 3; ++i) {
            if (KVXBaseModifiersObject* button = MakeModifierButton(0, i, i))
                AddModifier(button);
            if (i < 2)
                ornaments[i] = MakeTrayDecoration(this, kOrnamentTables[i]);
        }
    } else if (KVXBaseModifiersObject* button = MakeModifierButton(newMode, 0, kWaterTool)) {
        AddModifier(button);
    }
    if (manager != nullptr)
        manager->ShowSizeButtons();
    KVXToolCollection::SetModeAndSelect(newMode, index);
    if (newMode == 0)
        MakeSliders(TrayTableId(kEraserSliders));
}

void KVXEraserToolCollection::ReleaseModifiers()
{
    KVXToolCollection::ReleaseModifiers();
    for (MMPictureMolecule*& ornament : ornaments) {
        delete ornament;
        ornament = nullptr;
    }
}

KVXBaseModifiersObject* KVXEraserToolCollection::MakeModifierButton(int16_t buttonMode,
                                                                    int16_t index,
                                                                    int16_t toolIndex)
{
    if (buttonMode != 0)
        return MakeBlankButton(this, toolIndex, MakeModifierCommand(index));
    MMRecordTable rows;
    rows.Load(TrayTableId(kEraserButtons), 16, gDefaultHeap);
    return MakeBitmapButton(this, toolIndex, BitmapButtonRow(rows, index),
                            MakeModifierCommand(index));
}

void KVXEraserToolCollection::SelectModifier(int16_t index)
{
    ShowCreationZoom(this);
    KVXToolCollection::SelectModifier(RefuseAllBut(this, index, 0));
    if (dynamic_cast<WaterTool*>(CurrentTool()) != nullptr)
        ShowSliders(this, false, false);
    else if (dynamic_cast<SqueegeeEraserTool*>(CurrentTool()) == nullptr &&
             dynamic_cast<SoftEraserTool*>(CurrentTool()) != nullptr)
        ShowSliders(this, true, true);
}

void KVXEraserToolCollection::ForwardSizeOrShape(int16_t which, bool)
{
    KVXToolCollection::ForwardSizeOrShape(which, false);
    if (currentModifier < 0)
        return;
    ReplaceModifierBitmap(currentModifier);
    if (KVXBaseModifiersObject* button = ModifierAt(currentModifier))
        button->Select();
}
