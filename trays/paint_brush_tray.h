#pragma once
// The paint-brush tray: oil, finger paint and watercolour shown by strokes
// of their twins (the watercolour as blobs); twisted, the electric
// toothbrush.
#include <cstdint>

#include "trays/tool_collection.h"

class ModifierFingerPaintTool;
class ModifierOilTool;
class ModifierWaterColorTool;

class KVXPaintBrushToolCollection : public KVXToolCollection {
public:
    KVXPaintBrushToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
                                KVXPlaneComponentTop* previewPlane,
                                MMBitmapWithPixels* previewBitmapA,
                                MMBitmapWithPixels* previewBitmapB);

    void Begin() override;
    void DeleteMolecules() override;
    void SetModeAndSelect(int16_t mode, int16_t index) override;
    KVXBaseModifiersObject* MakeModifierButton(int16_t mode, int16_t index,
                                               int16_t toolIndex) override;
    void SelectModifier(int16_t index) override;
    void ForwardSizeOrShape(int16_t which, bool rebuild) override;
    void StoreOwnerValue(const uint32_t* colour) override;
    void TextureChanged() override;

    KVXToolBase* ModifierTwin(int16_t index) const override;

private:
    ModifierOilTool* oilTwin = nullptr;
    ModifierFingerPaintTool* fingerTwin = nullptr;
    ModifierWaterColorTool* waterTwin = nullptr;
    uint32_t colorCopy;
};
