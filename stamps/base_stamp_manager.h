#pragma once
// The stamps of the current picture: created from drawer entries or from a
// page's stamps block, selected one at a time, glued into the canvas,
// played, written to and read from the page, and drawn into the page's
// pictures. A sub-scene of the painting screen: it borrows its stage and
// enclosure.
#include <cstdint>
#include <vector>

#include "framework/geometry.h"
#include "stamps/stamp_base.h"
#include "stamps/stamp_drop_target.h"
#include "stamps/stamp_scale_sound.h"
#include "stamps/stamp_scene_link.h"
#include "trays/sub_scene.h"

class FSReader;
class FSWriter;
class KVXCanvasVisual;
class KVXStampSelector;
class MMBitmapPictureCollection;
class MMGenericSoundChannel;
class MMSurface;

// Row keys of the stamp sounds' table 1008.
enum KVXStampSound : int16_t {
    kStampSoundFlip = 1,
    kStampSoundScale = 3,
    kStampSoundDrag = 4,
    kStampSoundDrop = 5,
    kStampSoundGlueLineArt = 6,
    kStampSoundGlueColour = 7,
    kStampSoundPlay = 8,
};

enum : uint16_t {
    kKeyRemoveStamp = 1000,
    kKeyRemoveStampToo = 1001,
    kKeyStampLeft = 1009,
    kKeyStampRight = 1010,
    kKeyStampUp = 1011,
    kKeyStampDown = 1012,
};

class KVXBaseStampManager : public KVXSubScene, public KVXStampDropTarget {
public:
    // The painting screen whose stage, enclosure and canvas the stamps use.
    explicit KVXBaseStampManager(KVXCreationHost* creation);
    ~KVXBaseStampManager() override;

    void Begin() override;
    virtual void End();
    bool HandleKey(uint32_t keyData) override;

    virtual void OnBackgroundRemoved() {}
    virtual void OnStampsChanged() {}
    virtual void OnStampPlaying(KVXStampBase* stamp) {}
    virtual void OnStampStopped() {}
    virtual void OnRadioRefresh() {}
    // Four words of the page's scene data.
    virtual void SaveSceneData(int16_t words[4]);
    virtual void LoadSceneData(const int16_t words[4]);

    // The canvas the stamps are glued into (the creation scene's unless set)
    // and the collection their rendered pictures go to; the link to the
    // painting screen (none: quiet).
    void SetCanvasVisual(KVXCanvasVisual* canvas) { canvasVisual = canvas; }
    void SetPictureCollection(MMBitmapPictureCollection* collection) { pictures = collection; }
    void SetSceneLink(KVXStampSceneLink* value) { link = value ? value : &quietLink; }
    // The number of genres of the drawer (table 996), for the main genre.
    void SetGenreCount(int32_t count) { genreCount = count; }

    KVXStampBase* CreateStamp(int16_t depth, int32_t kind, MMPictureID bwPicture,
                              MMPictureID colourPicture, MMResourceId animationTable,
                              const Pair& position);
    KVXStampBase* CreateStampFromTable(MMResourceId stampTable, int32_t kind, int32_t x,
                                       int32_t y);
    bool PlaceStampsFromTable(MMRecordTable* entryTable, int32_t x, int32_t y) override;
    void AddStamp(KVXStampBase* stamp, bool select);
    void SetSelectedStamp(KVXStampBase* stamp);
    void BringToFront(KVXStampBase* stamp);
    void RemoveStamp(KVXStampBase* stamp, bool notify);
    void RemoveAllStamps(bool notify);

    void GlueStampNow(KVXStampBase* stamp, bool colour, bool remove);
    void GlueStamp(KVXStampBase* stamp, bool colour, bool snapshot, bool remove);
    void GlueAllStamps(bool colour);

