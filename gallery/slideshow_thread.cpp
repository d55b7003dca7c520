#include "gallery/slideshow_thread.h"

#include "engine/stage.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"

MpSlideshowThread::MpSlideshowThread(MMStage* stage, SlideshowHost& host, int32_t pageCount)
    : MMLightweightThread("Slideshow", stage), sequence(host, pageCount)
{
}

bool MpSlideshowThread::Run()
{
    return sequence.Step(StageTime());
}

MpSoundWaitThread::MpSoundWaitThread(MMStage* stage, SoundWaitListener& panel, int32_t soundId)
    : MMLightweightThread("Music wait", stage), panel(panel), soundId(soundId)
{
    if (stage != nullptr && stage->SoundManager() != nullptr)
        channel = new MMGenericSoundChannel(stage->SoundManager());
}

MpSoundWaitThread::~MpSoundWaitThread()
{
    delete channel;
}

void MpSoundWaitThread::Cancel()
{
    cancelled = true;
    if (channel != nullptr)
        channel->Stop();
}

bool MpSoundWaitThread::Run()
{
    if (cancelled)
        return false;
    if (!started) {
        started = true;
        if (soundId == -1 || channel == nullptr)
            return false;
        MMSoundReference sound;
        sound.Load(soundId);
        channel->Play(sound, false);
        Wait(kPoll);
        return true;
    }
    if (!channel->IsFinished()) {
        Wait(kPoll);
        return true;
    }
    panel.EndPreview();
    return false;
}
