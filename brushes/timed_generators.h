#pragma once
// Generators that keep painting while the pen rests (lightweight threads the
// stage steps every few milliseconds), and the grid of the picture tubes.
#include <cstdint>

#include "brushes/path_generator.h"
#include "engine/engine_thread.h"

class MMStage;

// Fine spray: the walk, and one dab within a pixel of a resting pen every
// 10 ms.
class ContinuousPathGenerator : public IteratingPathGenerator, public MMLightweightThread {
public:
    explicit ContinuousPathGenerator(MMStage* stage,
                                     const char* name = "ContinuousPathGenerator thread");
    void Begin(const BrushDab* sample) override;
    void Continue(const BrushDab* sample) override;
    void End(const BrushDab*) override { penDown = false; }
    bool Run() override;
    // Walks toward the target; true when a dab was placed.
    virtual bool Step(const BrushDab& target);

    BrushDab lastSample;
    bool penDown = false;

protected:
    void KeepSample(const BrushDab& sample);
    virtual void RestingStep();
};

// Spatter: drops thrown inside a disc around the walk, also while resting.
class SpatterPathGenerator : public ContinuousPathGenerator {
public:
    explicit SpatterPathGenerator(MMStage* stage);
    void Begin(const BrushDab* sample) override;
    bool Step(const BrushDab& target) override;

protected:
    void RestingStep() override;

private:
    void Throw(int32_t targetSize, double f);
};

// The electric toothbrush: a circling point about the last sample, walked
// to every 2 ms.
class ContinuousSquigglyPathGenerator : public IteratingPathGenerator, public MMLightweightThread {
public:
    explicit ContinuousSquigglyPathGenerator(MMStage* stage);
    void Begin(const BrushDab* sample) override;
    void Continue(const BrushDab* sample) override;
    void End(const BrushDab*) override { penDown = false; }
    bool Run() override;
    void SquiggleStep(const BrushDab& sample);

    BrushDab lastSample;
    int16_t counter = 0;
    bool penDown = false;
    Pair previousSquiggle = {0, 0};
    double radius = 0.0;
};

// Sine and cosine of i / 2 radians, i = 0 to 720, for every squiggle.
void BuildSineCosineTables();
extern double SquiggleSine[721];
extern double SquiggleCosine[721];

// One dab per grid cell the pen leaves, at the cell's centre, pointing to
// the cell entered.
class GriddedPathGenerator : public PathGeneratorBase {
public:
    void Begin(const BrushDab* sample) override;
    void Continue(const BrushDab* sample) override;
    void End(const BrushDab* sample) override;
    void SetParameters(const double p[4]) override;

    double first = 0.0;
    double second = 0.0;
    double cellSize = 0.0;
    double third = 0.0;
    double fourth = 0.0;
    Box cell = {0, 0, 0, 0};

private:
    // The direction of the first edge test the point fails, and where the
    // cell moves for it; false when none fails.
    bool LeaveDirection(double x, double y, Pair& direction, Pair& move) const;
};
