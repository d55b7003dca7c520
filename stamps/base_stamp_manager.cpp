#include "stamps/base_stamp_manager.h"

#include <algorithm>
#include <cmath>

#include "canvas/canvas_scene.h"
#include "canvas/canvas_visual.h"
#include "canvas/plane.h"
#include "engine/command.h"
#include "engine/record_table.h"
#include "engine/stage.h"
#include "framework/byte_order_streams.h"
#include "framework/heap.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "shell/alert_box.h"
#include "stamps/recorded_stamps.h"
#include "stamps/stamp_genres.h"
#include "stamps/stamp_glue.h"
#include "stamps/stamp_interpreter.h"
#include "stamps/stamp_kinds.h"
#include "stamps/stamp_scaling.h"
#include "stamps/stamp_selector.h"
#include "stamps/stamp_visual.h"
#include "stamps/stamps_block.h"

namespace {

enum : MMResourceId { kStampSoundsTable = 1008, kLayoutTable = 734, kMessageTable = 0 };
enum : int16_t { kRefusalSoundRow = 63, kTooManyStampsText = 0, kStampRefusedText = 1 };
const int16_t kPlayingVolume = 896;
const int16_t kFullVolume = 1024;

const char* MessageText(int16_t key, char* buffer, size_t size)
{
    MMRecordTable table;
    table.Load(kMessageTable, 10, gDefaultHeap);
    int32_t row = table.FindRowByKey(key);
    const char* text = row < 0 ? nullptr : table.StringAt(row, 2);
    snprintf(buffer, size, "%s", text ? text : "");
    table.Free();
    return buffer;
}

void ShowMessage(int16_t key)
{
    char text[512];
    AlertBox(MessageText(key, text, sizeof text), kAlertInformation).Show();
}

// The child is told once the stamp drawn is refused.
class TooManyStampsAlert : public MMCommand {
public:
    using MMCommand::MMCommand;
    MMCommand* Clone() const override { return new TooManyStampsAlert(*this); }
    void Perform() override { ShowMessage(kTooManyStampsText); }
};

bool PictureLoads(int32_t id, void*)
{
    MMPictureReference reference;
    reference.Load(id);
    bool loads = !reference.IsEmpty();
    reference.Clear();
    return loads;
}

}  // namespace

KVXBaseStampManager::KVXBaseStampManager(KVXCreationHost* creation) : KVXSubScene(creation) {}

KVXBaseStampManager::~KVXBaseStampManager()
{
    SetSelectedStamp(nullptr);
    RemoveAllStamps(true);
    delete selector;
    selector = nullptr;
    if (channel) {
        channel->Stop();
        delete channel;
    }
}

MMBaseScene* KVXBaseStampManager::Host() const
{
    return creationScene ? creationScene->HostScene() : nullptr;
}

KVXCanvasVisual* KVXBaseStampManager::CanvasVisual() const
{
    return canvasVisual ? canvasVisual : GetCreationCanvas();
}

void KVXBaseStampManager::Begin()
{
    SetSelectedStamp(nullptr);
}

void KVXBaseStampManager::End()
{
    SetSelectedStamp(nullptr);
}

Box KVXBaseStampManager::CanvasBox() const
{
    return CanvasVisual() ? CanvasVisual()->GetBounds() : ::CanvasBox;
}

