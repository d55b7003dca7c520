#pragma once
// The picture tools: the image spray drops pictures chosen at random along
// the stroke, the image tube lays tube pieces on a grid of 100-pixel cells.
// Each picture plays its landing animation, then is put into the canvas.
#include "tools/tool_base.h"

class KVXToolImageSpray : public KVXToolAnim {
public:
    KVXToolImageSpray(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType);
    void MakeBrush() override;
};

class KVXToolImageTube : public KVXToolAnim {
public:
    KVXToolImageTube(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType);
    void MakeGenerator() override;
    void MakeBrush() override;

private:
    // The tube's drawing sound: row size/type of table 542.
    void ReadSound();
    PathGeneratorBase* NewGrid() const;
};

// The picture tools' tables as the trays pass them.
constexpr MMResourceId kImageSprayTable = 539;
constexpr MMResourceId kImageTubeTable = 541;
constexpr MMResourceId kImageTubeSounds = 542;
