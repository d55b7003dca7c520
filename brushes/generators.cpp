#include "brushes/generators.h"

#include <algorithm>
#include <cstring>

#include "brushes/hsv.h"
#include "canvas/component_pixel.h"
#include "framework/random.h"

KVXColorGeneratorBase::KVXColorGeneratorBase(const uint8_t ramp[4], const uint8_t* colour)
    : colour(colour)
{
    BuildRamp(ramp);
}

void KVXColorGeneratorBase::BuildRamp(const uint8_t r[4])
{
    int32_t d1 = std::max(0, (r[0] - r[1]) / 19);
    int32_t d2 = std::max(0, (r[2] - r[3]) / 19);
    for (int32_t i = 0; i < kBrushSizes; ++i) {
        ramp1[i] = uint8_t(r[1] + i * d1);
        ramp2[i] = uint8_t(r[3] + i * d2);
    }
}

void KVXColorGeneratorBase::StartSaturation(const uint8_t* c, const uint8_t* pixel, int32_t s)
{
    weight = ramp1[s];
    MixColor(pending, c, pixel, weight);
    pending[3] = 0;
    StepSaturation(c, pixel, 19);
}

void KVXColorGeneratorBase::StepSaturation(const uint8_t* c, const uint8_t* pixel, int32_t s)
{
    std::memcpy(current, pending, 4);
    uint8_t t1[3];
    uint8_t t2[3];
    MixColor(t1, c, current, weight);
    uint8_t b = ramp2[s];
    MixColor(t2, current, pixel, b);
    MixColor(pending, t1, t2, b);
    pending[3] = 0;
    weight = BlendTable[weight][ramp1[s]];
}

void KVXColorGeneratorColor::CopyColor() { std::memcpy(current, colour, 4); }

void KVXColorGeneratorOffsetSaturation::ShiftedColor(uint8_t* out) const
{
    for (int i = 0; i < 3; ++i)
        out[i] = uint8_t(std::clamp(colour[i] + offset, 0, 255));
    out[3] = colour[3];
}

void KVXColorGeneratorOffsetSaturation::Start(const uint8_t* pixel, int32_t s)
{
    offset = int16_t(ProgramRandom().Range(0, 2 * spread) - spread);
    uint8_t shifted[4];
    ShiftedColor(shifted);
    StartSaturation(shifted, pixel, s);
}

void KVXColorGeneratorOffsetSaturation::Step(const uint8_t* pixel, int32_t s)
{
    uint8_t shifted[4];
    ShiftedColor(shifted);
    StepSaturation(shifted, pixel, s);
}

KVXOpacityGeneratorBase::KVXOpacityGeneratorBase(const double q[4]) { BuildRamp(q); }

void KVXOpacityGeneratorBase::BuildRamp(const double q[4])
{
    for (int32_t i = 0; i < kBrushSizes; ++i) {
        textureRamp[i] = uint8_t(int32_t(q[2] + (q[0] - q[2]) * i * 0.05263157894736842));
        opacityRamp[i] = uint8_t(int32_t(q[3] + (q[1] - q[3]) * i * 0.05263157894736842));
    }
}

void KVXColorCycleColorGenerator::Start(const uint8_t*, int32_t)
{
    cycle = 0;
    Paint();
}

void KVXColorCycleColorGenerator::Step(const uint8_t*, int32_t)
{
    cycle = (cycle + 1) % kSteps;
    Paint();
}

void KVXColorCycleColorGenerator::Paint()
{
    double hue = 0;
    double saturation = 1;
    double value = 1;
    if (colour != nullptr) {
        double s = 0;
        double v = 0;
        RgbToHsv(colour, &hue, &s, &v);
    }
    hue += double(cycle) / kSteps;
    if (hue >= 1)
        hue -= 1;
    HsvToRgb(&hue, &saturation, &value, current);
    current[3] = kPixelColorCycle;
}