KVXStampBase* KVXBaseStampManager::CreateStamp(int16_t depth, int32_t kind, MMPictureID bwPicture,
                                               MMPictureID colourPicture,
                                               MMResourceId animationTable, const Pair& position)
{
    MMPictureReference lineArt;
    lineArt.Load(bwPicture);
    KVXStampValues values = {depth, kind, bwPicture, colourPicture, animationTable};
    KVXStampBase* stamp = nullptr;
    if (!lineArt.IsEmpty() && kind >= kStampBackground && kind <= kStampProp) {
        if (kind <= kStampForeground) {
            auto* visual = new MMPictureVisual;
            visual->ConstructWithPictureAt(lineArt, position.x, position.y, 78, false, false);
            if (kind == kStampBackground)
                stamp = new KVXBackGroundStamp(this, this, values, visual);
            else if (kind == kStampMidground)
                stamp = new KVXMidGroundStamp(this, this, values, visual);
            else
                stamp = new KVXForeGroundStamp(this, this, values, visual);
        } else {
            auto* visual = new MMStampPictureBasedVisual;
            visual->ConstructWithPictureAt(lineArt, position.x, position.y, 78, false, false);
            Pair natural = lineArt.GetSize();
            visual->SetDisplaySize(natural.x, natural.y);
            if (kind == kStampCharacter)
                stamp = new KVXCharacterStamp(this, this, values, visual);
            else
                stamp = new KVXPropstamp(this, this, values, visual);
        }
    }
    lineArt.Clear();
    if (!stamp)
        ShowMessage(kStampRefusedText);
    return stamp;
}

KVXStampBase* KVXBaseStampManager::CreateStampFromTable(MMResourceId stampTable, int32_t kind,
                                                        int32_t x, int32_t y)
{
    MMRecordTable table;
    table.Load(stampTable, 10, gDefaultHeap);
    KVXStampValues values = StampValuesFromTable(table);
    table.Free();
    MMPictureReference lineArt;
    lineArt.Load(values.bwPicture);
    Pair size = lineArt.IsEmpty() ? Pair{0, 0} : lineArt.GetSize();
    lineArt.Clear();
    return CreateStamp(values.depth, kind, values.bwPicture, values.colourPicture,
                       values.animationTable, {x - size.x / 2, y - size.y / 2});
}

KVXStampBase** KVXBaseStampManager::SlotOf(int32_t kind)
{
    switch (kind) {
    case kStampBackground:
        return &background;
    case kStampMidground:
        return &midground;
    case kStampForeground:
        return &foreground;
    default:
        return nullptr;
    }
}

void KVXBaseStampManager::AddStamp(KVXStampBase* stamp, bool select)
{
    stamp->SetManager(this);
    stamp->SetInterpreter(new KVXStampInterpreter(Stage(), stamp));
    stamp->ShowPlaced(!select);
    stamp->Visual()->SetHitTransparency(254);
    int32_t kind = stamp->Kind();
    if (KVXStampBase** slot = SlotOf(kind)) {
        if (*slot)
            RemoveStamp(*slot, true);
        *slot = stamp;
        stamp->SetDepth(kind == kStampBackground ? 0 : kind == kStampMidground ? 1 : 18);
    } else {
        Box box = stamp->GetBox();
        stamp->DragScale({box.right, box.top});
        stamp->EndScale({box.right, box.top});
        listed.push_back(stamp);
    }
    if (select)
        SetSelectedStamp(stamp);
    stamp->SetRemoveCommand(new MMClassCommand2Parameters<KVXBaseStampManager,
                                                          void (KVXBaseStampManager::*)(KVXStampBase*, bool),
                                                          KVXStampBase*, bool>(
        "Stop Anim Command", Stage(), this, &KVXBaseStampManager::RemoveStamp, stamp, true));
    if (select)
        link->UpdateStampButtons();
}

