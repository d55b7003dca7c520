#pragma once
// The pencil tray: the pencil with the stroked buttons its twin draws and
// two sliders; twisted, the bundle of pencils.
#include <cstdint>

#include "trays/twin_tool_collection.h"

class KVXPencilToolCollection : public KVXTwinToolCollection {
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
