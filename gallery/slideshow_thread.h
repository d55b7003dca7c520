#pragma once
// The lightweight threads of the slideshow: "Slideshow" steps the show once
// a scheduler pass on the stage's clock, and "Music wait" plays a music
// preview once and tells the panel when it has ended.
#include <cstdint>

#include "engine/engine_thread.h"
#include "gallery/slideshow_sequence.h"

class MMGenericSoundChannel;

class MpSlideshowThread : public MMLightweightThread {
public:
    MpSlideshowThread(MMStage* stage, SlideshowHost& host, int32_t pageCount);
    bool Run() override;
    const SlideshowSequence& Sequence() const { return sequence; }

private:
    SlideshowSequence sequence;
};

class SoundWaitListener {
public:
    virtual ~SoundWaitListener() = default;
    virtual void EndPreview() = 0;
};

class MpSoundWaitThread : public MMLightweightThread {
public:
    static constexpr int32_t kPoll = 20;

    // Plays `soundId` (nothing for -1) on a channel of its own.
    MpSoundWaitThread(MMStage* stage, SoundWaitListener& panel, int32_t soundId);
    ~MpSoundWaitThread() override;
    bool Run() override;
    // Stops the sound; the thread then ends without telling the panel.
    void Cancel();

private:
    SoundWaitListener& panel;
    MMGenericSoundChannel* channel = nullptr;
    int32_t soundId;
    bool started = false;
    bool cancelled = false;
};