bool KVXBaseStampManager::PlaceStampsFromTable(MMRecordTable* entryTable, int32_t x, int32_t y)
{
    bool wasEmpty = !HasStamps();
    int32_t n = entryTable ? entryTable->CountRows(0, 0, 1) : 0;
    KVXPlacementGate gate;
    for (int32_t i = 0; i < n; ++i) {
        int32_t row = entryTable->FindRowByKey(1, 0, i);
        MMResourceId stampTable = entryTable->ItemIdAt(row, 2);
        MMRecordTable table;
        table.Load(stampTable, 10, gDefaultHeap);
        int32_t codeRow = table.FindRowByKey(0);
        int16_t layerCode = codeRow < 0 ? int16_t(-1) : table.ShortAt(codeRow, 2);
        int32_t kindRow = table.FindRowByKey(1);
        int32_t kindValue = kindRow < 0 ? 0 : table.LongAt(kindRow, 2);
        table.Free();
        int32_t kind = StampKindFromTable(layerCode, kindValue);
        // The list is measured as it is now, so a grouped entry cannot
        // overfill it.
        if (!gate.Allows(kind, int32_t(listed.size())))
            continue;
        KVXStampBase* stamp = CreateStampFromTable(stampTable, kind, x, y);
        if (!stamp)
            continue;
        stamp->SetGrouped(n != 1);
        TakeUndoSnapshot();
        stamp->SetGenre(genre);
        AddStamp(stamp, true);
        if (kind == kStampCharacter || kind == kStampProp)
            stamp->PlaceCentredAt(x, y);
        stamp->EndMove();
        if (wasEmpty || layerCode == 0)
            link->SelectStation(link->RadioState() == kRadioIdle || layerCode == 1
                                    ? int16_t(genre + 1)
                                    : link->RadioStation());
        link->UpdatePageGenre(MainGenre(genre + 1));
    }
    if (gate.Refused()) {
        PlayRefusalSound();
        if (MMStage* stage = Stage())
            TooManyStampsAlert("Handle Tool Selection", stage).Post();
    }
    return link->UpdateStampButtons();
}

void KVXBaseStampManager::SetSelectedStamp(KVXStampBase* stamp)
{
    if (stamp == selected)
        return;
    KVXStampBase* old = selected;
    selected = stamp;
    if (old)
        old->Deselect();
    if (stamp && selector) {
        BringToFront(stamp);
        stamp->Select(selector);
        selector->PlaceHandles();
    }
}

void KVXBaseStampManager::BringToFront(KVXStampBase* stamp)
{
    auto at = std::find(listed.begin(), listed.end(), stamp);
    if (at == listed.end())
        return;
    listed.erase(at);
    listed.push_back(stamp);
    for (size_t i = 0; i < listed.size(); ++i)
        listed[i]->SetDepth(int16_t(i));
}

void KVXBaseStampManager::RemoveStamp(KVXStampBase* stamp, bool notify)
{
    if (!stamp)
        return;
    bool held = false;
    if (KVXStampBase** slot = SlotOf(stamp->Kind()); slot && *slot == stamp) {
        if (selected == stamp)
            SetSelectedStamp(nullptr);
        *slot = nullptr;
        held = true;
        if (stamp->Kind() == kStampBackground)
            OnBackgroundRemoved();
    } else if (auto at = std::find(listed.begin(), listed.end(), stamp); at != listed.end()) {
        if (selected == stamp)
            SetSelectedStamp(nullptr);
        listed.erase(at);
        held = true;
    }
    if (!held)
        return;
    delete stamp;
    if (notify) {
        OnStampsChanged();
        AdvanceChangeState();
    }
}

void KVXBaseStampManager::RemoveAllStamps(bool notify)
{
    SetSelectedStamp(nullptr);
    RefreshAllStamps();
    for (KVXStampBase* each : {background, midground, foreground})
        RemoveStamp(each, notify);
    while (!listed.empty())
        RemoveStamp(listed.front(), notify);
}

void KVXBaseStampManager::TakeUndoSnapshot()
{
    if (CanvasVisual())
        CanvasVisual()->SnapshotForUndo(false);
}

void KVXBaseStampManager::AdvanceChangeState()
{
    if (CanvasVisual() && CanvasVisual()->Plane())
        CanvasVisual()->Plane()->changeState.Advance();
    link->AdvanceChangeState();
}

