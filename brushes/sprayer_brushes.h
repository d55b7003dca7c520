#pragma once
// Brushes that place pictures: the image spray drops a randomly chosen stamp
// (perhaps animated) at each dab; the directional sprayer rolls one of
// sixteen masks, chosen by the direction of travel, through the texture in
// the tool's colour.
#include <cstdint>
#include <vector>

#include "brushes/policy_brush.h"
#include "engine/resource_collection.h"
#include "brushes/transfers.h"
#include "canvas/blend.h"

class KVXBrushScene;
class MMRecordTable;
class Heap;

struct KVXSprayEntry {
    int32_t animation;  // -1 for none
    int32_t picture;
    uint8_t flag;       // paste rather than load
};

class KVXBrushSprayer : public BrushBase {
public:
    explicit KVXBrushSprayer(KVXBrushScene* scene, int32_t tableId = 0);
    void BeginStroke(const BrushDab* sample) override { BeginPath(sample); }
    void ContinueStroke(const BrushDab* sample) override { ContinuePath(sample); }
    void EndStroke(const BrushDab* sample) override { EndPath(sample); }
    void Dab(const BrushDab* dab) override;

    // A table value of 414 means no animation.
    void AddEntry(int32_t animation, int32_t picture, uint8_t flag);

    std::vector<KVXSprayEntry> entries;

private:
    KVXBrushScene* scene;
    int32_t tableId;
};

// The direction sector 0 to 15 of a dab's travel: 0 straight down, growing
// toward +x.
int32_t DirectionSector(int32_t dx, int32_t dy);

// Picture ids of a roller: row `choice` of its 8-byte table names a second
// table of 10-byte rows, each key-1 row of which gives one picture id.
std::vector<int32_t> ReadDirectionPictures(MMResourceId table, int32_t choice, Heap* heap);

class KVXDirectionalSprayerBase : public KVXBrushWithComponentPlane {
public:
    KVXDirectionalSprayerBase(const double params[4], const uint8_t heights[2],
                              KVXPlaneComponent* plane, const KVXBitmap<uint8_t>* texture,
                              const uint8_t* colour, const double opacityNumbers[4],
                              const std::vector<int32_t>& pictures);
    void BeginStroke(const BrushDab* sample) override;
    void ContinueStroke(const BrushDab* sample) override;
    void EndStroke(const BrushDab* sample) override;
    void Dab(const BrushDab* dab) override;

    std::vector<int32_t> pictureIds;

protected:
    // One pixel under the mask at opacity o (o may be 0).
    virtual void Transfer(KVXComponentPixel& p, uint8_t o, uint8_t amount) = 0;

    const uint8_t* colour;
    const KVXBitmap<uint8_t>* texture;
    PressureRange range;
    KVXOpacityGeneratorTexture opacity;
    bool firstDab = false;
};

template <class CT, class PT, class HT, class OG = KVXOpacityGeneratorTexture>
class KVXBrushDirectionalSprayer : public KVXDirectionalSprayerBase {
public:
    using KVXDirectionalSprayerBase::KVXDirectionalSprayerBase;

protected:
    void Transfer(KVXComponentPixel& p, uint8_t o, uint8_t amount) override
    {
        if (o > 0)
            CT::Apply(p, colour, o);
        p.height = HT::Apply(p.height, amount);
        if (o > 0)
            PT::Apply(p);
    }
};
