#include "trays/rope_tray.h"

#include "engine/command.h"
#include "engine/picture_molecule.h"
#include "engine/record_table.h"
#include "framework/heap.h"
#include "selection/rope_interpreters.h"
#include "shell/widgets/animated_button.h"
#include "tools/rope_tool.h"
#include "trays/bitmap_buttons.h"
#include "trays/creation_zoom.h"
#include "trays/modifier_buttons.h"
#include "trays/tray_rows.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kRopeTable = 545;
const int16_t kRopeButtons = 637;
const int16_t kRopeSliders = 639;
const int16_t kRopeDecorations[2] = {694, 695};
const int16_t kRectangleRope = 2;
const int16_t kRopeButtonCount = 3;
// The slider set's own row naming the filter button's animation.
const int16_t kFilterKey = 4;
const int16_t kDecorationLayer = 107;
const int16_t kButtonPriority = 100;
const int32_t kImpressionist = 2;

}  // namespace

KVXRopeToolCollection::KVXRopeToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
                                             KVXPlaneComponentTop* previewPlane,
                                             MMBitmapWithPixels* previewBitmapA,
                                             MMBitmapWithPixels* previewBitmapB)
    : KVXToolCollection(colorCell, creationScene, previewPlane, previewBitmapA, previewBitmapB)
{
    initialModifier = kRectangleRope;
}

KVXBaseRopeToolInterpreter* KVXRopeToolCollection::RopeInterpreter() const
{
    auto* rope = dynamic_cast<RopeTool*>(CurrentTool());
    return rope != nullptr ? dynamic_cast<KVXBaseRopeToolInterpreter*>(rope->Interpreter())
                           : nullptr;
}

void KVXRopeToolCollection::PutDownSelection()
{
    if (KVXBaseRopeToolInterpreter* rope = RopeInterpreter()) {
        rope->EndSelection(true);
        rope->RemoveSelectionControls();
    }
}

// The rope lifts and puts down canvas pixels one to one on the stage: it
// works on the unzoomed canvas, and the zoom waits until the tray closes.
void KVXRopeToolCollection::Begin()
{
    HideCreationZoom(this);
    AddTool(new RopeTool(GetCreationScene(), TrayTableId(kRopeTable), sizeType));
    KVXToolCollection::Begin();
}

void KVXRopeToolCollection::DeleteMolecules()
{
    ShowCreationZoom(this);
    PutDownSelection();
    if (currentModifier != -1)
        initialModifier = currentModifier;
    KVXToolCollection::DeleteMolecules();
}

KVXBaseModifiersObject* KVXRopeToolCollection::MakeModifierButton(int16_t, int16_t index,
                                                                  int16_t toolIndex)
{
    MMRecordTable layout;
    layout.Load(TrayTableId(kRopeButtons), 16, gDefaultHeap);
    if (index >= layout.RowCount())
        return nullptr;
    return MakeBitmapButton(this, toolIndex, BitmapButtonRow(layout, index),
                            MakeModifierCommand(index));
}

void KVXRopeToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    if (ModifierCount() == 0) {
        decorations[0] = MakeTrayDecoration(this, kRopeDecorations[0]);
        decorations[1] = MakeTrayDecoration(this, kRopeDecorations[1]);
        for (int16_t i = 0; i < kRopeButtonCount; ++i)
            AddModifier(MakeModifierButton(newMode, i, 0));
        MMRecordTable set;
        set.Load(TrayTableId(kRopeSliders), 10, gDefaultHeap);
        MMResourceId script = TrayItemAt(set, set.FindRowByKey(kFilterKey));
        if (script != MM_NO_RESOURCE && filterButton == nullptr)
            filterButton = new KVXAnimatedButtonMolecule(
                this, script,
                new MMClassCommand<KVXRopeToolCollection>(
                    "HandleFilterButton", Stage(), this, &KVXRopeToolCollection::HandleFilterButton),
                kDecorationLayer, 0, kButtonPriority, 1);
    }
    KVXToolCollection::SetModeAndSelect(newMode, index);
    MakeSliders(TrayTableId(kRopeSliders));
}

void KVXRopeToolCollection::DeleteDecorations()
{
    delete filterButton;
    filterButton = nullptr;
    for (MMPictureMolecule*& decoration : decorations) {
        delete decoration;
        decoration = nullptr;
    }
}

void KVXRopeToolCollection::ReleaseModifiers()
{
    KVXToolCollection::ReleaseModifiers();
    DeleteDecorations();
}

void KVXRopeToolCollection::SelectModifier(int16_t index)
{
    index = RefuseAllBut(this, index, kRectangleRope);
    if (index == currentModifier)
        return;
    SelectModifierOfTool(index, 0);
    if (index == -1)
        return;
    PutDownSelection();
    if (auto* rope = dynamic_cast<RopeTool*>(CurrentTool()))
        rope->UseRectangleRope();
    if (mode == 1)
        if (KVXBaseRopeToolInterpreter* rope = RopeInterpreter())
            rope->SetMode(0);
}

void KVXRopeToolCollection::ForwardSizeOrShape(int16_t which, bool)
{
    KVXToolCollection::ForwardSizeOrShape(which, false);
}

void KVXRopeToolCollection::ResetModifiers()
{
    PutDownSelection();
    if (KVXBaseRopeToolInterpreter* rope = RopeInterpreter())
        rope->SetMode(0);
    // Remembered here as the base twist would, so the untwist reselects it.
    savedModifier = currentModifier;
    mode = 1;
}

void KVXRopeToolCollection::ReselectCurrent()
{
    PutDownSelection();
    if (KVXBaseRopeToolInterpreter* rope = RopeInterpreter())
        rope->SetMode(1);
    KVXToolCollection::ReselectCurrent();
    mode = 0;
}

void KVXRopeToolCollection::HandleFilterButton()
{
    if (KVXBaseRopeToolInterpreter* rope = RopeInterpreter())
        rope->ApplyEffect(kImpressionist, GetSliderValue(1));
}
