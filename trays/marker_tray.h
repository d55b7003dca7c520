#pragma once
// The marker tray: the marker, the leaky marker and the invisible ink, the
// first two shown by strokes of their twins; twisted, the ink that reveals,
// with two more pens that are only shown.
#include <cstdint>

#include "trays/tool_collection.h"

class ModifierLeakyMarkerTool;
class ModifierMarkerTool;

class KVXMarkerToolCollection : public KVXToolCollection {
public:
    KVXMarkerToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
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

    // 0 the marker's, 1 the leaky marker's.
    KVXToolBase* ModifierTwin(int16_t i) const override;

private:
    ModifierMarkerTool* markerTwin = nullptr;
    ModifierLeakyMarkerTool* leakyTwin = nullptr;
    uint32_t colorCopy;
};
