#include "shell/creation_parts.h"

#include "framework/files.h"
#include "framework/heap.h"
#include "media/bitmap.h"
#include "media/offscreen_surface.h"
#include "selection/rope_import.h"
#include "stamps/base_stamp_manager.h"
#include "stamps/stamps_block.h"
#include "text/text_tray.h"
#include "trays/manager_tool.h"
#include "trays/rope_tray.h"

namespace {

// The rope tray's mode that takes a picture from outside.
const int16_t kRopeImportMode = 2;

}  // namespace

bool CreationPlacedPicture(const MMRecordTable& layout, int16_t key, int32_t rowIndex,
                           Pair& position, MMPictureID& picture)
{
    int32_t row = layout.FindRowByKey(key);
    return row >= 0 && MMPlacedPicture(layout.LongAt(row, 2), rowIndex, position, picture);
}

Pair CreationPictureSize(MMPictureID picture)
{
    MMPictureCollection* collection = MMFindPictureCollection(picture);
    return collection ? collection->PictureSize(MMItemOf(picture)) : Pair{0, 0};
}

void CreationToolManagerBegin(KVXManagerTool* manager)
{
    if (manager)
        manager->Begin();
}

void CreationToolManagerEnd(KVXManagerTool* manager)
{
    if (manager)
        manager->DeleteMolecules();
}

bool CreationToolManagerKey(KVXManagerTool* manager, uint32_t keyData)
{
    return manager && manager->HandleKey(keyData);
}

bool CreationToolManagerMenu(KVXManagerTool* manager, int32_t id)
{
    return manager && manager->HandleMenuCommand(id);
}

void CreationToolManagerFinish(KVXManagerTool* manager, bool finish)
{
    if (manager)
        manager->NotifyCurrentCollection(finish ? 1 : 0);
}

void CreationToolManagerTextureChanged(KVXManagerTool* manager)
{
    if (manager)
        manager->RefreshCollectionModifiers();
}

bool CreationTrayIsCurrent(KVXManagerTool* manager, int32_t type)
{
    return manager && manager->CurrentCollection() && manager->CurrentType() == type;
}

bool CreationRopeTrayIsCurrent(KVXManagerTool* manager)
{
    return CreationTrayIsCurrent(manager, kRopeCollection);
}

void CreationPutDownRopeSelection(KVXManagerTool* manager)
{
    if (!CreationRopeTrayIsCurrent(manager))
        return;
    if (auto* rope = dynamic_cast<KVXRopeToolCollection*>(manager->CurrentCollection()))
        rope->PutDownSelection();
}

KVXPaletteTarget* CreationPaletteTarget(KVXManagerTool* manager) { return manager; }
void CreationCoverTextBox(KVXManagerTool* manager, bool cover)
{
    if (!CreationTrayIsCurrent(manager, kTextCollection))
        return;
    auto* text = dynamic_cast<KVXTextToolCollection*>(manager->CurrentCollection());
    if (!text)
        return;
    if (cover)
        text->CloakTextBox();
    else
        text->UncloakTextBox();
}

bool CreationTakeAsSelection(KVXManagerTool* manager, WinMMOffscreenSurface* surface)
{
    if (!manager || !surface)
        return false;
    manager->SelectCollection(kRopeCollection);
    auto* rope = dynamic_cast<KVXRopeToolCollection*>(manager->CurrentCollection());
    if (!rope || !CreationRopeTrayIsCurrent(manager))
        return false;
    // Without a chosen rope button the tray's tool is current as it is.
    if (rope->CurrentModifier() >= 0)
        rope->SetModeAndSelect(kRopeImportMode, rope->CurrentModifier());
    surface->Lock();
    bool taken = TakePictureAsRopeSelection(manager, surface);
    surface->Unlock();
    return taken;
}

void CreationStampManagerBegin(KVXBaseStampManager* manager)
{
    if (manager)
        manager->Begin();
}

void CreationStampManagerEnd(KVXBaseStampManager* manager)
{
    if (manager)
        manager->End();
}

bool CreationStampManagerKey(KVXBaseStampManager* manager, uint32_t keyData)
{
    return manager && manager->HandleKey(keyData);
}

bool CreationStampManagerMenu(KVXBaseStampManager* manager, int32_t id)
{
    return manager && manager->HandleMenuCommand(id);
}

void CreationRemoveAllStamps(KVXBaseStampManager* manager)
{
    if (manager)
        manager->RemoveAllStamps(false);
}

bool CreationHasStamps(KVXBaseStampManager* manager) { return manager && manager->HasStamps(); }

int32_t CreationAnimatedStampCount(KVXBaseStampManager* manager)
{
    return manager ? manager->CountAnimatedStamps() : 0;
}

void CreationHideAllStamps(KVXBaseStampManager* manager)
{
    if (manager)
        manager->HideAllStamps();
}

void CreationNotifyAllStamps(KVXBaseStampManager* manager)
{
    if (manager)
        manager->NotifyAllStamps();
}

void CreationPlayStamps(KVXBaseStampManager* manager)
{
    if (manager)
        manager->PlayAllStamps();
}

void CreationStopStamps(KVXBaseStampManager* manager)
{
    if (!manager)
        return;
    manager->RefreshAllStamps();
    manager->StopAnimations(true);
}

void CreationGlueAllStamps(KVXBaseStampManager* manager, bool colour)
{
    if (manager)
        manager->GlueAllStamps(colour);
}

void CreationGlueFlaggedStamps(KVXBaseStampManager* manager)
{
    if (manager)
        manager->PlayFlaggedStamps();
}

void CreationPrepareStamps(KVXBaseStampManager* manager)
{
    if (manager)
        manager->StopAnimations(true);
}

void CreationGlueLastAnimatedStamp(KVXBaseStampManager* manager)
{
    if (manager)
        manager->PlayLastAnimatedStamp();
}

bool CreationStampsToBlock(KVXBaseStampManager* manager, KVXStampsBlock& block)
{
    if (!manager)
        return false;
    uint8_t bytes[kStampsBlockSize];
    FSMemory out(bytes, sizeof bytes);
    if (!manager->Write(out))
        return false;
    FSMemory in(bytes, sizeof bytes);
    return block.Read(in);
}

bool CreationStampsFromBlock(KVXBaseStampManager* manager, const KVXStampsBlock& block)
{
    if (!manager)
        return false;
    uint8_t bytes[kStampsBlockSize];
    FSMemory out(bytes, sizeof bytes);
    if (!block.Write(out))
        return false;
    FSMemory in(bytes, sizeof bytes);
    return manager->Read(in);
}
