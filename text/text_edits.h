#pragma once
// One-line text edits: with a key sound, and kept centred on a point (the
// page names of the gallery's viewer).
#include <cstdint>

#include "media/text_edit.h"

class MMGenericSoundChannel;

// Blue, green, red: the 3-byte colour record.
void MakeColor3(uint8_t red, uint8_t green, uint8_t blue, uint8_t record[3]);

class MPTextEdit : public MMTextEditMolecule {
public:
    explicit MPTextEdit(const Parameters& parameters);
    ~MPTextEdit() override;
    bool HandleKey(uint32_t keyData) override;

private:
    MMGenericSoundChannel* channel = nullptr;
};

class MPCenteredTextEdit : public MPTextEdit {
public:
    MPCenteredTextEdit(const Parameters& parameters, const Pair& centre);
    // The text's horizontal centre stays at the centre's x; the caret
    // follows the text's end.
    void TextChanged() override;

private:
    Pair centre;
};
