#include "trays/twin_tool_collection.h"

#include "tools/tool_base.h"
#include "trays/tray_rows.h"

KVXTwinToolCollection::KVXTwinToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
                                             KVXPlaneComponentTop* previewPlane,
                                             MMBitmapWithPixels* previewBitmapA,
                                             MMBitmapWithPixels* previewBitmapB)
    : KVXToolCollection(colorCell, creationScene, previewPlane, previewBitmapA, previewBitmapB),
      colorCopy(*colorCell)
{
}

KVXTwinToolCollection::~KVXTwinToolCollection() { DeleteTwins(); }

KVXToolBase* KVXTwinToolCollection::ModifierTwin(int16_t i) const
{
    return i >= 0 && size_t(i) < twins.size() ? twins[size_t(i)] : nullptr;
}

void KVXTwinToolCollection::AddTwin(KVXToolBase* twin)
{
    if (twin != nullptr)
        twins.push_back(twin);
}

void KVXTwinToolCollection::BeginTwins()
{
    for (KVXToolBase* twin : twins)
        twin->Begin();
}

void KVXTwinToolCollection::DeleteTwins()
{
    for (KVXToolBase* twin : twins) {
        twin->DeleteMolecules();
        delete twin;
    }
    twins.clear();
}

void KVXTwinToolCollection::DeleteMolecules()
{
    DeleteTwins();
    KVXToolCollection::DeleteMolecules();
}

void KVXTwinToolCollection::StoreOwnerValue(const uint32_t* colour)
{
    KVXToolCollection::StoreOwnerValue(colour);
    RebuildModifiers();
}

void KVXTwinToolCollection::AddStrokedButtons(int16_t layoutTable, int16_t strokeList,
                                              KVXToolBase* twin, int16_t toolIndex)
{
    KVXTrayButtonRows rows(layoutTable, strokeList);
    for (int16_t j = 0; j < rows.Count(); ++j)
        AddModifier(MakeStrokedButton(this, rows, j, BrushOf(twin), &colorCopy, toolIndex,
                                      MakeModifierCommand(j)));
}

BrushBase* KVXTwinToolCollection::BrushOf(KVXToolBase* twin)
{
    return twin != nullptr ? twin->Brush() : nullptr;
}

bool KVXTwinToolCollection::SlideTwin(KVXToolBase* twin, int16_t which)
{
    return twin != nullptr && (which == 0 || which == 1) &&
           ToolSetSlider(twin, which, GetSliderValue(which));
}

void KVXTwinToolCollection::SlideToolAndTwin(KVXToolBase* twin, int16_t which, bool rebuild)
{
    if (SlideTwin(twin, which))
        rebuild = which == 1;
    KVXToolCollection::ForwardSizeOrShape(which, rebuild);
}

void KVXTwinToolCollection::RedrawCurrentButton()
{
    int16_t current = currentModifier;
    ReplaceModifierBitmap(current);
    SelectModifier(-1);
    SelectModifier(current);
}
