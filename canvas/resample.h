#pragma once
// Scaling whole pictures by averaging, for every destination pixel, the
// exact window of source pixels it covers (fractional weights at the
// window's edges, rounding to nearest), and mirrored copies.
#include <cstdint>

class KVXPlaneComponent;
class MMBitmap;

// The ceiling of a window edge: a fraction below 1/65536 counts as none.
int32_t Ceil16(double v);

// 32-bit into 32-bit; byte 3 is a transparency (0 opaque): a clear average
// leaves the destination's colour, a partial one blends over it.
void ResampleBitmap(const MMBitmap& source, const MMBitmap& destination);
// Every byte of a component pixel averaged alike (the type too); the
// shadow word of the result is 0.
void ResamplePlane(const KVXPlaneComponent& source, const KVXPlaneComponent& destination);
// The canvas into a 32-bit bitmap, each source pixel shaded as the plain
// draw method shows it (its shadows are kept up to date on the way).
// Shrinking only.
void ResampleCanvasShaded(KVXPlaneComponent& source, const MMBitmap& destination);
// 8- or 32-bit, both boxes at the origin and of one extent.
void MirrorBitmap(const MMBitmap& source, const MMBitmap& destination, bool mirrorX, bool mirrorY);
// One whole 8-bit bitmap shrunk into another (nibs, small previews).
void ResampleBitmapWhole(const MMBitmap& source, const MMBitmap& destination);
