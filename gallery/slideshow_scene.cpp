#include "gallery/slideshow_scene.h"

#include <utility>

#include "canvas/canvas_scene.h"
#include "canvas/canvas_visual.h"
#include "canvas/plane.h"
#include "engine/command.h"
#include "engine/molecule.h"
#include "engine/stage.h"
#include "framework/color.h"
#include "gallery/page_picture.h"
#include "gallery/sketchbook_list.h"
#include "gallery/slideshow_sounds.h"
#include "gallery/slideshow_thread.h"
#include "media/offscreen_surface.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "media/transition_effect.h"
#include "selection/slate_store.h"
#include "shell/app.h"
#include "shell/creation_parts.h"
#include "stamps/base_stamp_manager.h"
#include "stamps/recorded_stamps.h"
#include "stamps/stamp_host.h"
#include "stamps/stamps_block.h"

namespace {

constexpr uint32_t kBlack = 0x000000;
const Box kStageArea = {0, 0, 800, 600};

void AddBlackBox(MMScene* scene, const Box& box, int16_t layer)
{
    if (!box.IsEmpty())
        new MMVisualMolecule(scene, new MMSolidBoxVisual(box, MakeMMColorFromRgb(kBlack), layer));
}

// Every key frame drawn in the store goes into the canvas's own recording,
// moved from the painting screen's canvas to this one.
void CopySlateInto(KVXCanvasVisual* canvas, const MagicSlateStore& store, const Pair& shift)
{
    Pair points[kSlatePoints];
    for (int32_t c = 0; c < kSlateChannels; ++c) {
        for (int32_t f = 0; f < kSlateFrames; ++f) {
            if (store.FrameState(c, f) != kSlateDrawn)
                continue;
            const SlateFrame& frame = store.channels[c].frames[f];
            for (int32_t i = 0; i < frame.count; ++i)
                points[i] = {frame.points[i].x + shift.x, frame.points[i].y + shift.y};
            canvas->StoreSlateStroke(c, f, points, frame.count, frame.width, frame.colour);
        }
    }
}

KVXStampsBlock ShiftedStamps(const KVXStampsBlock& stamps, const Pair& shift)
{
    KVXStampsBlock shifted = stamps;
    for (KVXStampRecord& record : shifted.places)
        if (!record.IsEmpty())
            record.bounds.Offset(shift);
    return shifted;
}

}  // namespace

SlidePictureVisual::SlidePictureVisual(const Box& box, int16_t layer) : MMOpaqueBoxVisual(box)
{
    this->layer = layer;
}

void SlidePictureVisual::Draw(MMSurface* surface)
{
    if (shown == nullptr) {
        surface->FillBox(box, MakeMMColorFromRgb(kBlack));
        return;
    }
    surface->CopyFromOffscreenTo(*shown, Pair{0, 0}, box);
}

MpSlideshowScene::MpSlideshowScene(MMStage* stage) : MMScene(stage)
{
}

MpSlideshowScene::~MpSlideshowScene()
{
    ReleaseBuffers();
}

MpSketchbookList* MpSlideshowScene::List() const
{
    return gApp != nullptr ? gApp->SketchbookList() : nullptr;
}

KVXPlaneComponentTop* MpSlideshowScene::Plane() const
{
    return gApp != nullptr ? gApp->CanvasPlane() : nullptr;
}

void MpSlideshowScene::Begin()
{
    leaving = false;
    toldMissingPictures = false;
    frontPage = backPage = -1;
    frontLoaded = backLoaded = false;
    musicId = kNoSound;
    new MMVisualMolecule(this, new MMSolidBoxVisual(kStageArea, MakeMMColorFromRgb(kBlack),
                                                    kBlackLayer));
    KVXPlaneComponentTop* plane = Plane();
    if (plane != nullptr) {
        Box area = {kPictureX, kPictureY, kPictureX + plane->width, kPictureY + plane->height};
        picture = new SlidePictureVisual(area, kPictureLayer);
        new MMVisualMolecule(this, picture);
        shown = MMSurface::CreateBitmapDC(32, Box{0, 0, plane->width, plane->height}, nullptr);
        // The plane holds the page being prepared while another is shown:
        // the canvas has no draw method and shows only the slate drawing of
        // the page on the screen, over its picture.
        canvas = new KVXCanvasVisual(this, this, area, kCanvasLayer, plane, nullptr);
        canvas->SetHidden(true);
        new MMVisualMolecule(this, canvas);
        canvas->Activate();
        AddBorders(area);
        stampHost = new KVXStampHost(this, canvas);
        frontSlate.reset(new PagePicture(*plane));
        backSlate.reset(new PagePicture(*plane));
    }
    new MMMouseVisualMolecule(
        this, new MMClassCommand<MpSlideshowScene>("slideshowClickCmd", stage_, this,
                                                   &MpSlideshowScene::Leave),
        kStageArea, kMouseLayer, nullptr);
    if (stage_->SoundManager() != nullptr) {
        music = new MMGenericSoundChannel(stage_->SoundManager());
        effect = new MMGenericSoundChannel(stage_->SoundManager());
    }
    MpSketchbookList* list = List();
    SketchbookFile* book = list != nullptr ? list->CurrentBook() : nullptr;
    int32_t pages = book != nullptr && shown != nullptr ? book->PageCount() : 0;
    thread = new MpSlideshowThread(stage_, *this, pages);
    thread->SetPriority(kThreadPriority);
    thread->Activate();
    stage_->Invalidate(kStageArea);
}

