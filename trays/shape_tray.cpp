#include "trays/shape_tray.h"

#include "engine/picture_molecule.h"
#include "engine/record_table.h"
#include "framework/heap.h"
#include "shell/widgets/scroll_bars.h"
#include "tools/shape_tool.h"
#include "trays/bitmap_buttons.h"
#include "trays/manager_tool.h"
#include "trays/modifier_buttons.h"
#include "trays/tray_rows.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kShapeSliders[2] = {617, 618};
const int16_t kShapeDecorations[2] = {692, 693};
// The first slider set's own row naming the buttons' layout: row 3 s + i is
// fill i of shape s.
const int16_t kButtonsKey = 4;
const int16_t kFillButtons = 3;
const int16_t kGlobTool = 3;
const int16_t kButtonLayer = 107;
const int16_t kHalfScale = 256;

}  // namespace

KVXShapeToolCollection::KVXShapeToolCollection(uint32_t* colorCell,
                                               KVXCreationHost* creationScene,
                                               KVXPlaneComponentTop* previewPlane,
                                               MMBitmapWithPixels* previewBitmapA,
                                               MMBitmapWithPixels* previewBitmapB)
    : KVXToolCollection(colorCell, creationScene, previewPlane, previewBitmapA, previewBitmapB)
{
    // The size type is the shape here; the ellipse from the start, so that
    // the first opening does not refuse the manager's middle size.
    sizeType = 0;
}

void KVXShapeToolCollection::Begin()
{
    const uint8_t* colour = reinterpret_cast<const uint8_t*>(colorCell);
    KVXCreationHost* scene = GetCreationScene();
    AddTool(new ShapeTool(scene, kShapeEllipse, kFillOutline, TrayTableId(534), colour));
    AddTool(new ShapeTool(scene, kShapeRectangle, kFillOutline, TrayTableId(535), colour));
    AddTool(new ShapeTool(scene, kShapeTriangle, kFillOutline, TrayTableId(536), colour));
    AddTool(new ShapeTool(scene, kShapeGlob, kFillWhiteOutline, TrayTableId(537), colour));
    KVXToolCollection::Begin();
}

void KVXShapeToolCollection::LearnSliderValues()
{
    if (learned[0] != -1)
        return;
    KVXToolBase* tool = ToolAt(shape);
    if (tool == nullptr || currentTool == shape)
        return;
    tool->Begin();
    int16_t first = 0, second = 0;
    ToolSliderValues(tool, first, second);
    tool->DeleteMolecules();
    learned[0] = first < 1 ? 1 : first;
    learned[1] = second;
}

KVXBaseModifiersObject* KVXShapeToolCollection::MakeModifierButton(int16_t buttonMode,
                                                                   int16_t index,
                                                                   int16_t toolIndex)
{
    MMCommand* command = MakeModifierCommand(index);
    if (buttonMode != 0)
        return new KVXModifiersPictureObject(this, toolIndex, Pair{0, 0},
                                             MMPictureID(MM_NO_RESOURCE),
                                             MMPictureID(MM_NO_RESOURCE), command, kButtonLayer,
                                             nullptr);
    MMRecordTable set, layout;
    set.Load(TrayTableId(kShapeSliders[0]), 10, gDefaultHeap);
    layout.Load(TrayItemAt(set, set.FindRowByKey(kButtonsKey)), 16, gDefaultHeap);
    return MakeBitmapButton(this, toolIndex,
                            BitmapButtonRow(layout, toolIndex * kFillButtons + index), command);
}

void KVXShapeToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    if (newMode == 0) {
        if (manager != nullptr)
            manager->HideShapeButtons();
        LearnSliderValues();
        for (int16_t i = 0; i < kFillButtons; ++i) {
            AddModifier(MakeModifierButton(0, i, shape));
            if (i < 2 && decorations[i] == nullptr)
                decorations[i] = MakeTrayDecoration(this, kShapeDecorations[i]);
        }
    } else {
        if (manager != nullptr)
            manager->ShowShapeButtons();
        AddModifier(MakeModifierButton(1, 0, kGlobTool));
    }
    KVXToolCollection::SetModeAndSelect(newMode, index);
    MakeSliders(TrayTableId(kShapeSliders[newMode & 1]));
    if (newMode == 0)
        FollowSecondSlider();
}

void KVXShapeToolCollection::DeleteDecorations()
{
    for (MMPictureMolecule*& decoration : decorations) {
        delete decoration;
        decoration = nullptr;
    }
}

void KVXShapeToolCollection::ReleaseModifiers()
{
    KVXToolCollection::ReleaseModifiers();
    DeleteDecorations();
    learned[0] = learned[1] = -1;
}

void KVXShapeToolCollection::SelectModifier(int16_t index)
{
    index = RefuseAllBut(this, index, 0);
    if (!MarkModifier(index))
        return;
    KVXBaseModifiersObject* button = ModifierAt(index);
    int16_t toolIndex = button != nullptr ? button->ToolIndex() : (mode == 0 ? shape : kGlobTool);
    if (mode == 0)
        lastModifier[shape] = index;
    if (toolIndex == kGlobTool || currentTool == -1)
        ActivateTool(toolIndex);
    else if (auto* tool = dynamic_cast<ShapeTool*>(ToolAt(toolIndex)))
        tool->SetShape(index);
}

void KVXShapeToolCollection::SetSizeType(int16_t type)
{
    type = RefuseAllBut(this, type, 0);
    if (type == -1)
        return;
    shape = type;
    sizeType = type;
    ReleaseModifiers();
    SetModeAndSelect(mode, lastModifier[shape]);
}

void KVXShapeToolCollection::ShowFirstSlider(bool shown)
{
    if (slider1 != nullptr)
        shown ? slider1->ShowSlider() : slider1->HideSlider();
}

void KVXShapeToolCollection::FollowSecondSlider()
{
    if (slider2 != nullptr)
        ShowFirstSlider(slider2->Position() < kHalfScale);
}

void KVXShapeToolCollection::ForwardSizeOrShape(int16_t which, bool rebuild)
{
    KVXToolCollection::ForwardSizeOrShape(which, rebuild);
    if (which == 1 && mode == 0)
        FollowSecondSlider();
}

void KVXShapeToolCollection::ResetModifiers()
{
    ShowFirstSlider(false);
    KVXToolCollection::ResetModifiers();
}

void KVXShapeToolCollection::ReselectCurrent()
{
    ShowFirstSlider(true);
    KVXToolCollection::ReselectCurrent();
}

void KVXShapeToolCollection::StoreOwnerValue(const uint32_t* colour)
{
    KVXToolCollection::StoreOwnerValue(colour);
    RebuildModifiers();
}
