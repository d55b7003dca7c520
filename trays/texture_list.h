#pragma once
// The canvas textures: texture i is the i-th row keyed 0 of the texture
// table, whose 32-bit value at offset 2 is the texture's picture.
#include <cstdint>

#include "engine/resource_collection.h"

const int16_t kTextureTable = 759;

// The number of textures.
int32_t TextureCount();
// The picture of texture index; MM_NO_RESOURCE when there is no such row.
MMResourceId TextureResourceAt(int32_t index);
// The preview picture of texture index (its row keyed 1); MM_NO_RESOURCE
// when there is no such row.
MMResourceId TexturePreviewAt(int32_t index);
// The index of the first texture whose picture is texture; the number of
// textures when none is.
int32_t TextureIndexOf(MMResourceId texture);
// The texture the canvas starts with: the first row keyed 0 from the row
// the creation layout names (its row keyed 43).
MMResourceId StartingTexture();
