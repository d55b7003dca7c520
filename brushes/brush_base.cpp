#include "brushes/brush_base.h"

#include "brushes/path_generator.h"
#include "engine/record_table.h"

BrushBase::~BrushBase() { delete pathGenerator; }

void BrushBase::SetPathGenerator(PathGeneratorBase* generator)
{
    if (generator == pathGenerator)
        return;
    delete pathGenerator;
    pathGenerator = generator;
    if (generator != nullptr)
        generator->SetBrush(this);
}

void BrushBase::BeginPath(const BrushDab* sample)
{
    if (pathGenerator != nullptr)
        pathGenerator->Begin(sample);
}

void BrushBase::ContinuePath(const BrushDab* sample)
{
    if (pathGenerator != nullptr)
        pathGenerator->Continue(sample);
}

void BrushBase::EndPath(const BrushDab* sample)
{
    if (pathGenerator != nullptr)
        pathGenerator->End(sample);
}

void KVXBrushWithComponentPlane::EndPathOnPlane(const BrushDab* sample)
{
    EndPath(sample);
    plane->changeState.Advance();
}

int32_t TableResource::GetNumberAt(const MMRecordTable& table, int16_t key, int32_t start,
                                   int32_t n)
{
    int32_t row = table.FindRow(start, 0, n, key);
    return row < 0 ? -1 : table.LongAtRow(row, 2);
}

Pair ClampedDabPoint(const KVXPlaneComponent& plane, const BrushDab& dab)
{
    int32_t x = int32_t(dab.x);
    int32_t y = int32_t(dab.y);
    if (x < 0)
        x = 0;
    if (y < 0)
        y = 0;
    if (x >= plane.width)
        x = plane.width - 1;
    if (y >= plane.height)
        y = plane.height - 1;
    return {x, y};
}
