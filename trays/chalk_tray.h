#pragma once
// The chalk tray: one chalk, stroked buttons drawn by its twin, size and
// shape sliders; its twist turns the picture into its negative.
#include <cstdint>

#include "trays/twin_tool_collection.h"

class KVXToolBase;

// Every pixel's blue, green and red become 255 less their value (types and
// heights stay), after an undo checkpoint; the whole canvas is redrawn.
void InvertCanvas(KVXSubScene* scene);

// The chalk and the crayons draw free hand whichever way the tray chose them.
void UseFreeHand(KVXToolBase* tool);

class KVXChalkToolCollection : public KVXTwinToolCollection {
public:
    using KVXTwinToolCollection::KVXTwinToolCollection;

    void Begin() override;
    void SetModeAndSelect(int16_t mode, int16_t index) override;
    void SelectModifier(int16_t index) override;
    void ForwardSizeOrShape(int16_t which, bool rebuild) override;
    void ResetModifiers() override;
    void ReselectCurrent() override;
    void TextureChanged() override { RebuildModifiers(); }
};
