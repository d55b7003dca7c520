#pragma once
// Where a colour picked from the canvas goes: the tool manager answers it
// and hands the colour on to its colour picker.
#include <cstdint>

class KVXPaletteTarget {
public:
    virtual ~KVXPaletteTarget() = default;
    // The picked pixel's colour word (blue low, then green, red, type).
    virtual void NotifyPaletteMolecule(uint32_t colour) = 0;
};
