#pragma once
// The stage control's table of editing and function keys.
#include <cstdint>

struct MMKeyTableRow {
    uint16_t virtualKey;
    uint8_t flags;   // kKeyShift | kKeyControl | kKeySwallowChar
    uint8_t spare;
    uint16_t command;
};

enum : uint8_t { kKeyShift = 1, kKeyControl = 2, kKeySwallowChar = 4 };

// First row whose key and modifiers (shift 1, control 2) match exactly, or null.
const MMKeyTableRow* MMFindKey(uint16_t virtualKey, uint8_t modifiers);

extern const MMKeyTableRow kStageKeyTable[45];