void MpSlideshowScene::AddBorders(const Box& area)
{
    AddBlackBox(this, Box{0, 0, kStageArea.right, area.top}, kBorderLayer);
    AddBlackBox(this, Box{0, area.bottom, kStageArea.right, kStageArea.bottom}, kBorderLayer);
    AddBlackBox(this, Box{0, area.top, area.left, area.bottom}, kBorderLayer);
    AddBlackBox(this, Box{area.right, area.top, kStageArea.right, area.bottom}, kBorderLayer);
}

KVXSlateRecording* MpSlideshowScene::MakeSlateRecording()
{
    return new MagicSlateStore;
}

void MpSlideshowScene::ReleaseBuffers()
{
    for (KVXBaseStampManager** stamps : {&frontStamps, &backStamps}) {
        if (*stamps != nullptr) {
            (*stamps)->RemoveAllStamps(false);
            delete *stamps;
            *stamps = nullptr;
        }
    }
    delete stampHost;
    stampHost = nullptr;
    frontSlate.reset();
    backSlate.reset();
    if (shown != nullptr)
        shown->Dispose();
    shown = nullptr;
}

void MpSlideshowScene::DeleteMolecules()
{
    if (thread != nullptr) {
        thread->Terminate();
        delete thread;
        thread = nullptr;
    }
    for (MMGenericSoundChannel** channel : {&music, &effect}) {
        if (*channel != nullptr) {
            (*channel)->Stop();
            delete *channel;
            *channel = nullptr;
        }
    }
    if (stage_->NextBlitTransition() != nullptr)
        stage_->SetNextBlitTransition(nullptr);
    // The stamps' molecules live in the managers and their visuals in this
    // scene's enclosure: they go before the scene's own.
    ReleaseBuffers();
    if (canvas != nullptr)
        canvas->Terminate();
    canvas = nullptr;
    picture = nullptr;
    MMScene::DeleteMolecules();
}

bool MpSlideshowScene::HandleKey(uint32_t keyData)
{
    if (!leaving && gApp != nullptr) {
        leaving = true;
        gApp->ChangeScene(stage_, kSceneGallery, gApp->GetTransition(kTransitionCut));
    }
    return true;
}

void MpSlideshowScene::Leave()
{
    if (!leaving && gApp != nullptr) {
        leaving = true;
        gApp->ChangeScene(stage_, kSceneGallery, gApp->GetTransition(kTransitionBoxOut));
    }
}

void MpSlideshowScene::ReturnToGallery()
{
    Leave();
}

KVXBaseStampManager* MpSlideshowScene::MakeStampManager()
{
    auto* stamps = new KVXBaseStampManager(stampHost);
    stamps->SetCanvasVisual(canvas);
    return stamps;
}

void MpSlideshowScene::ShowPicture(int32_t page)
{
    MpSketchbookList* list = List();
    KVXPlaneComponentTop* plane = Plane();
    SketchbookFile* book = list != nullptr ? list->CurrentBook() : nullptr;
    if (book == nullptr || plane == nullptr || canvas == nullptr)
        return;
    if (backStamps == nullptr)
        backStamps = MakeStampManager();
    backStamps->RemoveAllStamps(false);
    backLoaded = backSlate->Load(*book, page);
    if (backLoaded) {
        // Stamps are placed for the painting screen's canvas: here they
        // stand over the canvas shown at the slideshow's place.
        Pair shift = {kPictureX - CanvasBox.left, kPictureY - CanvasBox.top};
        // A stamp whose picture is gone is told of once a show, not on
        // every page that has one nor on every round of the loop.
        backStamps->SetMissingPictureAlert(!toldMissingPictures);
        CreationStampsFromBlock(backStamps, ShiftedStamps(backSlate->Stamps(), shift));
        toldMissingPictures = toldMissingPictures || backStamps->LastReadMissedPictures();
    }
    // They wait unseen until the page's transition.
    backStamps->HideStampVisuals();
    plane->SetDirtyBox(plane->Bounds());
    plane->SetDirtyFlag(0);
    backPage = page;
}

