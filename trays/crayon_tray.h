#pragma once
// The crayon tray: the crayon, and twisted the melted crayon, each with the
// stroked buttons its own twin draws and the same two sliders.
#include <cstdint>

#include "trays/tool_collection.h"

class ModifierCrayonTool;
class ModifierMeltedCrayonTool;

class KVXCrayonToolCollection : public KVXToolCollection {
public:
    KVXCrayonToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
                            KVXPlaneComponentTop* previewPlane,
                            MMBitmapWithPixels* previewBitmapA,
                            MMBitmapWithPixels* previewBitmapB);

    void Begin() override;
    void DeleteMolecules() override;
    void SetModeAndSelect(int16_t mode, int16_t index) override;
    void SelectModifier(int16_t index) override;
    void ForwardSizeOrShape(int16_t which, bool rebuild) override;
    void ResetModifiers() override;
    void ReselectCurrent() override;
    void StoreOwnerValue(const uint32_t* colour) override;
    void TextureChanged() override;

    // The twin that draws the buttons of the mode.
    KVXToolBase* Twin() const;
    // 0 the crayon's, 1 the melted crayon's.
    KVXToolBase* ModifierTwin(int16_t i) const override;
    uint32_t ColorCopy() const { return colorCopy; }

private:
    ModifierCrayonTool* crayonTwin = nullptr;
    ModifierMeltedCrayonTool* meltedTwin = nullptr;
    uint32_t colorCopy;
};
