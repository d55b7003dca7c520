#pragma once
// The sounds of the slideshow, its preview and its movie export: one
// mapping from a page's music choice (0 to 15, 0 silent) and transition
// choice (0 to 14, 0 silent) to a sound resource id, -1 for silence. The
// ids are fixed items of the sound files, kept for these sounds alone.
#include <cstdint>

constexpr int16_t kMusicChoices = 16;
constexpr int16_t kTransitionChoices = 15;
constexpr int16_t kDelayChoices = 7;
constexpr int32_t kNoSound = -1;

// Choices out of range are taken as the nearest one.
int16_t ClampMusicChoice(int32_t music);
int16_t ClampTransitionChoice(int32_t transition);
int16_t ClampDelayChoice(int32_t delay);

int32_t SlideshowMusicSound(int32_t music);
int32_t SlideshowTransitionSound(int32_t transition);
// The delay's label ("1" to "30") and its seconds.
const char* DelayLabel(int32_t delay);
int32_t DelaySeconds(int32_t delay);
