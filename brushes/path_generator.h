#pragma once
// Path generators turn the pen samples of a stroke into the dabs a brush
// paints: one per sample, or walked along the stroke at a spacing, along
// dashes, dots, waves, loops and random angles.
#include <algorithm>
#include <cstdint>

#include "brushes/brush_dab.h"
#include "framework/geometry.h"

class BrushBase;

class PathGeneratorBase {
public:
    PathGeneratorBase() = default;
    virtual ~PathGeneratorBase() = default;
    PathGeneratorBase(const PathGeneratorBase&) = delete;
    PathGeneratorBase& operator=(const PathGeneratorBase&) = delete;

    virtual void Begin(const BrushDab* sample) = 0;
    virtual void Continue(const BrushDab* sample) = 0;
    virtual void End(const BrushDab* sample) = 0;
    // {spacing low, spacing high, size low, size high}.
    virtual void SetParameters(const double p[4]) = 0;
    virtual void SetBrush(BrushBase* newBrush) { brush = newBrush; }
    BrushBase* Brush() const { return brush; }

protected:
    void Dab(const BrushDab& dab);

    BrushBase* brush = nullptr;
};

// One dab per sample.
class SimplePathGenerator : public PathGeneratorBase {
public:
    void Begin(const BrushDab* sample) override { Dab(*sample); }
    void Continue(const BrushDab* sample) override { Dab(*sample); }
    void End(const BrushDab* sample) override { Dab(*sample); }
    void SetParameters(const double*) override {}
};

// The distance the brush engine measures: the table square root of the
// single-precision sum of squares.
double PathDistance(double dx, double dy);

// Dabs at a fixed spacing along the stroke, the remainder carried over.
class IteratingPathGenerator : public PathGeneratorBase {
public:
    IteratingPathGenerator() { Reset(); }

    void Begin(const BrushDab* sample) override;
    void Continue(const BrushDab* sample) override;
    void End(const BrushDab*) override {}
    void SetParameters(const double p[4]) override;

    double Size(int32_t i) const
    {
        return sizeLow + (sizeHigh - sizeLow) * weights[std::clamp(i, 0, kBrushSizes - 1)];
    }
    double Spacing(int32_t i) const;
    void Reset();

    double positionX = 0.0;
    double positionY = 0.0;
    double travelled = 0.0;
    double spacingLow = 0.0;
    double spacingHigh = 0.0;
    double sizeLow = 0.0;
    double sizeHigh = 0.0;
    int32_t sizeIndex = 0;
    double weights[kBrushSizes];

protected:
    // Starts a stroke at the sample without placing a dab.
    void StartAt(const BrushDab& sample);
    // Walks toward the target, placing dabs one spacing apart with the given
    // direction; returns how many were placed.
    int32_t WalkTo(double x, double y, int32_t targetSize, int32_t dx, int32_t dy);
    // Moves the size index toward the target by (f + 0.5) of the difference.
    static int32_t NextSizeIndex(int32_t current, int32_t target, double f);
    // Called for each step of the walk; places the dab unless a variant says
    // otherwise. Returns whether a dab was placed.
    virtual bool WalkDab(const BrushDab& dab);
};

// Dabs carry the direction from the previous sample.
class DirectionalPathGenerator : public IteratingPathGenerator {
public:
    void Begin(const BrushDab* sample) override;
    void Continue(const BrushDab* sample) override;

    Pair previous;
};

// A wave about the stroke: the sample moved sideways, walked to from the
// previous wave point.
class WavePathGenerator : public IteratingPathGenerator {
public:
    void Begin(const BrushDab* sample) override;
    void Continue(const BrushDab* sample) override;

    Pair previousSample;
    Pair previousWave;
    double phase = 0.0;

protected:
    virtual double Offset(double amplitude) const = 0;
    virtual void Advance(double amplitude) = 0;
};

class SquareWavePathGenerator : public WavePathGenerator {
protected:
    double Offset(double amplitude) const override { return (phase >= 0 ? 1 : -1) * amplitude; }
    void Advance(double amplitude) override;
};

class TriangleWavePathGenerator : public WavePathGenerator {
public:
    void Begin(const BrushDab* sample) override;
    bool rising = true;

protected:
    double Offset(double) const override { return phase; }
    void Advance(double amplitude) override;
};

class LoopyPathGenerator : public IteratingPathGenerator {
public:
    void Begin(const BrushDab* sample) override;
    void Continue(const BrushDab* sample) override;

    Pair previousLoop;
    double angle = 0.0;
    double radius = 0.0;
};

class RandomAnglesPathGenerator : public IteratingPathGenerator {
public:
    void Begin(const BrushDab* sample) override;
    void Continue(const BrushDab* sample) override;

    Pair previousJitter;
};

class DashedLinePathGenerator : public IteratingPathGenerator {
public:
    void Begin(const BrushDab* sample) override;
    void Continue(const BrushDab* sample) override;

    double patternDistance = 0.0;
    double dash = 0.0;
    double gap = 0.0;
    Pair previousDab;

protected:
    bool WalkDab(const BrushDab& dab) override;
};

class DottedLinePathGenerator : public IteratingPathGenerator {
public:
    void Begin(const BrushDab* sample) override;
    void Continue(const BrushDab* sample) override;

    double patternDistance = 0.0;
    double dotGap = 0.0;
    Pair previousDab;

protected:
    bool WalkDab(const BrushDab& dab) override;
};

// The generator of a line-style kind 0 to 6 (dashed, triangle, square,
// plain, dotted, loopy, random angles); null for any other kind.
IteratingPathGenerator* MakeLineStyleGenerator(int32_t kind);
