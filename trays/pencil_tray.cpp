#include "trays/pencil_tray.h"

#include "tools/pencil_tools.h"
#include "trays/manager_tool.h"
#include "trays/modifier_buttons.h"
#include "trays/tray_rows.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kPencilTable = 507;
const int16_t kBundleTable = 508;
const int16_t kPencilButtons = 587;
const int16_t kPencilStrokes = 682;
const int16_t kPencilSliders = 589;

}  // namespace

KVXPencilToolCollection::KVXPencilToolCollection(uint32_t* colorCell,
                                                 KVXCreationHost* creationScene,
                                                 KVXPlaneComponentTop* previewPlane,
                                                 MMBitmapWithPixels* previewBitmapA,
                                                 MMBitmapWithPixels* previewBitmapB)
    : KVXToolCollection(colorCell, creationScene, previewPlane, previewBitmapA, previewBitmapB),
      colorCopy(*colorCell)
{
}

KVXToolBase* KVXPencilToolCollection::ModifierTwin(int16_t i) const
{
    return i == 0 ? twin : nullptr;
}

void KVXPencilToolCollection::Begin()
{
    const uint8_t* colour = reinterpret_cast<const uint8_t*>(colorCell);
    AddTool(new PencilTool(GetCreationScene(), TrayTableId(kPencilTable), sizeType, colour));
    AddTool(new BundlePencilTool(GetCreationScene(), TrayTableId(kBundleTable), sizeType, colour));
    twin = new ModifierPencilTool(GetCreationScene(), TrayTableId(kPencilTable),
                                  reinterpret_cast<const uint8_t*>(&colorCopy), previewPlane);
    twin->Begin();
    KVXToolCollection::Begin();
}

void KVXPencilToolCollection::DeleteMolecules()
{
    if (twin != nullptr) {
        twin->DeleteMolecules();
        delete twin;
        twin = nullptr;
    }
    KVXToolCollection::DeleteMolecules();
}

void KVXPencilToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    colorCopy = *colorCell;
    int16_t count = newMode == 0 ? int16_t(KVXTrayButtonRows(kPencilButtons, kPencilStrokes).Count())
                                 : int16_t(1);
    for (int16_t j = 0; j < count; ++j)
        if (KVXBaseModifiersObject* button = MakeModifierButton(newMode, j, newMode == 0 ? 0 : 1))
            AddModifier(button);
    if (manager != nullptr)
        manager->ShowSizeButtons();
    KVXToolCollection::SetModeAndSelect(newMode, index);
    if (newMode == 0)
        MakeSliders(TrayTableId(kPencilSliders));
}

KVXBaseModifiersObject* KVXPencilToolCollection::MakeModifierButton(int16_t buttonMode,
                                                                    int16_t index,
                                                                    int16_t toolIndex)
{
    if (buttonMode != 0)
        return MakeBlankButton(this, toolIndex, MakeModifierCommand(index));
    KVXTrayButtonRows rows(kPencilButtons, kPencilStrokes);
    return MakeStrokedButton(this, rows, index, twin != nullptr ? twin->Brush() : nullptr,
                             &colorCopy, toolIndex, MakeModifierCommand(index));
}

void KVXPencilToolCollection::SelectModifier(int16_t index)
{
    KVXToolCollection::SelectModifier(RefuseAllBut(this, index, 0));
}

void KVXPencilToolCollection::ForwardSizeOrShape(int16_t which, bool rebuild)
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

void KVXPencilToolCollection::StoreOwnerValue(const uint32_t* colour)
{
    KVXToolCollection::StoreOwnerValue(colour);
    RebuildModifiers();
}

void KVXPencilToolCollection::TextureChanged() { RebuildModifiers(); }
