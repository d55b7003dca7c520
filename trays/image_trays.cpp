#include "trays/image_trays.h"

#include "engine/record_table.h"
#include "engine/resource_collection.h"
#include "framework/heap.h"
#include "tools/image_tools.h"
#include "trays/creation_zoom.h"
#include "trays/image_selection_button.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kImageButtonLayer = 107;

const KVXImageTrayLayout kSprayLayout = {539, {622, 623}, 624, true, true};
const KVXImageTrayLayout kTubeLayout = {541, {625, 626}, 627, false, false};

}  // namespace

KVXImageToolCollection::KVXImageToolCollection(const KVXImageTrayLayout& layout,
                                               uint32_t* colorCell,
                                               KVXCreationHost* creationScene,
                                               KVXPlaneComponentTop* previewPlane,
                                               MMBitmapWithPixels* previewBitmapA,
                                               MMBitmapWithPixels* previewBitmapB)
    : KVXToolCollection(colorCell, creationScene, previewPlane, previewBitmapA, previewBitmapB),
      layout(layout)
{
    sizeType = 0;
}

KVXImageSelectionButton* KVXImageToolCollection::ImageButton() const
{
    return dynamic_cast<KVXImageSelectionButton*>(ModifierAt(0));
}

void KVXImageToolCollection::Begin()
{
    HideCreationZoom(this);
    AddTool(MakeTool());
    KVXToolCollection::Begin();
}

void KVXImageToolCollection::DeleteMolecules()
{
    KVXToolCollection::DeleteMolecules();
    ShowCreationZoom(this);
}

void KVXImageToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    MMRecordTable placement;
    placement.Load(TrayTableId(layout.placement), 8, gDefaultHeap);
    Pair at = placement.RowCount() > 0 ? placement.PairAt(0, 0) : Pair{0, 0};
    AddModifier(new KVXImageSelectionButton(this, 0, at, TrayTableId(layout.imageSets[newMode & 1]),
                                            chosen[newMode & 1], MakeModifierCommand(0),
                                            kImageButtonLayer, TrayCursor(0)));
    KVXToolCollection::SetModeAndSelect(newMode, index);
}

void KVXImageToolCollection::SelectModifier(int16_t index)
{
    KVXToolCollection::SelectModifier(index);
    KVXImageSelectionButton* button = ImageButton();
    if (index == -1 || button == nullptr)
        return;
    chosen[mode & 1] = button->Index();
    SetSizeType(button->Index());
    if (layout.purges)
        MMPurgeUnusedResources();
}

void KVXImageToolCollection::SetSizeType(int16_t type)
{
    sizeType = type;
    if (KVXToolBase* tool = CurrentTool())
        tool->SetSizeType(type);
}

void KVXImageToolCollection::ResetModifiers()
{
    if (layout.twists)
        KVXToolCollection::ResetModifiers();
}

void KVXImageToolCollection::ReselectCurrent()
{
    if (layout.twists)
        KVXToolCollection::ReselectCurrent();
}

KVXImageSprayToolCollection::KVXImageSprayToolCollection(uint32_t* colorCell,
                                                         KVXCreationHost* creationScene,
                                                         KVXPlaneComponentTop* previewPlane,
                                                         MMBitmapWithPixels* previewBitmapA,
                                                         MMBitmapWithPixels* previewBitmapB)
    : KVXImageToolCollection(kSprayLayout, colorCell, creationScene, previewPlane, previewBitmapA,
                             previewBitmapB)
{
}

KVXToolBase* KVXImageSprayToolCollection::MakeTool()
{
    return new KVXToolImageSpray(GetCreationScene(), kImageSprayTable, 0);
}

KVXImageTubeToolCollection::KVXImageTubeToolCollection(uint32_t* colorCell,
                                                       KVXCreationHost* creationScene,
                                                       KVXPlaneComponentTop* previewPlane,
                                                       MMBitmapWithPixels* previewBitmapA,
                                                       MMBitmapWithPixels* previewBitmapB)
    : KVXImageToolCollection(kTubeLayout, colorCell, creationScene, previewPlane, previewBitmapA,
                             previewBitmapB)
{
}

KVXToolBase* KVXImageTubeToolCollection::MakeTool()
{
    return new KVXToolImageTube(GetCreationScene(), kImageTubeTable, 0);
}
