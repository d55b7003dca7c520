#pragma once
// Pictures of pages' thumbnails for the gallery's buttons, made while the
// program runs; each lives as long as a reference holds it.
#include <cstdint>

#include "engine/picture_collection.h"

// 101 x 79 words, top row first; an empty reference when no slot is free.
// Byte 3 of each word says how clear the pixel is (0 opaque).
MMPictureReference ThumbnailPicture(const uint32_t* pixels, bool seeThrough);
