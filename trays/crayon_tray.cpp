#include "trays/crayon_tray.h"

#include "tools/chalk_tools.h"
#include "trays/chalk_tray.h"
#include "trays/manager_tool.h"
#include "trays/modifier_buttons.h"
#include "trays/tray_rows.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kCrayonTable = 522;
const int16_t kMeltedCrayonTable = 523;
const int16_t kCrayonButtons = 593;
const int16_t kCrayonStrokes = 684;
const int16_t kCrayonSliders = 595;

}  // namespace

KVXCrayonToolCollection::KVXCrayonToolCollection(uint32_t* colorCell,
                                                 KVXCreationHost* creationScene,
                                                 KVXPlaneComponentTop* previewPlane,
                                                 MMBitmapWithPixels* previewBitmapA,
                                                 MMBitmapWithPixels* previewBitmapB)
    : KVXToolCollection(colorCell, creationScene, previewPlane, previewBitmapA, previewBitmapB),
      colorCopy(*colorCell)
{
}

KVXToolBase* KVXCrayonToolCollection::Twin() const { return ModifierTwin(mode == 0 ? 0 : 1); }

KVXToolBase* KVXCrayonToolCollection::ModifierTwin(int16_t i) const
{
    return i == 0 ? static_cast<KVXToolBase*>(crayonTwin)
                  : i == 1 ? static_cast<KVXToolBase*>(meltedTwin) : nullptr;
}

void KVXCrayonToolCollection::Begin()
{
    const uint8_t* colour = reinterpret_cast<const uint8_t*>(colorCell);
    const uint8_t* copy = reinterpret_cast<const uint8_t*>(&colorCopy);
    AddTool(new CrayonTool(GetCreationScene(), TrayTableId(kCrayonTable), sizeType, colour));
    AddTool(new MeltedCrayonTool(GetCreationScene(), TrayTableId(kMeltedCrayonTable), sizeType,
                                 colour));
    crayonTwin = new ModifierCrayonTool(GetCreationScene(), TrayTableId(kCrayonTable), copy,
                                        previewPlane);
    meltedTwin = new ModifierMeltedCrayonTool(GetCreationScene(), TrayTableId(kMeltedCrayonTable),
                                              copy, previewPlane);
    crayonTwin->Begin();
    KVXToolCollection::Begin();
}

void KVXCrayonToolCollection::DeleteMolecules()
{
    for (KVXToolBase* twin : {static_cast<KVXToolBase*>(crayonTwin),
                              static_cast<KVXToolBase*>(meltedTwin)}) {
        if (twin != nullptr) {
            twin->DeleteMolecules();
            delete twin;
        }
    }
    crayonTwin = nullptr;
    meltedTwin = nullptr;
    KVXToolCollection::DeleteMolecules();
}

void KVXCrayonToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    colorCopy = *colorCell;
    mode = newMode;
    KVXToolBase* twin = Twin();
    KVXTrayButtonRows rows(kCrayonButtons, kCrayonStrokes);
    for (int16_t j = 0; j < rows.Count(); ++j) {
        if (KVXBaseModifiersObject* button =
                MakeStrokedButton(this, rows, j, twin != nullptr ? twin->Brush() : nullptr,
                                  &colorCopy, newMode == 0 ? 0 : 1, MakeModifierCommand(j)))
            AddModifier(button);
    }
    if (manager != nullptr)
        manager->ShowSizeButtons();
    KVXToolCollection::SetModeAndSelect(newMode, index);
    MakeSliders(TrayTableId(kCrayonSliders));
}

void KVXCrayonToolCollection::SelectModifier(int16_t index)
{
    index = RefuseAllBut(this, index, 0);
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
    ActivateTool(button != nullptr ? button->ToolIndex() : mode);
    if (button != nullptr)
        button->Select();
    if (auto* crayon = dynamic_cast<ChalkTool*>(CurrentTool()))
        crayon->UseFreeHandInterpreter();
}

void KVXCrayonToolCollection::ForwardSizeOrShape(int16_t which, bool rebuild)
{
    KVXToolBase* twin = Twin();
    if (twin != nullptr && which == 0) {
        twin->SetSlider1(GetSliderValue(0));
        rebuild = false;
    } else if (twin != nullptr && which == 1) {
        twin->SetSlider2(GetSliderValue(1));
        rebuild = true;
    }
    KVXToolCollection::ForwardSizeOrShape(which, rebuild);
}

void KVXCrayonToolCollection::ResetModifiers()
{
    if (mode == 1)
        return;
    savedModifier = currentModifier;
    if (crayonTwin != nullptr)
        crayonTwin->DeleteMolecules();
    if (meltedTwin != nullptr)
        meltedTwin->Begin();
    ReleaseModifiers();
    SetModeAndSelect(1, 0);
}

void KVXCrayonToolCollection::ReselectCurrent()
{
    if (mode != 1)
        return;
    if (meltedTwin != nullptr)
        meltedTwin->DeleteMolecules();
    if (crayonTwin != nullptr)
        crayonTwin->Begin();
    ReleaseModifiers();
    SetModeAndSelect(0, savedModifier);
}

void KVXCrayonToolCollection::StoreOwnerValue(const uint32_t* colour)
{
    KVXToolCollection::StoreOwnerValue(colour);
    RebuildModifiers();
}

void KVXCrayonToolCollection::TextureChanged() { RebuildModifiers(); }
