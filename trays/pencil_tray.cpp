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

void KVXPencilToolCollection::Begin()
{
    const uint8_t* colour = reinterpret_cast<const uint8_t*>(colorCell);
    AddTool(new PencilTool(GetCreationScene(), TrayTableId(kPencilTable), sizeType, colour));
    AddTool(new BundlePencilTool(GetCreationScene(), TrayTableId(kBundleTable), sizeType, colour));
    AddTwin(new ModifierPencilTool(GetCreationScene(), TrayTableId(kPencilTable), CopyRecord(),
                                   previewPlane));
    BeginTwins();
    KVXToolCollection::Begin();
}

void KVXPencilToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    TakeColour();
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
    return MakeStrokedButton(this, rows, index, BrushOf(ModifierTwin(0)), &colorCopy, toolIndex,
                             MakeModifierCommand(index));
}

void KVXPencilToolCollection::SelectModifier(int16_t index)
{
    KVXToolCollection::SelectModifier(RefuseAllBut(this, index, 0));
}

void KVXPencilToolCollection::ForwardSizeOrShape(int16_t which, bool rebuild)
{
    SlideToolAndTwin(ModifierTwin(0), which, rebuild);
}
