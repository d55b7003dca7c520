#include "trays/crayon_tray.h"

#include "tools/chalk_tools.h"
#include "trays/chalk_tray.h"
#include "trays/manager_tool.h"
#include "trays/tray_rows.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kCrayonTable = 522;
const int16_t kMeltedCrayonTable = 523;
const int16_t kCrayonButtons = 593;
const int16_t kCrayonStrokes = 684;
const int16_t kCrayonSliders = 595;

}  // namespace

void KVXCrayonToolCollection::Begin()
{
    const uint8_t* colour = reinterpret_cast<const uint8_t*>(colorCell);
    AddTool(new CrayonTool(GetCreationScene(), TrayTableId(kCrayonTable), sizeType, colour));
    AddTool(new MeltedCrayonTool(GetCreationScene(), TrayTableId(kMeltedCrayonTable), sizeType,
                                 colour));
    AddTwin(new ModifierCrayonTool(GetCreationScene(), TrayTableId(kCrayonTable), CopyRecord(),
                                   previewPlane));
    AddTwin(new ModifierMeltedCrayonTool(GetCreationScene(), TrayTableId(kMeltedCrayonTable),
                                         CopyRecord(), previewPlane));
    // The melted crayon's twin begins with the twist.
    ModifierTwin(0)->Begin();
    KVXToolCollection::Begin();
}

void KVXCrayonToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    TakeColour();
    mode = newMode;
    AddStrokedButtons(kCrayonButtons, kCrayonStrokes, Twin(), newMode == 0 ? 0 : 1);
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
    SelectModifierOfTool(index, mode);
    UseFreeHand(CurrentTool());
}

void KVXCrayonToolCollection::ForwardSizeOrShape(int16_t which, bool rebuild)
{
    SlideToolAndTwin(Twin(), which, rebuild);
}

void KVXCrayonToolCollection::ResetModifiers()
{
    if (mode == 1)
        return;
    savedModifier = currentModifier;
    if (KVXToolBase* crayonTwin = ModifierTwin(0))
        crayonTwin->DeleteMolecules();
    if (KVXToolBase* meltedTwin = ModifierTwin(1))
        meltedTwin->Begin();
    ReleaseModifiers();
    SetModeAndSelect(1, 0);
}

void KVXCrayonToolCollection::ReselectCurrent()
{
    if (mode != 1)
        return;
    if (KVXToolBase* meltedTwin = ModifierTwin(1))
        meltedTwin->DeleteMolecules();
    if (KVXToolBase* crayonTwin = ModifierTwin(0))
        crayonTwin->Begin();
    ReleaseModifiers();
    SetModeAndSelect(0, savedModifier);
}
