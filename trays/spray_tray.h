#pragma once
// The spray tray: the fine spray, the spatter and the gloppy paint, shown by
// strokes of their twins; twisted, the whipped cream. Its first slider is a
// switch between plain and drippy paint.
#include <cstdint>

#include "trays/twin_tool_collection.h"

class KVXSprayToolCollection : public KVXTwinToolCollection {
public:
    using KVXTwinToolCollection::KVXTwinToolCollection;

    void Begin() override;
    void SetModeAndSelect(int16_t mode, int16_t index) override;
    KVXBaseModifiersObject* MakeModifierButton(int16_t mode, int16_t index,
                                               int16_t toolIndex) override;
    void SelectModifier(int16_t index) override;
    void ForwardSizeOrShape(int16_t which, bool rebuild) override;
};
