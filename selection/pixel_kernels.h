#pragma once
// Row kernels of the selection: softening, mirrors and the five picture
// effects that the rope applies to a floating selection or the whole canvas.
// Inside a floating selection the pixel type 255 marks a pixel outside the
// outline; the effects that test the type leave such pixels alone.
#include <cstdint>

#include "canvas/plane.h"

class MMBitmap;
class UURandom;

constexpr uint8_t kOutsideOutline = 255;
constexpr int32_t kDabMaskSize = 8;

enum KVXPictureEffect : int32_t {
    kEffectEmboss = 0,
    kEffectBlur = 1,
    kEffectDabs = 2,
    kEffectMosaic = 3,
    kEffectScatter = 4,
};

// All four bytes of every interior pixel: a 3 x 3 sum of the centre (128)
// and its eight neighbours (16 each), in place.
void SoftenPixels3x3(const MMBitmap& bitmap);

void MirrorBitmap32Horizontal(const MMBitmap& bitmap);
// False, with nothing changed, when the row buffer cannot be had.
bool MirrorBitmap32Vertical(const MMBitmap& bitmap);
void MirrorComponentHorizontal(const KVXPlaneComponent& plane);
void MirrorComponentVertical(const KVXPlaneComponent& plane);

// Strength is the tray's slider value, 0 to 510 with 255 neutral; it scales
// the change of paint height only, which is kept within 0 to 65535.
void EmbossComponentPlane(const KVXPlaneComponent& plane, int32_t strength);
void BlurComponentPlane(const KVXPlaneComponent& plane, int32_t strength);
// mask: kDabMaskSize x kDabMaskSize weights of one dab.
void ImpressionistDabs(const KVXPlaneComponent& plane, int32_t strength, const uint8_t* mask,
                       UURandom& random);
void TileMosaic(const KVXPlaneComponent& plane, int32_t strength);
void ScatterPixels(const KVXPlaneComponent& plane, int32_t strength, UURandom& random);

// One of the five effects by number; other numbers change nothing.
void ApplyPictureEffect(int32_t kind, const KVXPlaneComponent& plane, int32_t strength,
                        const uint8_t* dabMask, UURandom& random);