void KVXBaseStampManager::GlueStampNow(KVXStampBase* stamp, bool colour, bool remove)
{
    Pair size = stamp->GetSize();
    bool listedKind = stamp->Kind() == kStampCharacter || stamp->Kind() == kStampProp;
    MMPictureID id;
    if (colour) {
        if (listedKind) {
            Pair c = stamp->ColourPictureSize();
            Pair b = stamp->BWPictureSize();
            if (b.x > 0 && b.y > 0)
                stamp->SetSize(int32_t(int64_t(size.x) * c.x / b.x),
                               int32_t(int64_t(size.y) * c.y / b.y));
        }
        id = stamp->RenderColour();
    } else {
        id = stamp->RenderPlain();
    }
    Pair at = stamp->Visual()->GetPosition();
    at = {at.x + offsetX, at.y + offsetY};
    MMPictureReference picture;
    picture.Load(id);
    if (CanvasVisual())
        GlueStampPicture(CanvasVisual(), picture, at);
    picture.Clear();
    link->MarkCurrentPageModified();
    if (remove)
        RemoveStamp(stamp, true);
    else
        stamp->SetSize(size.x, size.y);
}

void KVXBaseStampManager::GlueStamp(KVXStampBase* stamp, bool colour, bool snapshot, bool remove)
{
    if (!stamp)
        return;
    if (snapshot)
        TakeUndoSnapshot();
    if (stamp->Grouped()) {
        for (KVXStampBase* layer : {background, midground, foreground})
            if (layer)
                GlueStampNow(layer, colour, remove);
        return;
    }
    GlueStampNow(stamp, colour, remove);
}

void KVXBaseStampManager::GlueAllStamps(bool colour)
{
    SetSelectedStamp(nullptr);
    RefreshAllStamps();
    TakeUndoSnapshot();
    for (KVXStampBase* layer : {background, midground})
        if (layer)
            GlueStampNow(layer, colour, true);
    while (!listed.empty()) {
        GlueStampNow(listed.front(), colour, true);
        link->RemovePlayableStamp();
    }
    if (foreground)
        GlueStampNow(foreground, colour, true);
}

void KVXBaseStampManager::PlayStamp(KVXStampBase* stamp)
{
    if (!stamp)
        return;
    if (selected == stamp)
        SetSelectedStamp(nullptr);
    for (size_t i = listed.size(); i-- > 0;)
        listed[i]->Replay();
    KVXStampBase* toPlay = stamp;
    std::vector<KVXStampBase*> removeAfter;
    if (stamp->Grouped()) {
        for (KVXStampBase* layer : {background, midground, foreground})
            if (layer)
                layer->SetGrouped(false);
        bool hadBackground = background != nullptr;
        if (background) {
            GlueStamp(background, true, Host() != nullptr, false);
            removeAfter.push_back(background);
        }
        if (midground) {
            GlueStamp(midground, true, Host() != nullptr && !hadBackground, false);
            removeAfter.push_back(midground);
        }
        if (!foreground) {
            OnStampPlaying(stamp);
            toPlay = nullptr;
        } else {
            if (selected == foreground)
                SetSelectedStamp(nullptr);
            OnRadioRefresh();
            toPlay = foreground;
        }
    } else if (stamp == background || stamp == midground) {
        removeAfter.push_back(stamp);
    }
    if (toPlay) {
        toPlay->Play(playWithStopCommand);
        OnStampPlaying(toPlay);
    }
    for (KVXStampBase* each : removeAfter)
        RemoveStamp(each, true);
}

bool KVXBaseStampManager::PlayAllStamps()
{
    KVXStampBase* grouped = nullptr;
    for (KVXStampBase* layer : {background, midground, foreground})
        if (!grouped && layer && layer->Grouped())
            grouped = layer;
    if (grouped) {
        PlayStamp(grouped);
    } else {
        for (KVXStampBase* layer : {background, midground, foreground})
            if (layer)
                PlayStamp(layer);
    }
    for (size_t i = listed.size(); i-- > 0;)
        if (i < listed.size())
            PlayStamp(listed[i]);
    return !listed.empty();
}

