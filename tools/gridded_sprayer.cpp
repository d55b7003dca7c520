#include "tools/gridded_sprayer.h"

#include "brushes/brush_scene.h"
#include "brushes/path_generator.h"

KVXBrushGriddedSprayer::KVXBrushGriddedSprayer(KVXBrushScene* scene, int32_t sizeType)
    : sizeType(sizeType), scene(scene)
{
    for (KVXSprayEntry& e : entries)
        e = {-1, -1, 0};
}

void KVXBrushGriddedSprayer::BeginStroke(const BrushDab* sample)
{
    ending = false;
    previousSide = -1;
    BeginPath(sample);
}

void KVXBrushGriddedSprayer::ContinueStroke(const BrushDab* sample)
{
    ending = false;
    ContinuePath(sample);
}

void KVXBrushGriddedSprayer::EndStroke(const BrushDab* sample)
{
    ending = true;
    EndPath(sample);
    ending = false;
}

int32_t KVXBrushGriddedSprayer::ExitSide(const BrushDab& dab)
{
    if (dab.dy < 0)
        return 0;
    if (dab.dy > 0)
        return 2;
    return dab.dx > 0 ? 1 : 3;
}

void KVXBrushGriddedSprayer::Dab(const BrushDab* dab)
{
    int32_t side = ExitSide(*dab);
    direction = side;
    if (ending) {
        // A stroke that never left its first cell has no piece to close.
        if (previousSide != -1)
            Place(previousSide * 5, *dab);
        ending = false;
        return;
    }
    Place(previousSide == -1 ? side * 5 : previousSide * 4 + side, *dab);
    previousSide = (side + 2) % 4;
}

void KVXBrushGriddedSprayer::Place(int32_t index, const BrushDab& dab)
{
    const KVXSprayEntry& e = entries[index];
    // A piece the tube's list did not give places nothing.
    if (scene == nullptr || e.picture == -1)
        return;
    scene->StartSprayedAnimation(e.animation, e.picture, {int32_t(dab.x), int32_t(dab.y)}, e.flag != 0);
}