    void PlayStamp(KVXStampBase* stamp);
    bool PlayAllStamps();
    void PlayLastAnimatedStamp();
    void PlayFlaggedStamps();
    void NotifyAllStamps();
    void HideAllStamps();
    void HideStampVisuals();
    void ShowStampVisuals();
    void StartListedAnimations();
    void DeleteListedAnimations();
    void StopAnimations(bool show);
    void RefreshAllStamps();
    void RefreshStamp(KVXStampBase* stamp);

    bool HasStamps() const;
    bool HasPlacedStamps() const;
    int32_t CountAnimatedStamps() const;
    int32_t StampCount() const;
    int16_t MainGenre(int16_t current) const;

    bool Write(FSWriter& writer);
    // Bad records are skipped (the good stamps stay): false with a pending
    // error, and one alert when pictures did not load.
    bool Read(FSReader& reader);
    // Off, Read tells no one of pictures that did not load: a reader of
    // many pages (the slideshow, round and round) tells the child once.
    void SetMissingPictureAlert(bool on) { missingPictureAlert = on; }
    // Whether the last Read met a stamp whose pictures did not load.
    bool LastReadMissedPictures() const { return lastReadMissed; }
    static int32_t StoredSize();
    void DrawStamps(MMSurface* surface, int32_t step, bool plain);

    void StartDragSound() override;
    void EndDragSound() override;
    void StartScaleSound(KVXStampBase* stamp);
    void ScaleSoundAt(KVXStampBase* stamp);
    void EndScaleSound();
    void PlayStampSound(int16_t key);
    void PlayRefusalSound();

    // Services of the stamps.
    void TakeUndoSnapshot();
    void AdvanceChangeState();
    void UpdatePlayButtons() { link->UpdatePlayButtons(); }
    Box CanvasBox() const;

    KVXStampBase* Selected() const { return selected; }
    KVXStampBase* Background() const { return background; }
    KVXStampBase* Midground() const { return midground; }
    KVXStampBase* Foreground() const { return foreground; }
    const std::vector<KVXStampBase*>& Listed() const { return listed; }
    KVXStampSelector* Selector() const { return selector; }
    MMGenericSoundChannel* Channel() const { return channel; }
    KVXCanvasVisual* CanvasVisual() const;
    MMBitmapPictureCollection* Pictures() const { return pictures; }
    KVXStampSceneLink* Link() const { return link; }
    // The painting screen, when the manager has one.
    MMBaseScene* Host() const;
    int32_t OffsetX() const { return offsetX; }
    int32_t OffsetY() const { return offsetY; }
    int16_t Station() const { return station; }
    int16_t CurrentGenre() const { return genre; }
    const KVXScaleSoundPitch& ScalePitch() const { return scalePitch; }
    bool PlaysWithStopCommand() const { return playWithStopCommand; }

protected:
    // The slot a layer stamp lives in; null for the list.
    KVXStampBase** SlotOf(int32_t kind);
    void KeyMove(int32_t dx, int32_t dy);
    void CollectRecord(KVXStampBase* stamp, struct KVXStampRecord* record);
    KVXStampBase* StampFromRecord(const struct KVXStampRecord& record);

    MMGenericSoundChannel* channel = nullptr;
    bool playWithStopCommand = false;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    int16_t station = 0;
    std::vector<KVXStampBase*> listed;
    KVXStampBase* selected = nullptr;
    KVXStampBase* foreground = nullptr;
    KVXStampBase* midground = nullptr;
    KVXStampBase* background = nullptr;
    KVXStampSelector* selector = nullptr;
    KVXCanvasVisual* canvasVisual = nullptr;
    MMBitmapPictureCollection* pictures = nullptr;
    KVXStampSceneLink quietLink;
    KVXStampSceneLink* link = &quietLink;
    int32_t genreCount = 0;
    int16_t genre = 0;
    KVXScaleSoundPitch scalePitch;
    bool missingPictureAlert = true;
    bool lastReadMissed = false;
};