void KVXBaseStampManager::PlayLastAnimatedStamp()
{
    for (size_t i = listed.size(); i-- > 0;) {
        if (listed[i]->IsAnimated()) {
            PlayStamp(listed[i]);
            break;
        }
    }
    if (foreground)
        PlayStamp(foreground);
}

void KVXBaseStampManager::PlayFlaggedStamps()
{
    PlayStamp(background);
    PlayStamp(midground);
    for (size_t i = listed.size(); i-- > 0;)
        if (i < listed.size() && listed[i]->AnimatedAtSave())
            PlayStamp(listed[i]);
    PlayStamp(foreground);
    link->UpdateStampButtons();
}

void KVXBaseStampManager::NotifyAllStamps()
{
    for (KVXStampBase* layer : {background, midground, foreground})
        if (layer)
            layer->Show();
    for (size_t i = 0; i < listed.size(); ++i) {
        if (listed[i]->IsAnimated())
            PlayStamp(listed[i]);
        else
            listed[i]->Show();
    }
}

void KVXBaseStampManager::HideAllStamps()
{
    SetSelectedStamp(nullptr);
    StopAnimations(false);
    for (KVXStampBase* layer : {background, midground, foreground})
        if (layer)
            layer->Hide();
    for (KVXStampBase* each : listed)
        if (!each->Visual()->IsHidden())
            each->Hide();
}

void KVXBaseStampManager::HideStampVisuals()
{
    for (KVXStampBase* layer : {background, midground, foreground})
        if (layer)
            layer->Visual()->SetHidden(true);
    for (KVXStampBase* each : listed)
        each->Visual()->SetHidden(true);
}

void KVXBaseStampManager::ShowStampVisuals()
{
    for (KVXStampBase* layer : {background, midground, foreground})
        if (layer)
            layer->Visual()->SetHidden(false);
    for (KVXStampBase* each : listed)
        each->Visual()->SetHidden(false);
}

void KVXBaseStampManager::StartListedAnimations()
{
    for (KVXStampBase* each : listed)
        each->MakeAnimation();
}

void KVXBaseStampManager::DeleteListedAnimations()
{
    for (KVXStampBase* each : listed)
        each->DeleteAnimation();
}

void KVXBaseStampManager::StopAnimations(bool show)
{
    if (foreground)
        foreground->StopAnimation(show);
    for (KVXStampBase* each : listed)
        each->StopAnimation(show);
}

void KVXBaseStampManager::RefreshStamp(KVXStampBase* stamp)
{
    stamp->StopAndRestore();
    OnStampStopped();
}

void KVXBaseStampManager::RefreshAllStamps()
{
    for (KVXStampBase* layer : {background, midground, foreground})
        if (layer)
            RefreshStamp(layer);
    for (KVXStampBase* each : listed)
        RefreshStamp(each);
}

bool KVXBaseStampManager::HasStamps() const
{
    return background || midground || foreground || !listed.empty();
}

bool KVXBaseStampManager::HasPlacedStamps() const
{
    if (!listed.empty())
        return true;
    for (KVXStampBase* layer : {foreground, midground, background})
        if (layer)
            return layer->IsPlaced();
    return false;
}

int32_t KVXBaseStampManager::CountAnimatedStamps() const
{
    int32_t count = foreground && foreground->IsAnimated() ? 1 : 0;
    for (KVXStampBase* each : listed)
        count += each->IsAnimated() ? 1 : 0;
    return count;
}

int32_t KVXBaseStampManager::StampCount() const
{
    return (background ? 1 : 0) + (midground ? 1 : 0) + (foreground ? 1 : 0) +
           int32_t(listed.size());
}

int16_t KVXBaseStampManager::MainGenre(int16_t current) const
{
    std::vector<int16_t> genres;
    for (KVXStampBase* layer : {background, foreground})
        if (layer)
            genres.push_back(layer->Genre());
    for (KVXStampBase* each : listed)
        genres.push_back(each->Genre());
    int16_t mid = midground ? midground->Genre() : int16_t(0);
    return MainStampGenre(current, genreCount, genres.data(), int32_t(genres.size()),
                          midground ? &mid : nullptr);
}

