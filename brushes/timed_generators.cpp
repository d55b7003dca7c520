#include "brushes/timed_generators.h"

#include <algorithm>
#include <cmath>

#include "framework/random.h"

double SquiggleSine[721];
double SquiggleCosine[721];

void BuildSineCosineTables()
{
    for (int i = 0; i <= 720; ++i) {
        SquiggleSine[i] = std::sin(i * 0.5);
        SquiggleCosine[i] = std::cos(i * 0.5);
    }
}

ContinuousPathGenerator::ContinuousPathGenerator(MMStage* stage, const char* name)
    : MMLightweightThread(name, stage)
{
    lastSample.Set(0, 0, 0, 0, 0);
    Activate();
}

void ContinuousPathGenerator::KeepSample(const BrushDab& sample)
{
    lastSample.x = sample.x;
    lastSample.y = sample.y;
    lastSample.sizeIndex = sample.sizeIndex;
}

void ContinuousPathGenerator::Begin(const BrushDab* sample)
{
    KeepSample(*sample);
    if (!penDown)
        IteratingPathGenerator::Begin(sample);
    penDown = true;
}

void ContinuousPathGenerator::Continue(const BrushDab* sample)
{
    KeepSample(*sample);
    Step(lastSample);
}

bool ContinuousPathGenerator::Step(const BrushDab& target)
{
    return WalkTo(target.x, target.y, target.sizeIndex, 0, 0) > 0;
}

void ContinuousPathGenerator::RestingStep()
{
    if (Step(lastSample))
        return;
    int32_t ox = ProgramRandom().Range(-1, 1);
    int32_t oy = ProgramRandom().Range(-1, 1);
    BrushDab dab;
    dab.Set(lastSample.x + ox, lastSample.y + oy, lastSample.sizeIndex, lastSample.dx,
            lastSample.dy);
    Dab(dab);
}

bool ContinuousPathGenerator::Run()
{
    switch (State()) {
    case kMMThreadTerminating:
        return false;
    case kMMThreadActivated:
        Wait(0);
        return true;
    case kMMThreadRunning:
        if (penDown)
            RestingStep();
        Wait(10);
        return true;
    default:
        return true;
    }
}

SpatterPathGenerator::SpatterPathGenerator(MMStage* stage)
    : ContinuousPathGenerator(stage, "SpatterPathGenerator thread")
{
}

void SpatterPathGenerator::Begin(const BrushDab* sample)
{
    KeepSample(*sample);
    if (!penDown)
        IteratingPathGenerator::Begin(sample);
    if (brush != nullptr)
        penDown = true;
}

void SpatterPathGenerator::RestingStep() { Step(lastSample); }

void SpatterPathGenerator::Throw(int32_t targetSize, double f)
{
    // A negative size would never let a drop inside the disc.
    double r = std::max(0.0, sizeHigh * 0.5);
    int32_t n = int32_t(sizeHigh);
    double ox;
    double oy;
    do {
        ox = ProgramRandom().Range(0, n) - r;
        oy = ProgramRandom().Range(0, n) - r;
    } while (PathDistance(int16_t(int32_t(ox)), int16_t(int32_t(oy))) > r);
    sizeIndex = NextSizeIndex(sizeIndex, targetSize, f);
    int32_t drop = sizeIndex + ProgramRandom().Range(sizeIndex - 5, sizeIndex + 5);
    drop = std::clamp(drop, 0, kBrushSizes - 1);
    BrushDab dab;
    dab.Set(positionX + ox, positionY + oy, drop, 0, 0);
    Dab(dab);
}

bool SpatterPathGenerator::Step(const BrushDab& target)
{
    travelled += PathDistance(target.x - positionX, target.y - positionY);
    double step = Spacing(sizeIndex);
    if (travelled <= step) {
        // No room for a step: a drop is thrown where the walk stands.
        Throw(target.sizeIndex, travelled);
        return true;
    }
    while (travelled > step) {
        double f = step / travelled;
        travelled -= step;
        positionX += f * (target.x - positionX);
        positionY += f * (target.y - positionY);
        Throw(target.sizeIndex, f);
        step = Spacing(sizeIndex);
    }
    return true;
}

