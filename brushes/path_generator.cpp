#include "brushes/path_generator.h"

#include <algorithm>
#include <cmath>

#include "brushes/brush_base.h"
#include "framework/heap.h"
#include "framework/random.h"

namespace {

Pair Truncated(double x, double y) { return {int32_t(x), int32_t(y)}; }

}  // namespace

void PathGeneratorBase::Dab(const BrushDab& dab)
{
    if (brush != nullptr)
        brush->Dab(&dab);
}

double PathDistance(double dx, double dy) { return FastSqrt(float(dx * dx + dy * dy)); }

void IteratingPathGenerator::Reset()
{
    for (double& w : weights)
        w = 0.0;
}

void IteratingPathGenerator::SetParameters(const double p[4])
{
    spacingLow = p[0];
    spacingHigh = p[1];
    sizeLow = p[2];
    sizeHigh = p[3];
}

double IteratingPathGenerator::Spacing(int32_t i) const
{
    double w = weights[std::clamp(i, 0, kBrushSizes - 1)];
    double size = sizeLow + (sizeHigh - sizeLow) * w;
    return std::max(0.1, (spacingLow + (spacingHigh - spacingLow) * w) * size);
}

void IteratingPathGenerator::StartAt(const BrushDab& sample)
{
    positionX = sample.x;
    positionY = sample.y;
    sizeIndex = sample.sizeIndex;
    travelled = 0.0;
}

void IteratingPathGenerator::Begin(const BrushDab* sample)
{
    StartAt(*sample);
    Dab(*sample);
}

void IteratingPathGenerator::Continue(const BrushDab* sample)
{
    WalkTo(sample->x, sample->y, sample->sizeIndex, 0, 0);
}

int32_t IteratingPathGenerator::NextSizeIndex(int32_t current, int32_t target, double f)
{
    int32_t next = current + int16_t(int32_t((f + 0.5) * (target - current)));
    return std::clamp(next, 0, kBrushSizes - 1);
}

bool IteratingPathGenerator::WalkDab(const BrushDab& dab)
{
    Dab(dab);
    return true;
}

int32_t IteratingPathGenerator::WalkTo(double x, double y, int32_t targetSize, int32_t dx,
                                       int32_t dy)
{
    int32_t placed = 0;
    travelled += PathDistance(x - positionX, y - positionY);
    double step = Spacing(sizeIndex);
    while (travelled > step) {
        double f = travelled == 0.0 ? 0.0 : step / travelled;
        travelled -= step;
        positionX += f * (x - positionX);
        positionY += f * (y - positionY);
        sizeIndex = NextSizeIndex(sizeIndex, targetSize, f);
        BrushDab dab;
        dab.Set(positionX, positionY, sizeIndex, dx, dy);
        placed += WalkDab(dab) ? 1 : 0;
        step = Spacing(sizeIndex);
    }
    return placed;
}

void DirectionalPathGenerator::Begin(const BrushDab* sample)
{
    previous = Truncated(sample->x, sample->y);
    IteratingPathGenerator::Begin(sample);
}

void DirectionalPathGenerator::Continue(const BrushDab* sample)
{
    int32_t dx = int32_t(sample->x - previous.x);
    int32_t dy = int32_t(sample->y - previous.y);
    WalkTo(sample->x, sample->y, sample->sizeIndex, dx, dy);
    previous = Truncated(sample->x, sample->y);
}

void WavePathGenerator::Begin(const BrushDab* sample)
{
    StartAt(*sample);
    previousSample = previousWave = Truncated(sample->x, sample->y);
    phase = 0.0;
}

void WavePathGenerator::Continue(const BrushDab* sample)
{
    double amplitude = Size(std::clamp(sizeIndex, 0, kBrushSizes - 1)) / 3;
    double offset = Offset(amplitude);
    double ux = -int32_t(sample->x - previousSample.x);
    double uy = int32_t(sample->y - previousSample.y);
    double length = PathDistance(ux, uy);
    if (length != 0.0) {
        ux /= length;
        uy /= length;
    }
    double wx = sample->x + uy * offset;
    double wy = sample->y + ux * offset;
    WalkTo(wx, wy, sample->sizeIndex, int32_t(wx - previousWave.x), int32_t(wy - previousWave.y));
    previousWave = Truncated(wx, wy);
    Advance(amplitude);
    previousSample = Truncated(sample->x, sample->y);
}

