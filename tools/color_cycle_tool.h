#pragma once
// Paints colour-cycle paint: every dab takes the next colour round the
// rainbow. Nothing in the program creates it.
#include <cstdint>

#include "tools/tool_base.h"

class KVXToolColorCycle : public KVXToolStd {
public:
    // The second argument is accepted for the tools' common signature and
    // not used.
    KVXToolColorCycle(MMResourceId tableId, const uint8_t* unused, KVXCreationHost* creationScene);
    void MakeBrush() override;
};
