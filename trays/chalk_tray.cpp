#include "trays/chalk_tray.h"

#include "canvas/canvas_visual.h"
#include "canvas/plane.h"
#include "engine/record_table.h"
#include "framework/heap.h"
#include "tools/chalk_tools.h"
#include "trays/manager_tool.h"
#include "trays/stroked_modifiers.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kChalkTable = 518;
const int16_t kChalkButtons = 590;
const int16_t kChalkStrokes = 683;
const int16_t kChalkSliders = 592;
const int16_t kModifierLayer = 107;

}  // namespace

void InvertCanvas(KVXSubScene* scene)
{
    KVXPlaneComponentTop* plane = scene->GetCanvasComponentPlane();
    if (plane == nullptr || plane->bits == nullptr)
        return;
    KVXCanvasVisual* canvas = scene->GetCreationCanvas();
    if (canvas != nullptr)
        canvas->SnapshotForUndo(false);
    for (int32_t y = 0; y < plane->height; ++y) {
        KVXComponentPixel* p = plane->Row(y);
        for (int32_t x = 0; x < plane->width; ++x, ++p) {
            p->blue = uint8_t(255 - p->blue);
            p->green = uint8_t(255 - p->green);
            p->red = uint8_t(255 - p->red);
        }
    }
    plane->MarkAllDirty();
    plane->changeState.Advance();
    if (canvas != nullptr)
        canvas->Invalidate();
}

void BuildStrokedButtons(KVXToolCollection* tray, int16_t layoutTable, int16_t strokeList,
                         BrushBase* brush, uint32_t* colour, int16_t toolIndex)
{
    MMRecordTable layout, strokes;
    layout.Load(TrayTableId(layoutTable), 16, gDefaultHeap);
    strokes.Load(TrayTableId(strokeList), 2, gDefaultHeap);
    for (int32_t j = 0; j < strokes.RowCount(); ++j) {
        KVXStrokedPreview preview = {colour,
                                     TrayTableId(strokes.ShortAt(j, 0)),
                                     layout.LongAt(j, 4),
                                     layout.LongAt(j, 8),
                                     tray->PreviewPlane(),
                                     tray->PreviewBitmapA()};
        tray->AddModifierButton(new KVXStrokedModifierObject(
            tray, toolIndex, layout.PairAt(j, 0), brush, preview,
            tray->NewModifierCommand(int16_t(j)), kModifierLayer, TrayCursor(0)));
    }
}

KVXChalkToolCollection::KVXChalkToolCollection(uint32_t* colorCell,
                                               KVXCreationHost* creationScene,
                                               KVXPlaneComponentTop* previewPlane,
                                               MMBitmapWithPixels* previewBitmapA,
                                               MMBitmapWithPixels* previewBitmapB)
    : KVXToolCollection(colorCell, creationScene, previewPlane, previewBitmapA, previewBitmapB),
      colorCopy(*colorCell)
{
}

KVXToolBase* KVXChalkToolCollection::ModifierTwin(int16_t i) const
{
    return i == 0 ? twin : nullptr;
}

void KVXChalkToolCollection::Begin()
{
    AddTool(new ChalkTool(GetCreationScene(), TrayTableId(kChalkTable), sizeType,
                          reinterpret_cast<const uint8_t*>(colorCell)));
    twin = new ModifierChalkTool(GetCreationScene(), TrayTableId(kChalkTable),
                                 reinterpret_cast<const uint8_t*>(&colorCopy), previewPlane);
    twin->Begin();
    KVXToolCollection::Begin();
}

void KVXChalkToolCollection::DeleteMolecules()
{
    if (twin != nullptr) {
        twin->DeleteMolecules();
        delete twin;
        twin = nullptr;
    }
    KVXToolCollection::DeleteMolecules();
}

void KVXChalkToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    if (newMode == 0) {
        colorCopy = *colorCell;
        BuildStrokedButtons(this, kChalkButtons, kChalkStrokes,
                            twin != nullptr ? twin->Brush() : nullptr, &colorCopy, 0);
    }
    if (manager != nullptr)
        manager->ShowSizeButtons();
    KVXToolCollection::SetModeAndSelect(newMode, index);
    if (newMode == 0)
        MakeSliders(TrayTableId(kChalkSliders));
}

void KVXChalkToolCollection::SelectModifier(int16_t index)
{
    if (index != 0 && index != -1) {
        PlayDudSound();
        index = 0;
    }
    if (index == currentModifier)
        return;
    if (KVXBaseModifiersObject* old = ModifierAt(currentModifier))
        old->Deselect();
    currentModifier = index;
    if (index == -1) {
        ActivateTool(-1);
        return;
    }
    KVXBaseModifiersObject* button = ModifierAt(0);
    ActivateTool(button != nullptr ? button->ToolIndex() : 0);
    if (button != nullptr)
        button->Select();
    if (auto* chalk = dynamic_cast<ChalkTool*>(CurrentTool()))
        chalk->UseFreeHandInterpreter();
}

void KVXChalkToolCollection::ForwardSizeOrShape(int16_t which, bool rebuild)
{
    if (twin != nullptr && which == 0) {
        twin->SetSlider1(GetSliderValue(0));
        rebuild = false;
    } else if (twin != nullptr && which == 1) {
        twin->SetSlider2(GetSliderValue(1));
        rebuild = true;
    }
    KVXToolCollection::ForwardSizeOrShape(which, rebuild);
}

void KVXChalkToolCollection::ResetModifiers() { InvertCanvas(this); }

void KVXChalkToolCollection::ReselectCurrent() { InvertCanvas(this); }

void KVXChalkToolCollection::StoreOwnerValue(const uint32_t* colour)
{
    KVXToolCollection::StoreOwnerValue(colour);
    RebuildModifiers();
}

void KVXChalkToolCollection::TextureChanged() { RebuildModifiers(); }
