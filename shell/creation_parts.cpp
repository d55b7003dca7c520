#include "shell/creation_parts.h"

#include "framework/heap.h"

bool CreationPlacedPicture(const MMRecordTable& layout, int16_t key, int32_t rowIndex,
                           Pair& position, MMPictureID& picture)
{
    int32_t row = layout.FindRowByKey(key);
    if (row < 0)
        return false;
    MMRecordTable table;
    table.Load(layout.LongAt(row, 2), 8, gDefaultHeap);
    if (table.RowCount() <= rowIndex)
        return false;
    position = table.PairAt(rowIndex, 0);
    picture = table.LongAt(rowIndex, 4);
    return true;
}

Pair CreationPictureSize(MMPictureID picture)
{
    MMPictureCollection* collection = MMFindPictureCollection(picture);
    return collection ? collection->PictureSize(MMItemOf(picture)) : Pair{0, 0};
}

void CreationToolManagerBegin(KVXManagerTool*) {}
void CreationToolManagerEnd(KVXManagerTool*) {}
bool CreationToolManagerKey(KVXManagerTool*, uint32_t) { return false; }
bool CreationToolManagerMenu(KVXManagerTool*, int32_t) { return false; }
void CreationToolManagerFinish(KVXManagerTool*, bool) {}
void CreationToolManagerTextureChanged(KVXManagerTool*) {}
bool CreationRopeTrayIsCurrent(KVXManagerTool*) { return false; }
KVXPaletteTarget* CreationPaletteTarget(KVXManagerTool*) { return nullptr; }
void CreationCoverTextBox(KVXManagerTool*, bool) {}
bool CreationTakeAsSelection(KVXManagerTool*, WinMMOffscreenSurface*) { return false; }

void CreationStampManagerBegin(KVXBaseStampManager*) {}
void CreationStampManagerEnd(KVXBaseStampManager*) {}
bool CreationStampManagerKey(KVXBaseStampManager*, uint32_t) { return false; }
bool CreationStampManagerMenu(KVXBaseStampManager*, int32_t) { return false; }
void CreationRemoveAllStamps(KVXBaseStampManager*) {}
bool CreationHasStamps(KVXBaseStampManager*) { return false; }
int32_t CreationAnimatedStampCount(KVXBaseStampManager*) { return 0; }
void CreationHideAllStamps(KVXBaseStampManager*) {}
void CreationNotifyAllStamps(KVXBaseStampManager*) {}
void CreationPlayStamps(KVXBaseStampManager*) {}
void CreationStopStamps(KVXBaseStampManager*) {}
void CreationGlueAllStamps(KVXBaseStampManager*, bool) {}
void CreationGlueFlaggedStamps(KVXBaseStampManager*) {}
void CreationPrepareStamps(KVXBaseStampManager*) {}
void CreationGlueLastAnimatedStamp(KVXBaseStampManager*) {}
