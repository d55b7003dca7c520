#include "canvas/siren_handler.h"

#include "canvas/canvas_visual.h"
#include "engine/animation_molecule.h"
#include "engine/command.h"
#include "engine/scene.h"
#include "framework/random.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"

namespace {

constexpr int16_t kSirenLayerOffset = 98;

// The animations of two sirens, one pair chosen at random.
const int32_t kPairs[6][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}};

// The sound for n sirens: none for one, the siren sound from two on.
MMResourceId SoundFor(int32_t n) { return n == 1 ? MM_NO_RESOURCE : 0; }

}  // namespace

KVXSirenHandler::KVXSirenHandler(MMBaseScene* scene, KVXCanvasVisual* canvas,
                                 MMSoundManager* manager)
    : scene(scene), canvas(canvas)
{
    if (manager != nullptr)
        channel = new (gDefaultHeap) MMGenericSoundChannel(manager);
}

KVXSirenHandler::~KVXSirenHandler()
{
    for (MMAnimationMolecule*& animation : animations) {
        delete animation;
        animation = nullptr;
    }
    if (channel != nullptr) {
        if (channel->IsActive())
            channel->Stop();
        delete channel;
    }
}

void KVXSirenHandler::StopSirenSound()
{
    if (channel == nullptr)
        return;
    if (channel->IsActive())
        channel->Stop();
    MMSoundReference none;
    none.Load(MM_NO_RESOURCE);
    channel->Play(none, false);
}

void KVXSirenHandler::StartSirenAnimation(int32_t k)
{
    if (k < 1 || k > 3)
        k = 0;
    if (animations[k] == nullptr) {
        if (scene == nullptr)
            return;
        animations[k] = new (gDefaultHeap) MMAnimationMolecule(scene, MM_NO_RESOURCE, 1, nullptr);
        animations[k]->SetLayerOffset(kSirenLayerOffset);
    }
    animations[k]->Run(1);
    lastStarted = animations[k];
}

void KVXSirenHandler::Start()
{
    const Box& drawn = canvas->DrawnBox();
    if (drawn.IsEmpty()) {
        StopSirenSound();
        return;
    }
    const KVXPlaneComponentTop* plane = canvas->Plane();
    int64_t quarter = int64_t(plane->width) * plane->height / 4;
    int64_t area = int64_t(drawn.bottom - drawn.top) * (drawn.right - drawn.left);
    int32_t n = area > 3 * quarter ? 4 : area > 2 * quarter ? 3 : area > quarter ? 2 : 1;
    UURandom& random = ProgramRandom();
    if (n == 1) {
        StartSirenAnimation(random.Range(0, 3));
    } else if (n == 2) {
        const int32_t* pair = kPairs[random.Range(0, 5)];
        StartSirenAnimation(pair[0]);
        StartSirenAnimation(pair[1]);
    } else if (n == 3) {
        int32_t left = random.Range(0, 3);
        for (int32_t k = 0; k < 4; ++k)
            if (k != left)
                StartSirenAnimation(k);
    } else {
        for (int32_t k = 0; k < 4; ++k)
            StartSirenAnimation(k);
    }
    if (lastStarted != nullptr && scene != nullptr)
        lastStarted->SetDoneCommand(new (gDefaultHeap) MMClassCommand<KVXSirenHandler>(
            "Handle Siren Done", scene->Stage(), this, &KVXSirenHandler::HandleSirenDone));
    if (channel == nullptr)
        return;
    if (channel->IsActive())
        channel->Stop();
    MMSoundReference sound;
    sound.Load(SoundFor(n));
    channel->Play(sound, false);
}

void KVXSirenHandler::HandleSirenDone()
{
    if (lastStarted != nullptr)
        lastStarted->SetDoneCommand(nullptr);
    canvas->SwapWithUndo();
}
