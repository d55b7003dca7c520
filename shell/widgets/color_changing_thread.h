#pragma once
// The paint bucket's animation thread: script opcode 14 with operand 1, 2 or
// 3 repaints the molecule's visual of that number in the current paint
// colour (operand 1 keeps the picture's shape, 2 and 3 come out clear).
#include <cstdint>

#include "engine/picture_collection.h"
#include "shell/widgets/animation_thread.h"

class MMBitmapPictureCollection;

class KVXColorChangingAnimationThread : public KVXAnimationThread {
public:
    // colour: blue, green and red, read at each recolouring.
    KVXColorChangingAnimationThread(MMStage* stage, MMBitmapPictureCollection* pictures,
                                    const uint8_t* colour);

    bool CustomOpcode(int16_t a, int16_t b, int16_t c, int16_t d) override;

private:
    // The picture repainted into a new slot of the collection; empty when the
    // picture is missing or no 8-bit bitmap.
    MMPictureReference Recolour(const MMPictureReference& old, int16_t n);

    MMBitmapPictureCollection* pictures;
    const uint8_t* colour;
};
