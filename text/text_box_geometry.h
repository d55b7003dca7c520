#pragma once
// Where the text box and its two handles go while the child places, scales
// and moves it: the box never leaves the canvas area and is never smaller
// than 32 x 32.
#include <cstdint>

#include "framework/geometry.h"

constexpr int32_t kSmallestTextBox = 32;

// A dragged rectangle opens the box only when both sides reach 32 pixels.
bool OpensTextBox(const Box& rect);
// The rectangle clipped to the canvas area.
Box ClipToCanvas(const Box& rect, const Box& canvas);
// The scale handle's top-left sits at the box's bottom-right corner, the
// move handle's bottom-right at its top-left corner.
Pair ScaleHandlePlace(const Box& box);
Pair MoveHandlePlace(const Box& box, const Pair& handleSize);
// The box whose bottom-right corner is dragged to corner: at least 32 wide
// and high, clipped to the canvas area.
Box ScaledTextBox(const Box& box, const Pair& corner, const Box& canvas);
// The box of the same size moved to topLeft, kept inside the canvas area
// (its right and bottom edges decide when it is larger than the canvas).
Box MovedTextBox(const Box& box, const Pair& topLeft, const Box& canvas);

// The handle sound's pitch (16.16): 0x10000 at the start, falling as the
// pointer leaves the start point, 4096 once it is further away than the
// start distance; kept within 4096 to 0x10000, and 0x10000 when the drag
// began at a start distance of 0.
int32_t TextHandleFrequency(int32_t distance, int32_t startDistance);
// The start distance: the length of the point's vector, kept to 16 bits.
int32_t TextHandleStartDistance(const Pair& point);
