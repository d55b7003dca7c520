#pragma once
// The slideshow (scene 3): the pictures of the current book one after the
// other, full screen on black, each with its slate drawings and stamps,
// its transition and its music. Any key or a click ends it early.
#include <cstdint>

#include "engine/scene.h"
#include "framework/geometry.h"
#include "gallery/slideshow_sequence.h"
#include "media/visual.h"

class MMGenericSoundChannel;
class MpSlideshowThread;
class MpSketchbookList;
class KVXPlaneComponent;
class WinMMOffscreenSurface;

// Shows one of the scene's two page surfaces (the front one) at its box.
class SlidePictureVisual : public MMOpaqueBoxVisual {
public:
    SlidePictureVisual(const Box& box, int16_t layer);
    void Draw(MMSurface* surface) override;
    void SetSurface(WinMMOffscreenSurface* value) { shown = value; }

private:
    WinMMOffscreenSurface* shown = nullptr;
};

class MpSlideshowScene : public MMScene, public SlideshowHost {
public:
    static constexpr int16_t kBlackLayer = 30;
    static constexpr int16_t kPictureLayer = 50;
    static constexpr int16_t kMouseLayer = 9999;
    static constexpr int16_t kThreadPriority = 500;
    static constexpr int32_t kPictureX = 109;
    static constexpr int32_t kPictureY = 44;
    // The step of the page's animation shown: its slate drawing complete.
    static constexpr int32_t kShownStep = 59;

    explicit MpSlideshowScene(MMStage* stage);
    ~MpSlideshowScene() override;

    void Begin() override;
    void DeleteMolecules() override;
    bool HandleKey(uint32_t keyData) override;

    void ShowPicture(int32_t page) override;
    void RunTransition(int16_t transition) override;
    int16_t PageTransition(int32_t page) override;
    int16_t PageMusic(int32_t page) override;
    int16_t PageDelay(int32_t page) override;
    void StopTransitionSound() override;
    void PlayTransitionSound(int32_t soundId) override;
    void StopMusic() override;
    void LoopMusic(int32_t soundId) override;
    bool Looping() override;
    void ReturnToGallery() override;

    // Back to the gallery at once (a key, a click).
    void Leave();

    MpSlideshowThread* Thread() const { return thread; }
    // The page on the screen (-1 before the first transition).
    int32_t ShownPage() const { return frontPage; }
    int32_t PreparedPage() const { return backPage; }
    WinMMOffscreenSurface* FrontSurface() const { return front; }
    MMGenericSoundChannel* MusicChannel() const { return music; }
    int32_t MusicId() const { return musicId; }

private:
    MpSketchbookList* List() const;
    KVXPlaneComponent* Plane() const;
    void ReleaseSurfaces();

    SlidePictureVisual* picture = nullptr;
    MpSlideshowThread* thread = nullptr;
    MMGenericSoundChannel* music = nullptr;
    MMGenericSoundChannel* effect = nullptr;
    WinMMOffscreenSurface* front = nullptr;
    WinMMOffscreenSurface* back = nullptr;
    int32_t frontPage = -1;
    int32_t backPage = -1;
    int32_t musicId = -1;
    bool leaving = false;
};
