#include "trays/spray_tray.h"

#include "tools/spray_tools.h"
#include "trays/manager_tool.h"
#include "trays/modifier_buttons.h"
#include "trays/tray_rows.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kFineTable = 498;
const int16_t kSpatterTable = 499;
const int16_t kGloppyTable = 500;
const int16_t kCreamTable = 506;
const int16_t kSprayButtons = 599;
const int16_t kSprayStrokes = 689;
const int16_t kSpraySliders = 601;
const int16_t kCreamTool = 3;
const int16_t kFlat = 255;

}  // namespace

void KVXSprayToolCollection::Begin()
{
    KVXCreationHost* scene = GetCreationScene();
    const uint8_t* colour = reinterpret_cast<const uint8_t*>(colorCell);
    AddTool(new FineSprayTool(scene, TrayTableId(kFineTable), sizeType, colour));
    AddTool(new SpatterTool(scene, TrayTableId(kSpatterTable), sizeType, colour));
    AddTool(new GloppyPaintTool(scene, TrayTableId(kGloppyTable), sizeType, colour));
    AddTool(new WhippedCream(scene, TrayTableId(kCreamTable), colour));
    AddTwin(new ModifierFineSprayTool(scene, TrayTableId(kFineTable), CopyRecord(), previewPlane));
    AddTwin(new ModifierSpatterTool(scene, TrayTableId(kSpatterTable), CopyRecord(), previewPlane));
    AddTwin(new ModifierGloppyPaintTool(scene, TrayTableId(kGloppyTable), CopyRecord(),
                                        previewPlane));
    BeginTwins();
    KVXToolCollection::Begin();
}

void KVXSprayToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    TakeColour();
    if (newMode == 0) {
        for (int16_t i = 0; i < 3; ++i)
            if (KVXBaseModifiersObject* button = MakeModifierButton(0, i, i))
                AddModifier(button);
    } else if (KVXBaseModifiersObject* button = MakeModifierButton(newMode, 0, kCreamTool)) {
        AddModifier(button);
    }
    if (manager != nullptr)
        manager->ShowSizeButtons();
    KVXToolCollection::SetModeAndSelect(newMode, index);
    if (newMode == 0)
        MakeSliders(TrayTableId(kSpraySliders));
}

KVXBaseModifiersObject* KVXSprayToolCollection::MakeModifierButton(int16_t buttonMode,
                                                                   int16_t index,
                                                                   int16_t toolIndex)
{
    if (buttonMode != 0)
        return MakeBlankButton(this, toolIndex, MakeModifierCommand(index));
    // The spatter and the gloppy paint answer a press with the dud sound.
    MMCommand* command = index == 0 ? MakeModifierCommand(index) : MakeDudCommand();
    KVXTrayButtonRows rows(kSprayButtons, kSprayStrokes);
    if (index == 2)
        return MakeGlobbyButton(this, rows, index, GlobbyParameter(ModifierTwin(2)), &colorCopy,
                                toolIndex, command);
    return MakeStrokedButton(this, rows, index, BrushOf(ModifierTwin(index)), &colorCopy,
                             toolIndex, command);
}

void KVXSprayToolCollection::SelectModifier(int16_t index)
{
    KVXToolCollection::SelectModifier(index);
    KVXToolBase* tool = CurrentTool();
    if (dynamic_cast<WhippedCream*>(tool) != nullptr) {
        ShowSliders(this, false, false);
    } else if (tool != nullptr && tool == ToolAt(0)) {
        ShowSliders(this, GetSliderValue(1) != kFlat, true);
    }
}

void KVXSprayToolCollection::ForwardSizeOrShape(int16_t which, bool)
{
    if (which == 0)
        SnapSliderToEnds(this, 0);
    SlideTwin(ModifierTwin(currentModifier), which);
    KVXToolCollection::ForwardSizeOrShape(which, false);
    if (currentModifier < 0 || mode != 0)
        return;
    RedrawCurrentButton();
}
