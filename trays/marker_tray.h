#pragma once
// The marker tray: the marker, the leaky marker and the invisible ink, the
// first two shown by strokes of their twins, with two arrows that would
// change the kind of rainbow and answer with the refusal sound; twisted, the
// ink that reveals, with two more pens that are only shown (the rainbow
// pen's bands painted from the gradient its first slider's table names).
#include <cstdint>

#include "trays/twin_tool_collection.h"

class MMAnimationMolecule;

class KVXMarkerToolCollection : public KVXTwinToolCollection {
public:
    using KVXTwinToolCollection::KVXTwinToolCollection;
    ~KVXMarkerToolCollection() override;

    void Begin() override;
    void SetModeAndSelect(int16_t mode, int16_t index) override;
    void ReleaseModifiers() override;
    KVXBaseModifiersObject* MakeModifierButton(int16_t mode, int16_t index,
                                               int16_t toolIndex) override;
    void SelectModifier(int16_t index) override;
    void ForwardSizeOrShape(int16_t which, bool rebuild) override;

    // The gradient's steps after its first stop (-1 without a gradient)
    // and its first stop's colour.
    int32_t GradientSteps() const { return gradientSteps; }
    uint32_t GradientStart() const { return gradientStart; }
    // The colour of band k of the rainbow pen's preview.
    uint32_t GradientBand(int32_t k) const;
    // The arrows of mode 0 (k 0 or 1); null while not built.
    MMAnimationMolecule* GradientArrow(int32_t k) const;

private:
    void ReadGradient();
    void BuildGradientArrows();
    void DeleteGradientArrows();
    KVXBaseModifiersObject* MakeTwistedButton(int16_t index, int16_t toolIndex);

    int32_t gradientSteps = -1;
    uint32_t gradientStart = 0;
    MMAnimationMolecule* gradientArrows[2] = {nullptr, nullptr};
};
