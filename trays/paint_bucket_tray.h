#pragma once
// The paint bucket's tray: the plain flood fill and three fills the child
// sees but cannot choose (linear and radial gradients, pattern), whose
// buttons and controls answer with the refusal sound. The first slider is a
// switch (0 or 510); twist and untwist pour the current colour over the
// whole picture.
#include <cstdint>

#include "trays/tool_collection.h"

class KVXAnimatedButtonMolecule;
class KVXColorButtonAndRainbowBoxMolecule;
class MMAnimationMolecule;

// Every pixel's blue, green and red become the colour's (types and heights
// stay), after an undo checkpoint; the whole canvas is redrawn.
void FillCanvasWithColor(KVXSubScene* scene, uint32_t colour);

class KVXPaintBucketToolCollection : public KVXToolCollection {
public:
    KVXPaintBucketToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
                                 KVXPlaneComponentTop* previewPlane,
                                 MMBitmapWithPixels* previewBitmapA,
                                 MMBitmapWithPixels* previewBitmapB);

    void Begin() override;
    void SetModeAndSelect(int16_t mode, int16_t index) override;
    void ReleaseModifiers() override;
    KVXBaseModifiersObject* MakeModifierButton(int16_t mode, int16_t index,
                                               int16_t toolIndex) override;
    void SelectModifier(int16_t index) override;
    void ForwardSizeOrShape(int16_t which, bool rebuild) override;
    void ResetModifiers() override;
    void ReselectCurrent() override;
    void StoreOwnerValue(const uint32_t* colour) override;

    KVXColorButtonAndRainbowBoxMolecule* ColorButton() const { return colorButton; }
    // The two arrows and the two drops (k 0 or 1); null while not built.
    KVXAnimatedButtonMolecule* ControlButton(int32_t k) const;
    MMAnimationMolecule* ControlAnimation(int32_t k) const;
    int32_t ControlCount() const;

private:
    void BuildControls();
    void DeleteControls();

    uint8_t secondColour[3] = {255, 255, 255};
    int32_t pattern = -1;
    KVXColorButtonAndRainbowBoxMolecule* colorButton = nullptr;
    KVXAnimatedButtonMolecule* controlButtons[2] = {nullptr, nullptr};
    MMAnimationMolecule* controlAnimations[2] = {nullptr, nullptr};
};
