#include "trays/marker_tray.h"

#include "tools/marker_tools.h"
#include "framework/heap.h"
#include "trays/bitmap_buttons.h"
#include "trays/manager_tool.h"
#include "trays/modifier_buttons.h"
#include "trays/tray_rows.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kMarkerTable = 519;
const int16_t kLeakyTable = 520;
const int16_t kInkTable = 521;
const int16_t kMarkerButtons = 602;
const int16_t kMarkerStrokes = 686;
const int16_t kTwistedButtons = 607;
const int16_t kMarkerSliders = 606;
const int16_t kTwistedSliders = 609;
const int16_t kFirstTwistedTool = 3;

}  // namespace

KVXMarkerToolCollection::KVXMarkerToolCollection(uint32_t* colorCell,
                                                 KVXCreationHost* creationScene,
                                                 KVXPlaneComponentTop* previewPlane,
                                                 MMBitmapWithPixels* previewBitmapA,
                                                 MMBitmapWithPixels* previewBitmapB)
    : KVXToolCollection(colorCell, creationScene, previewPlane, previewBitmapA, previewBitmapB),
      colorCopy(*colorCell)
{
}

KVXToolBase* KVXMarkerToolCollection::ModifierTwin(int16_t i) const
{
    return i == 0 ? static_cast<KVXToolBase*>(markerTwin)
                  : i == 1 ? static_cast<KVXToolBase*>(leakyTwin) : nullptr;
}

void KVXMarkerToolCollection::Begin()
{
    KVXCreationHost* scene = GetCreationScene();
    const uint8_t* colour = reinterpret_cast<const uint8_t*>(colorCell);
    const uint8_t* copy = reinterpret_cast<const uint8_t*>(&colorCopy);
    AddTool(new MarkerTool(scene, TrayTableId(kMarkerTable), sizeType, colour));
    AddTool(new LeakyMarkerTool(scene, TrayTableId(kLeakyTable), sizeType, colour));
    AddTool(new KVXToolInvisibleInkMarkerTool(scene, TrayTableId(kInkTable), sizeType, colour));
    AddTool(new KVXToolInvisibleInkRevealMarkerTool(scene, TrayTableId(kInkTable), sizeType,
                                                    colour));
    markerTwin = new ModifierMarkerTool(scene, TrayTableId(kMarkerTable), 0, copy, previewPlane);
    leakyTwin = new ModifierLeakyMarkerTool(scene, TrayTableId(kLeakyTable), 0, copy, previewPlane);
    markerTwin->Begin();
    leakyTwin->Begin();
    KVXToolCollection::Begin();
}

void KVXMarkerToolCollection::DeleteMolecules()
{
    for (KVXToolBase* twin : {static_cast<KVXToolBase*>(markerTwin),
                              static_cast<KVXToolBase*>(leakyTwin)}) {
        if (twin != nullptr) {
            twin->DeleteMolecules();
            delete twin;
        }
    }
    markerTwin = nullptr;
    leakyTwin = nullptr;
    KVXToolCollection::DeleteMolecules();
}

void KVXMarkerToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    colorCopy = *colorCell;
    mode = newMode;
    for (int16_t i = 0; i < 3; ++i)
        if (KVXBaseModifiersObject* button =
                MakeModifierButton(newMode, i, int16_t(newMode == 0 ? i : kFirstTwistedTool + i)))
            AddModifier(button);
    if (manager != nullptr)
        manager->ShowSizeButtons();
    // Each mode has sliders of its own, there before its tool shows or
    // hides them.
    MMResourceId sliders = TrayTableId(newMode == 0 ? kMarkerSliders : kTwistedSliders);
    if (sliders != sliderTable)
        DeleteSliders();
    MakeSliders(sliders);
    KVXToolCollection::SetModeAndSelect(newMode, index);
}

KVXBaseModifiersObject* KVXMarkerToolCollection::MakeModifierButton(int16_t buttonMode,
                                                                    int16_t index,
                                                                    int16_t toolIndex)
{
    if (buttonMode != 0) {
        MMRecordTable rows;
        rows.Load(TrayTableId(kTwistedButtons), 16, gDefaultHeap);
        return MakeBitmapButton(this, toolIndex, BitmapButtonRow(rows, index),
                                MakeModifierCommand(index));
    }
    KVXTrayButtonRows rows(kMarkerButtons, kMarkerStrokes);
    MMCommand* command = MakeModifierCommand(index);
    switch (index) {
    case 0:
        return MakeStrokedButton(this, rows, index, markerTwin ? markerTwin->Brush() : nullptr,
                                 &colorCopy, toolIndex, command);
    case 1:
        return MakeGlobbyButton(this, rows, index, GlobbyParameter(leakyTwin), &colorCopy,
                                toolIndex, command);
    default:
        return MakeRowPictureButton(this, rows, index, toolIndex, command);
    }
}

void KVXMarkerToolCollection::SelectModifier(int16_t index)
{
    KVXToolCollection::SelectModifier(RefuseAllBut(this, index, 0));
    KVXToolBase* tool = CurrentTool();
    if (dynamic_cast<KVXToolInvisibleInkRevealMarkerTool*>(tool) != nullptr)
        ShowSliders(this, true, false);
    else if (tool != nullptr && tool == ToolAt(0))
        ShowSliders(this, true, true);
}

void KVXMarkerToolCollection::ForwardSizeOrShape(int16_t which, bool)
{
    KVXToolBase* twin = ModifierTwin(currentModifier);
    if (twin != nullptr && (which == 0 || which == 1))
        ToolSetSlider(twin, which, GetSliderValue(which));
    KVXToolCollection::ForwardSizeOrShape(which, false);
    if (which != 1 || currentModifier < 0)
        return;
    int16_t current = currentModifier;
    ReplaceModifierBitmap(current);
    SelectModifier(-1);
    SelectModifier(current);
}

void KVXMarkerToolCollection::StoreOwnerValue(const uint32_t* colour)
{
    KVXToolCollection::StoreOwnerValue(colour);
    RebuildModifiers();
}