ContinuousSquigglyPathGenerator::ContinuousSquigglyPathGenerator(MMStage* stage)
    : MMLightweightThread("ContinuousSquigglyPathGenerator thread", stage)
{
    lastSample.Set(0, 0, 0, 0, 0);
    Activate();
}

void ContinuousSquigglyPathGenerator::Begin(const BrushDab* sample)
{
    lastSample.x = sample->x;
    lastSample.y = sample->y;
    lastSample.sizeIndex = sample->sizeIndex;
    if (!penDown) {
        StartAt(*sample);
        previousSquiggle = {int32_t(sample->x), int32_t(sample->y)};
        counter = 0;
    }
    if (brush != nullptr)
        penDown = true;
}

void ContinuousSquigglyPathGenerator::Continue(const BrushDab* sample)
{
    lastSample.x = sample->x;
    lastSample.y = sample->y;
    lastSample.sizeIndex = sample->sizeIndex;
}

void ContinuousSquigglyPathGenerator::SquiggleStep(const BrushDab& sample)
{
    radius = Size(sizeIndex) / 3;
    counter = int16_t(counter + 1);
    if (counter >= 720)
        counter = 0;
    double qx = sample.x + SquiggleSine[counter] * radius;
    double qy = sample.y + SquiggleCosine[counter] * radius;
    WalkTo(qx, qy, sample.sizeIndex, int32_t(qx - previousSquiggle.x),
           int32_t(qy - previousSquiggle.y));
    previousSquiggle = {int32_t(qx), int32_t(qy)};
}

bool ContinuousSquigglyPathGenerator::Run()
{
    switch (State()) {
    case kMMThreadTerminating:
        return false;
    case kMMThreadActivated:
        Wait(0);
        return true;
    case kMMThreadRunning:
        if (penDown)
            SquiggleStep(lastSample);
        Wait(2);
        return true;
    default:
        return true;
    }
}

void GriddedPathGenerator::SetParameters(const double p[4])
{
    first = p[0] * 255;
    cellSize = p[1] * 255;
    third = p[2];
    fourth = p[3];
    int32_t low = int32_t(-cellSize * 0.5);
    int32_t high = int32_t(cellSize * 0.5);
    cell = {low, low, high, high};
}

void GriddedPathGenerator::Begin(const BrushDab* sample)
{
    int32_t x = int32_t(sample->x);
    int32_t y = int32_t(sample->y);
    int32_t low = int32_t(-cellSize * 0.5);
    int32_t high = int32_t(cellSize * 0.5);
    cell = {x + low, y + low, x + high, y + high};
}

bool GriddedPathGenerator::LeaveDirection(double x, double y, Pair& direction, Pair& move) const
{
    int32_t back = int32_t(-cellSize);
    int32_t ahead = int32_t(cellSize);
    if (cell.top >= y) {
        direction = {0, -1};
        move = {0, back};
    } else if (cell.bottom <= y) {
        direction = {0, 1};
        move = {0, ahead};
    } else if (cell.left >= x) {
        direction = {-1, 0};
        move = {back, 0};
    } else if (cell.right <= x) {
        direction = {1, 0};
        move = {ahead, 0};
    } else {
        return false;
    }
    return true;
}

void GriddedPathGenerator::Continue(const BrushDab* sample)
{
    if (cell.Contains(Pair{int32_t(sample->x), int32_t(sample->y)}))
        return;
    Pair centre = cell.Center();
    BrushDab dab;
    dab.Set(centre.x, centre.y, sample->sizeIndex, sample->dx, sample->dy);
    Pair direction;
    Pair move;
    if (LeaveDirection(sample->x, sample->y, direction, move)) {
        dab.dx = direction.x;
        dab.dy = direction.y;
        cell.Offset(move);
    }
    Dab(dab);
}

void GriddedPathGenerator::End(const BrushDab* sample)
{
    Pair centre = cell.Center();
    BrushDab dab;
    dab.Set(centre.x, centre.y, sample->sizeIndex, sample->dx, sample->dy);
    Pair direction;
    Pair move;
    if (LeaveDirection(sample->x, sample->y, direction, move)) {
        dab.dx = direction.x;
        dab.dy = direction.y;
    }
    Dab(dab);
}