void MpSlideshowScene::RenderFront()
{
    KVXPlaneComponentTop* plane = Plane();
    if (plane == nullptr || shown == nullptr)
        return;
    shown->FillBox(Box{0, 0, plane->width, plane->height}, MakeMMColorFromRgb(kBlack));
    if (!frontLoaded)
        return;
    // The stamps that stand as visuals over the picture are left out of it.
    KVXStampsBlock still = frontSlate->Stamps();
    still.places[kStampForeground] = KVXStampRecord();
    for (int32_t place = kLayerPlaces; place < kStampPlaces; ++place)
        if (still.places[place].animationTable != -1)
            still.places[place] = KVXStampRecord();
    KVXRecordedStamps drawer(still);
    // The slate drawing plays over the picture on the canvas.
    plane->RenderWithOverlays(shown, &drawer, nullptr, kShownStep, false);
}

void MpSlideshowScene::RestartFrontStamps()
{
    if (frontStamps == nullptr)
        return;
    for (KVXStampBase* stamp : frontStamps->Listed()) {
        if (stamp->AnimationTable() == -1)
            continue;
        stamp->Play(false);
        // A stamp whose animation cannot run keeps its still look.
        if (stamp->Animation() == nullptr)
            stamp->Visual()->SetHidden(false);
    }
    if (KVXStampBase* foreground = frontStamps->Foreground())
        foreground->Play(false);
}

void MpSlideshowScene::PlayFrontSlate()
{
    if (canvas == nullptr || canvas->Slate() == nullptr)
        return;
    canvas->Slate()->ClearAll();
    bool drawn = frontLoaded && frontSlate->HasStrokes();
    if (drawn) {
        CopySlateInto(canvas, frontSlate->Slate(),
                      Pair{kPictureX - CanvasBox.left, kPictureY - CanvasBox.top});
        canvas->StartSlatePlayback();
    }
    canvas->SetHidden(!drawn);
}

void MpSlideshowScene::RunTransition(int16_t transition)
{
    KVXPlaneComponentTop* plane = Plane();
    if (plane != nullptr)
        plane->SetDirtyBox(plane->Bounds());
    // The leaving page's drawing stops with it.
    if (canvas != nullptr)
        canvas->StopSlatePlayback();
    std::swap(frontStamps, backStamps);
    std::swap(frontSlate, backSlate);
    std::swap(frontPage, backPage);
    std::swap(frontLoaded, backLoaded);
    // The page leaving the screen takes its stamps with it.
    if (backStamps != nullptr)
        backStamps->RemoveAllStamps(false);
    RenderFront();
    if (picture != nullptr) {
        picture->SetSurface(shown);
        picture->Invalidate();
    }
    stage_->Invalidate(kStageArea);
    PlayFrontSlate();
    RestartFrontStamps();
    int16_t t = ClampTransitionChoice(transition);
    if (t != 0 && gApp != nullptr)
        stage_->SetNextBlitTransition(gApp->GetTransition(t));
}

int16_t MpSlideshowScene::PageTransition(int32_t page)
{
    MpSketchbookList* list = List();
    return list != nullptr ? list->GetPageTransition(list->CurrentBookIndex(), page) : 0;
}

int16_t MpSlideshowScene::PageMusic(int32_t page)
{
    MpSketchbookList* list = List();
    return list != nullptr ? list->GetPageMusic(list->CurrentBookIndex(), page) : 0;
}

int16_t MpSlideshowScene::PageDelay(int32_t page)
{
    MpSketchbookList* list = List();
    return list != nullptr ? list->GetPageDelay(list->CurrentBookIndex(), page) : 0;
}

void MpSlideshowScene::StopTransitionSound()
{
    if (effect != nullptr)
        effect->Stop();
}

void MpSlideshowScene::PlayTransitionSound(int32_t soundId)
{
    if (effect == nullptr)
        return;
    MMSoundReference sound;
    sound.Load(soundId);
    effect->Play(sound, false);
}

void MpSlideshowScene::StopMusic()
{
    musicId = kNoSound;
    if (music != nullptr)
        music->Stop();
}

void MpSlideshowScene::LoopMusic(int32_t soundId)
{
    musicId = soundId;
    if (music == nullptr)
        return;
    MMSoundReference sound;
    sound.Load(soundId);
    music->Play(sound, true);
}

bool MpSlideshowScene::Looping()
{
    return gApp != nullptr && gApp->IsLoopOn();
}
