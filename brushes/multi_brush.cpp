#include "brushes/multi_brush.h"

#include "brushes/path_generator.h"
#include "framework/random.h"

KVXBrushMulti::~KVXBrushMulti()
{
    for (BrushBase* bristle : bristles)
        delete bristle;
}

void KVXBrushMulti::Dab(const BrushDab* dab)
{
    for (BrushBase* bristle : bristles)
        bristle->Dab(dab);
}

void KVXBrushMulti::AddBrush(BrushBase*& brush)
{
    bristles.push_back(brush);
    brush = nullptr;
}

void KVXBrushRake::BeginStroke(const BrushDab* sample)
{
    firstDab = true;
    lastSample = *sample;
    startOffset = -(BristleCount() / 2) * spacing;
    KVXBrushMulti::BeginStroke(sample);
}

void KVXBrushRake::ContinueStroke(const BrushDab* sample)
{
    lastSample = *sample;
    KVXBrushMulti::ContinueStroke(sample);
}

void KVXBrushRake::Dab(const BrushDab* dab)
{
    double length = FastSqrt(float(dab->dx * dab->dx + dab->dy * dab->dy));
    if (firstDab) {
        firstDab = false;
        for (BrushBase* bristle : bristles) {
            BrushDab start;
            start.Set(dab->x, dab->y, dab->sizeIndex, 0, 0);
            bristle->BeginStroke(&start);
        }
        return;
    }
    double nx = dab->dy;
    double ny = -dab->dx;
    if (length != 0) {
        nx /= length;
        ny /= length;
    }
    for (int32_t i = 0; i < BristleCount(); ++i) {
        double offset = startOffset + i * spacing;
        BrushDab sample;
        sample.Set(dab->x + offset * nx, dab->y + offset * ny, dab->sizeIndex, dab->dx, dab->dy);
        lastOffsetX = offset * nx;
        lastOffsetY = offset * ny;
        bristles[size_t(i)]->ContinueStroke(&sample);
    }
}

void KVXBrushRake::EndStroke(const BrushDab* sample)
{
    for (BrushBase* bristle : bristles)
        bristle->ContinueStroke(sample);
    plane->changeState.Advance();
}

KVXBrushMultiBundle::~KVXBrushMultiBundle() { offsets.clear(); }

void KVXBrushMultiBundle::BeginStroke(const BrushDab* sample)
{
    firstDab = true;
    KVXBrushMulti::BeginStroke(sample);
}

void KVXBrushMultiBundle::EndStroke(const BrushDab*) { plane->changeState.Advance(); }

void KVXBrushMultiBundle::Dab(const BrushDab* dab)
{
    for (size_t i = 0; i < bristles.size(); ++i) {
        BrushDab sample;
        sample.Set(dab->x + offsets[i].x, dab->y + offsets[i].y, dab->sizeIndex, dab->dx, dab->dy);
        if (firstDab)
            bristles[i]->BeginStroke(&sample);
        else
            bristles[i]->ContinueStroke(&sample);
    }
    firstDab = false;
}

void KVXBrushMultiBundle::AddBrush(BrushBase*& brush) { AddBrushAt(brush, {0, 0}); }

void KVXBrushMultiBundle::AddBrushAt(BrushBase*& brush, const Pair& offset)
{
    KVXBrushMulti::AddBrush(brush);
    offsets.push_back(offset);
}
