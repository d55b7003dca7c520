#pragma once
// An animation thread that plays its script scaled and mirrored around a
// pivot: the script's pivot lands on the position on screen, and every
// visual is a stamp picture visual carrying the scale and the mirror flags.
#include <cstdint>
#include <vector>

#include "engine/animation_thread.h"

class MMStampPictureBasedVisual;

class KVXScalingAnimationThread : public MMAnimationThread {
public:
    // The template's scale factors are the starting scale; it may be none.
    KVXScalingAnimationThread(MMStage* stage, MMStampPictureBasedVisual* templateVisual);

    void AttachMolecule(MMAnimationMolecule* molecule) override;
    MMPictureBasedVisual* CreateVisual(int16_t index) override;
    void SetOffset(int32_t x, int32_t y) override;
    void PlaceVisual(int16_t index, int16_t layer, const Pair& point) override;
    void SetPicture(MMResourceId picture) override;
    virtual void SetPivotAndPosition(const Pair& pivot, const Pair& position);
    virtual void SetScale(double x, double y);
    virtual void SetMirror(bool x, bool y);

    double ScaleX() const { return scaleX; }
    double ScaleY() const { return scaleY; }
    const Pair& Pivot() const { return pivot; }
    const Pair& Position() const { return position; }

private:
    Pair OffsetFromPosition() const;
    Pair ScaledPlace(int16_t index) const;
    void Replace(int16_t index);
    void ReplaceAll();
    MMStampPictureBasedVisual* StampVisual(int16_t index) const;

    MMStampPictureBasedVisual* templateVisual;
    double scaleX = 1.0;
    double scaleY = 1.0;
    Pair pivot = {0, 0};
    Pair position = {0, 0};
    bool mirrorX = false;
    bool mirrorY = false;
    std::vector<Pair> scriptPositions;
};
