#pragma once
// The paint-brush tray: oil, finger paint and watercolour shown by strokes
// of their twins (the watercolour as blobs); twisted, the electric
// toothbrush.
#include <cstdint>

#include "trays/twin_tool_collection.h"

class KVXPaintBrushToolCollection : public KVXTwinToolCollection {
public:
    using KVXTwinToolCollection::KVXTwinToolCollection;

    void Begin() override;
    void SetModeAndSelect(int16_t mode, int16_t index) override;
    KVXBaseModifiersObject* MakeModifierButton(int16_t mode, int16_t index,
                                               int16_t toolIndex) override;
    void SelectModifier(int16_t index) override;
    void ForwardSizeOrShape(int16_t which, bool rebuild) override;
    void TextureChanged() override { RebuildModifiers(); }
};
