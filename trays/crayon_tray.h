#pragma once
// The crayon tray: the crayon, and twisted the melted crayon, each with the
// stroked buttons its own twin draws and the same two sliders.
#include <cstdint>

#include "trays/twin_tool_collection.h"

class KVXCrayonToolCollection : public KVXTwinToolCollection {
public:
    using KVXTwinToolCollection::KVXTwinToolCollection;

    void Begin() override;
    void SetModeAndSelect(int16_t mode, int16_t index) override;
    void SelectModifier(int16_t index) override;
    void ForwardSizeOrShape(int16_t which, bool rebuild) override;
    void ResetModifiers() override;
    void ReselectCurrent() override;
    void TextureChanged() override { RebuildModifiers(); }

    // The twin that draws the buttons of the mode: 0 the crayon's, 1 the
    // melted crayon's.
    KVXToolBase* Twin() const { return ModifierTwin(mode == 0 ? 0 : 1); }
};
