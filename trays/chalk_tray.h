#pragma once
// The chalk tray: one chalk, stroked buttons drawn by its twin, size and
// shape sliders; its twist turns the picture into its negative.
#include <cstdint>

#include "trays/tool_collection.h"

class ModifierChalkTool;

// Every pixel's blue, green and red become 255 less their value (types and
// heights stay), after an undo checkpoint; the whole canvas is redrawn.
void InvertCanvas(KVXSubScene* scene);

class KVXChalkToolCollection : public KVXToolCollection {
public:
    KVXChalkToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
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

    ModifierChalkTool* Twin() const { return twin; }
    KVXToolBase* ModifierTwin(int16_t i) const override;
    uint32_t ColorCopy() const { return colorCopy; }

private:
    ModifierChalkTool* twin = nullptr;
    uint32_t colorCopy;
};

// The stroked buttons of a tray: row j of the layout (16-byte rows: a
// position, the two backgrounds at 4 and 8) and row j of the stroke list
// (2-byte rows naming point tables), drawn by the brush.
void BuildStrokedButtons(KVXToolCollection* tray, int16_t layoutTable, int16_t strokeList,
                         BrushBase* brush, uint32_t* colour, int16_t toolIndex);
