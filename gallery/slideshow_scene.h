#pragma once
// The slideshow (scene 3): the pictures of the current book one after the
// other, full screen on black, each with its slate drawings and stamps,
// its transition and its music. Any key or a click ends it early.
//
// Pages are double-buffered: the next page is read into the application's
// canvas plane, a slate store and a stamp manager (the back buffer) while
// the shown page's stamps animate over the picture rendered from the plane
// at its transition (the front buffer). The shown page's slate drawing
// plays on the canvas visual, which draws nothing of the plane.
#include <cstdint>
#include <memory>

#include "canvas/canvas_scene.h"
#include "engine/scene.h"
#include "framework/geometry.h"
#include "gallery/slideshow_sequence.h"
#include "media/visual.h"

class KVXBaseStampManager;
class KVXCanvasVisual;
class KVXStampHost;
class MMGenericSoundChannel;
class MpSlideshowThread;
class PagePicture;
class MpSketchbookList;
class KVXPlaneComponentTop;
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

class MpSlideshowScene : public MMScene, public SlideshowHost, public KVXCanvasScene {
public:
    static constexpr int16_t kBlackLayer = 30;
    static constexpr int16_t kPictureLayer = 31;
    static constexpr int16_t kCanvasLayer = 50;
    // Over every stamp: the page ends at the canvas's edge, as it does on
    // the painting screen under its frame and in prints and exports.
    static constexpr int16_t kBorderLayer = 9990;
    static constexpr int16_t kMouseLayer = 9999;
    static constexpr int16_t kThreadPriority = 500;
    static constexpr int32_t kPictureX = 109;
    static constexpr int32_t kPictureY = 44;
    // The step at which the page's still stamps are drawn into its picture.
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

    // The canvas here only plays the shown page's slate drawing.
    KVXPlaneUChar* TexturePlane() override { return nullptr; }
    void DeleteSoundChannel() override {}
    MMScrollBarVisual* MakeZoomScrollBarVisual(MMResourceId, MMResourceId, MMResourceId,
                                              const Box&) override
    {
        return nullptr;
    }
    KVXSlateRecording* MakeSlateRecording() override;

    // Back to the gallery at once (a key, a click).
    void Leave();

    MpSlideshowThread* Thread() const { return thread; }
    // The page on the screen (-1 before the first transition).
    int32_t ShownPage() const { return frontPage; }
    int32_t PreparedPage() const { return backPage; }
    WinMMOffscreenSurface* FrontSurface() const { return shown; }
    KVXBaseStampManager* FrontStamps() const { return frontStamps; }
    KVXBaseStampManager* BackStamps() const { return backStamps; }
    KVXCanvasVisual* CanvasVisual() const { return canvas; }
    MMGenericSoundChannel* MusicChannel() const { return music; }
    int32_t MusicId() const { return musicId; }

private:
    MpSketchbookList* List() const;
    KVXPlaneComponentTop* Plane() const;
    void ReleaseBuffers();
    KVXBaseStampManager* MakeStampManager();
    void RenderFront();
    void RestartFrontStamps();
    void PlayFrontSlate();
    void AddBorders(const Box& area);

    SlidePictureVisual* picture = nullptr;
    KVXCanvasVisual* canvas = nullptr;
    KVXStampHost* stampHost = nullptr;
    KVXBaseStampManager* frontStamps = nullptr;
    KVXBaseStampManager* backStamps = nullptr;
    // Each page's slate store and stamps block, as read from the book.
    std::unique_ptr<PagePicture> frontSlate;
    std::unique_ptr<PagePicture> backSlate;
    MpSlideshowThread* thread = nullptr;
    MMGenericSoundChannel* music = nullptr;
    MMGenericSoundChannel* effect = nullptr;
    WinMMOffscreenSurface* shown = nullptr;
    int32_t frontPage = -1;
    int32_t backPage = -1;
    // Whether the buffer's page was read whole enough to show (else black).
    bool frontLoaded = false;
    bool backLoaded = false;
    int32_t musicId = -1;
    bool leaving = false;
    // The child was told this show of a stamp whose picture is gone.
    bool toldMissingPictures = false;
};
