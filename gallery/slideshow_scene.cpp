#include "gallery/slideshow_scene.h"

#include <utility>

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
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "media/transition_effect.h"
#include "shell/app.h"

namespace {

constexpr uint32_t kBlack = 0x000000;
const Box kStageArea = {0, 0, 800, 600};

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
    ReleaseSurfaces();
}

MpSketchbookList* MpSlideshowScene::List() const
{
    return gApp != nullptr ? gApp->SketchbookList() : nullptr;
}

KVXPlaneComponent* MpSlideshowScene::Plane() const
{
    return gApp != nullptr ? gApp->CanvasPlane() : nullptr;
}

void MpSlideshowScene::Begin()
{
    leaving = false;
    frontPage = backPage = -1;
    musicId = kNoSound;
    new MMVisualMolecule(this, new MMSolidBoxVisual(kStageArea, MakeMMColorFromRgb(kBlack),
                                                    kBlackLayer));
    KVXPlaneComponent* plane = Plane();
    if (plane != nullptr) {
        Box area = {kPictureX, kPictureY, kPictureX + plane->width, kPictureY + plane->height};
        picture = new SlidePictureVisual(area, kPictureLayer);
        new MMVisualMolecule(this, picture);
        Box canvas = {0, 0, plane->width, plane->height};
        front = MMSurface::CreateBitmapDC(32, canvas, nullptr);
        back = MMSurface::CreateBitmapDC(32, canvas, nullptr);
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
    int32_t pages = book != nullptr && front != nullptr && back != nullptr ? book->PageCount() : 0;
    thread = new MpSlideshowThread(stage_, *this, pages);
    thread->SetPriority(kThreadPriority);
    thread->Activate();
    stage_->Invalidate(kStageArea);
}

void MpSlideshowScene::ReleaseSurfaces()
{
    if (front != nullptr)
        front->Dispose();
    if (back != nullptr)
        back->Dispose();
    front = back = nullptr;
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
    picture = nullptr;
    MMScene::DeleteMolecules();
    ReleaseSurfaces();
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

void MpSlideshowScene::ShowPicture(int32_t page)
{
    MpSketchbookList* list = List();
    KVXPlaneComponent* plane = Plane();
    SketchbookFile* book = list != nullptr ? list->CurrentBook() : nullptr;
    if (book == nullptr || plane == nullptr || back == nullptr)
        return;
    Box canvas = {0, 0, plane->width, plane->height};
    back->FillBox(canvas, MakeMMColorFromRgb(kBlack));
    PagePicture shown(*plane);
    if (shown.Load(*book, page))
        shown.Render(back, kShownStep, false);
    plane->SetDirtyBox(plane->Bounds());
    plane->SetDirtyFlag(0);
    backPage = page;
}

void MpSlideshowScene::RunTransition(int16_t transition)
{
    std::swap(front, back);
    std::swap(frontPage, backPage);
    if (picture != nullptr) {
        picture->SetSurface(front);
        picture->Invalidate();
    }
    stage_->Invalidate(kStageArea);
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