void KVXBaseStampManager::SaveSceneData(int16_t words[4])
{
    words[0] = 0;
    words[1] = station;
    words[2] = kFullVolume;
    words[3] = kRadioIdle;
}

void KVXBaseStampManager::LoadSceneData(const int16_t words[4])
{
    station = words[1];
}

void KVXBaseStampManager::CollectRecord(KVXStampBase* stamp, KVXStampRecord* record)
{
    bool animated = stamp->Kind() == kStampForeground ? stamp->IsAnimated()
                                                      : stamp->Animation() != nullptr;
    stamp->SetAnimatedAtSave(animated);
    record->kind = stamp->Kind();
    record->genre = stamp->Genre();
    record->depth = stamp->Depth();
    record->bwPicture = stamp->BWPicture();
    record->colourPicture = stamp->ColourPicture();
    record->animationTable = stamp->AnimationTable();
    record->sizeStep = stamp->SizeStep();
    record->mirroredX = stamp->MirroredX() ? 1 : 0;
    record->mirroredY = stamp->MirroredY() ? 1 : 0;
    record->animated = animated ? 1 : 0;
    record->bounds = stamp->Visual()->GetBounds();
    Pair size = stamp->GetSize();
    record->size = size;
}

bool KVXBaseStampManager::Write(FSWriter& writer)
{
    KVXStampsBlock block;
    if (link->HasRadio()) {
        link->SaveRadio(block.sceneData);
    } else {
        SaveSceneData(block.sceneData);
    }
    KVXStampBase* layers[] = {background, midground, foreground};
    for (int i = 0; i < kLayerPlaces; ++i)
        if (layers[i])
            CollectRecord(layers[i], &block.places[i]);
    for (size_t i = 0; i < listed.size() && i < size_t(kListedStampLimit); ++i)
        CollectRecord(listed[i], &block.places[kLayerPlaces + i]);
    return block.Write(writer);
}

int32_t KVXBaseStampManager::StoredSize()
{
    return kStampsBlockSize;
}

KVXStampBase* KVXBaseStampManager::StampFromRecord(const KVXStampRecord& record)
{
    KVXStampBase* stamp =
        CreateStamp(record.depth, record.kind, record.bwPicture, record.colourPicture,
                    record.animationTable, {record.bounds.left, record.bounds.top});
    if (!stamp)
        return nullptr;
    Box box = {record.bounds.left, record.bounds.top, record.bounds.left + record.size.x,
               record.bounds.top + record.size.y};
    stamp->SetBox(box);
    stamp->SetDepth(record.depth);
    stamp->SetGenre(record.genre);
    stamp->SetAnimatedAtSave(record.animated != 0);
    if (record.kind == kStampCharacter || record.kind == kStampProp)
        stamp->SetSize(record.size.x, record.size.y);
    return stamp;
}

bool KVXBaseStampManager::Read(FSReader& reader)
{
    // The layers of the page before go too: a page without a background
    // must not show the last one's.
    RemoveAllStamps(false);
    KVXStampsBlock block;
    bool whole = block.Read(reader, PictureLoads, nullptr);
    if (link->HasRadio())
        link->LoadRadio(block.sceneData);
    else
        LoadSceneData(block.sceneData);
    for (const KVXStampRecord& record : block.places) {
        if (record.IsEmpty())
            continue;
        KVXStampBase* stamp = StampFromRecord(record);
        if (!stamp)
            continue;
        AddStamp(stamp, false);
        // Mirroring after the stamp is placed renders its look once more.
        if (record.mirroredX == 1)
            stamp->FlipX();
        if (record.mirroredY == 1)
            stamp->FlipY();
        if (record.kind == kStampCharacter || record.kind == kStampProp)
            stamp->SetSize(record.size.x, record.size.y);
    }
    lastReadMissed = block.MissedPictures();
    if (lastReadMissed && missingPictureAlert)
        ShowMessage(kStampRefusedText);
    return whole;
}

