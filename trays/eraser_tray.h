#pragma once
// The eraser tray: the soft eraser, the squeegee and the phaser on bitmap
// buttons with two ornaments between them; twisted, the water.
#include <cstdint>

#include "trays/tool_collection.h"

class KVXEraserToolCollection : public KVXToolCollection {
public:
    KVXEraserToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
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

    MMPictureMolecule* Ornament(int32_t i) const { return ornaments[i]; }

private:
    MMPictureMolecule* ornaments[2] = {nullptr, nullptr};
};
