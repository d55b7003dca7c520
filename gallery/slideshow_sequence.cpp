#include "gallery/slideshow_sequence.h"

#include "gallery/slideshow_sounds.h"

SlideshowSequence::SlideshowSequence(SlideshowHost& host, int32_t pageCount)
    : host(host), pageCount(pageCount)
{
}

bool SlideshowSequence::Step(int32_t now)
{
    if (ended)
        return false;
    if (state == 0) {
        music = kNoSound;
        state = 1;
        due = 0;
    }
    if (page >= pageCount) {
        if (now < due)
            return true;
        if (pageCount > 0 && host.Looping()) {
            page = 0;
            return true;
        }
        ended = true;
        host.ReturnToGallery();
        return false;
    }
    switch (state) {
    case 1:
        host.ShowPicture(page);
        state = 2;
        break;
    case 2:
        if (now >= due)
            state = 6;
        break;
    case 6: {
        int16_t transition = ClampTransitionChoice(host.PageTransition(page));
        int32_t pageMusic = SlideshowMusicSound(host.PageMusic(page));
        host.StopTransitionSound();
        if (music != kNoSound && pageMusic != music) {
            host.StopMusic();
            music = kNoSound;
        }
        int32_t sound = SlideshowTransitionSound(transition);
        if (sound != kNoSound)
            host.PlayTransitionSound(sound);
        due = transition != 0 ? now + kTransitionPause : now;
        state = 3;
        host.RunTransition(transition);
        break;
    }
    case 3:
        if (now < due)
            break;
        {
            int32_t delay = DelaySeconds(host.PageDelay(page));
            int32_t pageMusic = SlideshowMusicSound(host.PageMusic(page));
            if (pageMusic != music) {
                music = pageMusic;
                if (music != kNoSound)
                    host.LoopMusic(music);
            }
            ++page;
            state = 1;
            due = now + delay * 1000;
        }
        break;
    }
    return true;
}
