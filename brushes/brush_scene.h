#pragma once
// What the picture brushes need of the painting screen that hosts the
// canvas: sprayed pictures with their animations, and the phaser's sound.
#include <cstdint>

#include "framework/geometry.h"

class KVXBrushScene {
public:
    virtual ~KVXBrushScene() = default;
    // Puts the picture centred on the canvas point, after the animation
    // when there is one (-1 for none); pasted or loaded by the flag.
    virtual void StartSprayedAnimation(int32_t animation, int32_t picture, const Pair& point,
                                       bool paste) = 0;
    virtual void PlayPhaserSound() = 0;
};
