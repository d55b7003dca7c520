#pragma once
// The rainbow marker: the standard brush painting with a running colour of
// its own whose hue moves on by 0.05 after every dab.
#include <cstring>

#include "brushes/hsv.h"
#include "brushes/std_brush.h"

template <class CT, class PT, class HT, class CG, class OG>
class KVXBrushRainbow : public KVXBrushStdTransfer<CT, PT, HT, CG, OG> {
    typedef KVXBrushStdTransfer<CT, PT, HT, CG, OG> Base;

public:
    KVXBrushRainbow(const double params[4], const uint8_t ramp[4], const double opacityNumbers[4],
                    const uint8_t heights[2], KVXPlaneComponent* plane,
                    const KVXBitmap<uint8_t>* nibMaster, const KVXBitmap<uint8_t>* texture,
                    const uint8_t* toolColour)
        : Base(params, ramp, opacityNumbers, heights, plane, nibMaster, texture, toolColour),
          toolColour(toolColour)
    {
        std::memcpy(running, toolColour, 4);
        this->colors.SetColorRecord(running);
    }

    void BeginStroke(const BrushDab* sample) override
    {
        std::memcpy(running, toolColour, 4);
        Base::BeginStroke(sample);
    }
    void Dab(const BrushDab* dab) override
    {
        Base::Dab(dab);
        StepHue();
    }
    void StepHue()
    {
        double hue;
        double saturation;
        double value;
        RgbToHsv(running, &hue, &saturation, &value);
        hue += 0.05;
        if (hue > 1.0)
            hue = 1.0;
        HsvToRgb(&hue, &saturation, &value, running);
    }

    uint8_t running[4];
    const uint8_t* toolColour;
};
