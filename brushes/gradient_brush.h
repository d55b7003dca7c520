#pragma once
// Gradient fills: the press finds the region and shows it as a black
// checkerboard, the release paints it from the tool's colour to the second
// colour, in straight sweeps across the drag (linear) or in rings about the
// press point (radial). The gradient is drawn as grey levels into the
// canvas visual's work surface and read back as the second colour's weight.
#include <cstdint>

#include "brushes/flood_brush.h"

class MMSurface;

class KVXBrushlinearGradientFlood : public KVXBrushFlood {
public:
    KVXBrushlinearGradientFlood(const double params[4], const uint8_t ramp[4],
                                const double opacityNumbers[4], const uint8_t heights[2],
                                KVXPlaneComponent* plane, const KVXBitmap<uint8_t>* nibMaster,
                                const KVXBitmap<uint8_t>* texture, const uint8_t* colour,
                                KVXCanvasVisual* canvasVisual, const int16_t* mode,
                                const int16_t* heightValue, const uint8_t* secondColour);

    void BeginStroke(const BrushDab* sample) override;
    void ContinueStroke(const BrushDab*) override {}
    void EndStroke(const BrushDab* sample) override;
    void Dab(const BrushDab* sample) override;
    void ApplyFill(const Box& box) override;
    // A press that will see no release ends as a release at the press point.
    void Cancel();

    bool HasRegion() const { return hasRegion; }
    Pair PressPoint() const { return pressPoint; }

protected:
    // Draws the grey levels of the box on the locked work surface.
    virtual void DrawLevels(MMSurface* surface, const Box& box);
    // Colours every marked pixel of the box by the red byte of the surface.
    void ColorFromLevels(const KVXBitmap<uint32_t>& levels, const Box& box);

    bool firstCall = false;
    bool hasRegion = false;
    const uint8_t* secondColour;
    Pair pressPoint = {0, 0};
    Pair releasePoint = {0, 0};
    Box region = {0, 0, 0, 0};
};

class KVXBrushRadialGradientFlood : public KVXBrushlinearGradientFlood {
public:
    using KVXBrushlinearGradientFlood::KVXBrushlinearGradientFlood;

protected:
    void DrawLevels(MMSurface* surface, const Box& box) override;
};
