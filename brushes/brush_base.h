#pragma once
// The interface of every brush: a stroke of samples begins, continues and
// ends; the brush's path generator turns them into dabs and calls Dab once
// for each.
#include <cstdint>

#include "brushes/brush_dab.h"
#include "canvas/plane.h"

class PathGeneratorBase;
class MMRecordTable;

class BrushBase {
public:
    BrushBase() = default;
    // Deletes the path generator.
    virtual ~BrushBase();
    BrushBase(const BrushBase&) = delete;
    BrushBase& operator=(const BrushBase&) = delete;

    virtual void BeginStroke(const BrushDab* sample) = 0;
    virtual void ContinueStroke(const BrushDab* sample) = 0;
    virtual void EndStroke(const BrushDab* sample) = 0;
    virtual void Dab(const BrushDab* dab) = 0;
    // Takes the generator over; the one held before is deleted.
    virtual void SetPathGenerator(PathGeneratorBase* generator);
    PathGeneratorBase* PathGenerator() const { return pathGenerator; }

protected:
    // A stroke's samples go to the path generator, when there is one.
    void BeginPath(const BrushDab* sample);
    void ContinuePath(const BrushDab* sample);
    void EndPath(const BrushDab* sample);

    PathGeneratorBase* pathGenerator = nullptr;
};

class KVXBrushWithComponentPlane : public BrushBase {
public:
    explicit KVXBrushWithComponentPlane(KVXPlaneComponent* plane) : plane(plane) {}

    virtual KVXPlaneComponent* GetComponentPlane() const { return plane; }
    virtual void SetComponentPlane(KVXPlaneComponent* newPlane) { plane = newPlane; }

protected:
    // The end of a stroke that painted: the path ends, the plane has changed.
    void EndPathOnPlane(const BrushDab* sample);
    // A dab's box clipped to the plane: what it may paint and make dirty.
    Box OnPlane(Box box) const
    {
        box.Intersect(plane->Bounds());
        return box;
    }

    KVXPlaneComponent* plane;
};

// Height depth per size index: min, max and the 8-bit range between them
// (which wraps when max is below min, and the depth with it).
struct PressureRange {
    uint8_t min = 0;
    uint8_t max = 0;
    uint8_t range = 0;

    PressureRange& Set(const uint8_t pair[2])
    {
        min = pair[0];
        max = pair[1];
        range = uint8_t(max - min);
        return *this;
    }
    uint8_t Depth(int32_t sizeIndex) const { return uint8_t(min + (range * sizeIndex) / 19); }
};

struct TableResource {
    // The 32-bit value at offset 2 of the n-th row (from 0) from start whose
    // key is key; -1 when there is no such row.
    static int32_t GetNumberAt(const MMRecordTable& table, int16_t key, int32_t start, int32_t n);
};

// Clamps a dab's point into the plane (truncating toward zero).
Pair ClampedDabPoint(const KVXPlaneComponent& plane, const BrushDab& dab);