void KVXBaseStampManager::DrawStamps(MMSurface* surface, int32_t step, bool plain)
{
    if (!HasStamps() || !surface)
        return;
    KVXStampsBlock block;
    KVXStampBase* layers[] = {background, midground, foreground};
    for (int i = 0; i < kLayerPlaces; ++i)
        if (layers[i])
            CollectRecord(layers[i], &block.places[i]);
    for (size_t i = 0; i < listed.size() && i < size_t(kListedStampLimit); ++i)
        CollectRecord(listed[i], &block.places[kLayerPlaces + i]);
    KVXRecordedStamps(block).DrawStamps(surface, step, plain);
}

bool KVXBaseStampManager::HandleKey(uint32_t keyData)
{
    switch (keyData & 0xFFFF) {
    case kKeyRemoveStamp:
    case kKeyRemoveStampToo:
        RemoveStamp(selected, true);
        return true;
    case kKeyStampLeft:
        KeyMove(-1, 0);
        return true;
    case kKeyStampRight:
        KeyMove(1, 0);
        return true;
    case kKeyStampUp:
        KeyMove(0, -1);
        return true;
    case kKeyStampDown:
        KeyMove(0, 1);
        return true;
    default:
        return MMBaseScene::HandleKey(keyData);
    }
}

void KVXBaseStampManager::KeyMove(int32_t dx, int32_t dy)
{
    if (!selected)
        return;
    Pair at = selected->Visual()->GetPosition();
    selected->BeginMove();
    selected->MoveTo(at.x + dx, at.y + dy);
    selected->EndMove();
}

void KVXBaseStampManager::PlayStampSound(int16_t key)
{
    if (!channel)
        return;
    MMRecordTable table;
    table.Load(kStampSoundsTable, 10, gDefaultHeap);
    int32_t row = table.FindRowByKey(key);
    MMSoundReference sound;
    if (row >= 0)
        sound.Load(table.LongAt(row, 2));
    table.Free();
    channel->Play(sound, key == kStampSoundDrag || key == kStampSoundScale);
    sound.Clear();
}

void KVXBaseStampManager::PlayRefusalSound()
{
    if (!channel)
        return;
    MMRecordTable table;
    table.Load(kLayoutTable, 10, gDefaultHeap);
    int32_t row = table.FindRowByKey(kRefusalSoundRow);
    MMSoundReference sound;
    if (row >= 0)
        sound.Load(table.LongAt(row, 2));
    table.Free();
    channel->Play(sound, false);
    sound.Clear();
}

void KVXBaseStampManager::StartDragSound()
{
    PlayStampSound(kStampSoundDrag);
    if (channel) {
        channel->SetVolume(kFullVolume);
        channel->SetVolume(kPlayingVolume);
    }
}

void KVXBaseStampManager::EndDragSound()
{
    if (channel) {
        channel->Stop();
        channel->SetVolume(kFullVolume);
        channel->SetFrequency(0x10000);
    }
    PlayStampSound(kStampSoundDrop);
}

void KVXBaseStampManager::StartScaleSound(KVXStampBase* stamp)
{
    scalePitch.Start(stamp->Visual()->GetPosition(), stamp->NaturalSize().x);
    PlayStampSound(kStampSoundScale);
    if (channel) {
        channel->SetVolume(kFullVolume);
        channel->SetVolume(kPlayingVolume);
    }
}

void KVXBaseStampManager::ScaleSoundAt(KVXStampBase* stamp)
{
    if (channel)
        channel->SetFrequency(scalePitch.FrequencyFor(stamp->GetBox()));
}

void KVXBaseStampManager::EndScaleSound()
{
    EndDragSound();
}
