#pragma once
// The spray tray: the fine spray, the spatter and the gloppy paint, shown by
// strokes of their twins; twisted, the whipped cream. Its first slider is a
// switch between plain and drippy paint.
#include <cstdint>

#include "trays/tool_collection.h"

class ModifierFineSprayTool;
class ModifierGloppyPaintTool;
class ModifierSpatterTool;

class KVXSprayToolCollection : public KVXToolCollection {
public:
    KVXSprayToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
                           KVXPlaneComponentTop* previewPlane, MMBitmapWithPixels* previewBitmapA,
                           MMBitmapWithPixels* previewBitmapB);

    void Begin() override;
    void DeleteMolecules() override;
    void SetModeAndSelect(int16_t mode, int16_t index) override;
    KVXBaseModifiersObject* MakeModifierButton(int16_t mode, int16_t index,
                                               int16_t toolIndex) override;
    void SelectModifier(int16_t index) override;
    void ForwardSizeOrShape(int16_t which, bool rebuild) override;
    void StoreOwnerValue(const uint32_t* colour) override;

    KVXToolBase* ModifierTwin(int16_t index) const override;

private:
    ModifierFineSprayTool* fineTwin = nullptr;
    ModifierSpatterTool* spatterTwin = nullptr;
    ModifierGloppyPaintTool* gloppyTwin = nullptr;
    uint32_t colorCopy;
};