void SquareWavePathGenerator::Advance(double)
{
    phase += 4;
    if (phase > 20)
        phase = -20;
}

void TriangleWavePathGenerator::Begin(const BrushDab* sample)
{
    WavePathGenerator::Begin(sample);
    rising = true;
}

void TriangleWavePathGenerator::Advance(double amplitude)
{
    if (rising) {
        phase += 10;
        if (phase > amplitude)
            rising = false;
    } else {
        phase -= 10;
        if (phase < -amplitude)
            rising = true;
    }
}

void LoopyPathGenerator::Begin(const BrushDab* sample)
{
    StartAt(*sample);
    previousLoop = Truncated(sample->x, sample->y);
    angle = 0.0;
}

void LoopyPathGenerator::Continue(const BrushDab* sample)
{
    radius = Size(std::clamp(sizeIndex, 0, kBrushSizes - 1)) * 0.5;
    angle += 1;
    if (angle >= 720)
        angle = 0;
    double lx = sample->x + radius * std::sin(angle);
    double ly = sample->y + radius * std::cos(angle);
    WalkTo(lx, ly, sample->sizeIndex, int32_t(lx - previousLoop.x), int32_t(ly - previousLoop.y));
    previousLoop = Truncated(lx, ly);
}

void RandomAnglesPathGenerator::Begin(const BrushDab* sample)
{
    StartAt(*sample);
    previousJitter = Truncated(sample->x, sample->y);
}

void RandomAnglesPathGenerator::Continue(const BrushDab* sample)
{
    double s = Size(std::clamp(sizeIndex, 0, kBrushSizes - 1));
    double h = s * 0.5;
    int32_t n = int32_t(s);
    double ox = ProgramRandom().Range(0, n) - h;
    double oy = ProgramRandom().Range(0, n) - h;
    double jx = sample->x + ox;
    double jy = sample->y + oy;
    WalkTo(jx, jy, sample->sizeIndex, int32_t(jx - previousJitter.x),
           int32_t(jy - previousJitter.y));
    previousJitter = Truncated(jx, jy);
}

void DashedLinePathGenerator::Begin(const BrushDab* sample)
{
    StartAt(*sample);
    double a = std::max(Spacing(19), 1.0);
    dash = 10 * a;
    gap = 1.25 * dash;
    patternDistance = 0.0;
    previousDab = Truncated(sample->x, sample->y);
}

void DashedLinePathGenerator::Continue(const BrushDab* sample)
{
    WalkTo(sample->x, sample->y, sample->sizeIndex, 0, 0);
}

bool DashedLinePathGenerator::WalkDab(const BrushDab& dab)
{
    bool placed = patternDistance < dash;
    if (placed)
        Dab(dab);
    if (dash + gap < patternDistance)
        patternDistance = 0.0;
    patternDistance += PathDistance(positionX - previousDab.x, positionY - previousDab.y);
    previousDab = Truncated(positionX, positionY);
    return placed;
}

void DottedLinePathGenerator::Begin(const BrushDab* sample)
{
    StartAt(*sample);
    double a = std::max(Spacing(19), 1.0);
    dotGap = 3 * a;
    patternDistance = 0.0;
    previousDab = Truncated(sample->x, sample->y);
}

void DottedLinePathGenerator::Continue(const BrushDab* sample)
{
    WalkTo(sample->x, sample->y, sample->sizeIndex, 0, 0);
}

bool DottedLinePathGenerator::WalkDab(const BrushDab& dab)
{
    bool placed = patternDistance > dotGap;
    if (placed) {
        Dab(dab);
        patternDistance = 0.0;
    } else {
        patternDistance += PathDistance(positionX - previousDab.x, positionY - previousDab.y);
    }
    previousDab = Truncated(positionX, positionY);
    return placed;
}

IteratingPathGenerator* MakeLineStyleGenerator(int32_t kind)
{
    switch (kind) {
    case 0: return new (gDefaultHeap) DashedLinePathGenerator;
    case 1: return new (gDefaultHeap) TriangleWavePathGenerator;
    case 2: return new (gDefaultHeap) SquareWavePathGenerator;
    case 3: return new (gDefaultHeap) IteratingPathGenerator;
    case 4: return new (gDefaultHeap) DottedLinePathGenerator;
    case 5: return new (gDefaultHeap) LoopyPathGenerator;
    case 6: return new (gDefaultHeap) RandomAnglesPathGenerator;
    default: return nullptr;
    }
}
