#include "tools/image_tools.h"

#include "brushes/path_generator.h"
#include "brushes/sprayer_brushes.h"
#include "brushes/timed_generators.h"
#include "canvas/canvas_visual.h"
#include "tools/gridded_sprayer.h"
#include "tools/picture_lists.h"

namespace {
// No more pictures than a spray list could sensibly hold.
const size_t kMaxSprayEntries = 256;
}  // namespace

KVXToolImageSpray::KVXToolImageSpray(KVXCreationHost* scene, MMResourceId tableId,
                                     int32_t sizeType)
    : KVXToolAnim(scene, tableId, sizeType)
{
    if (tableId == kImageSprayTable)
        cursorIndex = ToolCursorIndex(19, cursorIndex);
    soundId = 468;
    drawMethodKind = 1;
}

void KVXToolImageSpray::MakeBrush()
{
    KVXBrushScene* scene = creationScene ? creationScene->BrushScene() : nullptr;
    auto* sprayer = new (gDefaultHeap) KVXBrushSprayer(scene, tableId);
    sprayer->entries = ReadSprayEntries(tableId, sizeType, kMaxSprayEntries, gDefaultHeap);
    auto* walk = new (gDefaultHeap) IteratingPathGenerator;
    const double path[4] = {1.0, 1.0, 255, 255};
    walk->SetParameters(path);
    sprayer->SetPathGenerator(walk);
    SetBrush(sprayer);
}

KVXToolImageTube::KVXToolImageTube(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType)
    : KVXToolAnim(scene, tableId, sizeType)
{
    cursorIndex = ToolCursorIndex(24, cursorIndex);
    spacingMax = 100;
    ReadSound();
}

void KVXToolImageTube::ReadSound()
{
    MMResourceId sound = ReadItemWord(kImageTubeSounds, sizeType, gDefaultHeap);
    if (sound != MM_NO_RESOURCE)
        soundId = sound;
}

PathGeneratorBase* KVXToolImageTube::NewGrid() const
{
    auto* grid = new (gDefaultHeap) GriddedPathGenerator;
    const double p[4] = {spacingMin / 255.0, spacingMax / 255.0, double(reservedValue),
                         double(diameter)};
    grid->SetParameters(p);
    return grid;
}

void KVXToolImageTube::MakeBrush()
{
    ReadSound();
    KVXBrushScene* scene = creationScene ? creationScene->BrushScene() : nullptr;
    auto* tube = new (gDefaultHeap) KVXBrushGriddedSprayer(scene, sizeType);
    std::vector<KVXSprayEntry> pieces = ReadSprayEntries(tableId, sizeType, 16, gDefaultHeap);
    for (size_t k = 0; k < pieces.size(); ++k)
        tube->entries[k] = pieces[k];
    tube->SetPathGenerator(NewGrid());
    SetBrush(tube);
}

void KVXToolImageTube::MakeGenerator() { AttachGenerator(NewGrid()); }
