#pragma once
// Several bristles painting at once: the multi brush runs its own path
// generator and hands each of its dabs to every bristle as a stroke sample,
// moved to the bristle's place: across the stroke for the rake of the oil
// paints, at fixed offsets for the bundle of pencils.
#include <cstdint>
#include <vector>

#include "brushes/brush_base.h"

class KVXBrushMulti : public KVXBrushWithComponentPlane {
public:
    explicit KVXBrushMulti(KVXPlaneComponent* plane) : KVXBrushWithComponentPlane(plane) {}
    ~KVXBrushMulti() override;

    void BeginStroke(const BrushDab* sample) override { BeginPath(sample); }
    void ContinueStroke(const BrushDab* sample) override { ContinuePath(sample); }
    void EndStroke(const BrushDab* sample) override { EndPathOnPlane(sample); }
    void Dab(const BrushDab* dab) override;
    // Takes the bristle over; the caller's pointer is left empty.
    virtual void AddBrush(BrushBase*& brush);

    int32_t BristleCount() const { return int32_t(bristles.size()); }
    BrushBase* Bristle(int32_t i) const { return bristles[size_t(i)]; }

protected:
    std::vector<BrushBase*> bristles;
};

class KVXBrushRake : public KVXBrushMulti {
public:
    KVXBrushRake(KVXPlaneComponent* plane, double spacing, uint8_t rowWidth = 0)
        : KVXBrushMulti(plane), spacing(spacing), rowWidth(rowWidth) {}

    void BeginStroke(const BrushDab* sample) override;
    void ContinueStroke(const BrushDab* sample) override;
    void EndStroke(const BrushDab* sample) override;
    void Dab(const BrushDab* dab) override;

    double spacing;
    double startOffset = 0;
    uint8_t rowWidth;
    double lastOffsetX = 0;
    double lastOffsetY = 0;
    bool firstDab = false;
    BrushDab lastSample = {0, 0, 0, 0, 0};
};

class KVXBrushMultiBundle : public KVXBrushMulti {
public:
    using KVXBrushMulti::KVXBrushMulti;
    ~KVXBrushMultiBundle() override;

    void BeginStroke(const BrushDab* sample) override;
    void EndStroke(const BrushDab* sample) override;
    void Dab(const BrushDab* dab) override;
    void AddBrush(BrushBase*& brush) override;
    virtual void AddBrushAt(BrushBase*& brush, const Pair& offset);

    std::vector<Pair> offsets;
    bool firstDab = false;
};
