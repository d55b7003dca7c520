#pragma once
// The slideshow's steps, one per scheduler pass: the next picture is
// prepared behind the shown one, its transition runs when the shown one's
// time is up (with 2500 ms for the transition's sound unless it is a plain
// redraw), and its music starts unless the same music already plays. After
// the last picture's delay the show loops or returns to the gallery.
#include <cstdint>

// What the slideshow's steps ask of the scene; tests record it.
class SlideshowHost {
public:
    virtual ~SlideshowHost() = default;
    virtual void ShowPicture(int32_t page) = 0;
    virtual void RunTransition(int16_t transition) = 0;
    virtual int16_t PageTransition(int32_t page) = 0;
    virtual int16_t PageMusic(int32_t page) = 0;
    virtual int16_t PageDelay(int32_t page) = 0;
    virtual void StopTransitionSound() = 0;
    virtual void PlayTransitionSound(int32_t soundId) = 0;
    virtual void StopMusic() = 0;
    virtual void LoopMusic(int32_t soundId) = 0;
    virtual bool Looping() = 0;
    virtual void ReturnToGallery() = 0;
};

class SlideshowSequence {
public:
    static constexpr int32_t kTransitionPause = 2500;

    SlideshowSequence(SlideshowHost& host, int32_t pageCount);

    // One step at `now` (ms); false once the show has ended.
    bool Step(int32_t now);

    int32_t Page() const { return page; }
    int32_t State() const { return state; }
    int32_t Due() const { return due; }
    int32_t MusicPlaying() const { return music; }

private:
    SlideshowHost& host;
    int32_t pageCount;
    int32_t page = 0;
    int32_t state = 0;  // 0 not started; 1 prepare, 2 wait, 6 transition, 3 settle
    int32_t due = 0;
    int32_t music = -1;
    bool ended = false;
};
