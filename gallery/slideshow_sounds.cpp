#include "gallery/slideshow_sounds.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Hd items 60 to 74 hold the music (streamed), App items 500 to 513 the
// transition sounds.
constexpr int32_t kMusicCollection = 0x4000;
constexpr int32_t kFirstMusicItem = 60;
constexpr int32_t kFirstTransitionItem = 500;

const char* const kDelayLabels[kDelayChoices] = {"1", "3", "5", "10", "15", "20", "30"};

}  // namespace

int16_t ClampMusicChoice(int32_t music)
{
    return int16_t(std::clamp(music, 0, kMusicChoices - 1));
}

int16_t ClampTransitionChoice(int32_t transition)
{
    return int16_t(std::clamp(transition, 0, kTransitionChoices - 1));
}

int16_t ClampDelayChoice(int32_t delay)
{
    return int16_t(std::clamp(delay, 0, kDelayChoices - 1));
}

int32_t SlideshowMusicSound(int32_t music)
{
    int16_t m = ClampMusicChoice(music);
    if (m == 0)
        return kNoSound;
    return kMusicCollection << 16 | (kFirstMusicItem + m - 1);
}

int32_t SlideshowTransitionSound(int32_t transition)
{
    int16_t t = ClampTransitionChoice(transition);
    if (t == 0)
        return kNoSound;
    return kFirstTransitionItem + t - 1;
}

const char* DelayLabel(int32_t delay)
{
    return kDelayLabels[ClampDelayChoice(delay)];
}

int32_t DelaySeconds(int32_t delay)
{
    return std::atoi(DelayLabel(delay));
}
