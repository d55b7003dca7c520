#include "stamps/stamp_scale_sound.h"

#include <cmath>

#include "stamps/stamp_scaling.h"

void KVXScaleSoundPitch::Start(const Pair& position, int32_t naturalWidth)
{
    pivot = {position.x + naturalWidth, position.y};
    startDistance = int32_t(std::hypot(double(pivot.x), double(pivot.y)));
}

int32_t KVXScaleSoundPitch::FrequencyFor(const Box& stampBox) const
{
    double d = std::hypot(double(stampBox.right - pivot.x), double(stampBox.top - pivot.y));
    return ScaleSoundFrequency(int16_t(int32_t(d)), startDistance);
}
