#pragma once
// The image tube's brush: the grid generator hands it the centre of each
// cell the pen leaves with the side it leaves by, and it lays the tube piece
// that joins the side the tube came in by to that side; the stroke's first
// and last pieces are end caps.
#include <cstdint>

#include "brushes/brush_base.h"
#include "brushes/sprayer_brushes.h"

class KVXBrushScene;

class KVXBrushGriddedSprayer : public BrushBase {
public:
    KVXBrushGriddedSprayer(KVXBrushScene* scene, int32_t sizeType);

    void BeginStroke(const BrushDab* sample) override;
    void ContinueStroke(const BrushDab* sample) override;
    void EndStroke(const BrushDab* sample) override;
    void Dab(const BrushDab* dab) override;

    // Sides: 0 up, 1 right, 2 down, 3 left; piece [in][out] = in x 4 + out.
    static int32_t ExitSide(const BrushDab& dab);

    KVXSprayEntry entries[16];
    int32_t previousSide = -1;
    int32_t direction = 0;
    int32_t sizeType;
    bool ending = false;

private:
    void Place(int32_t index, const BrushDab& dab);

    KVXBrushScene* scene;
};
