#include "tools/color_cycle_tool.h"

#include "brushes/std_brush.h"

KVXToolColorCycle::KVXToolColorCycle(MMResourceId tableId, const uint8_t*,
                                     KVXCreationHost* creationScene)
    : KVXToolStd(creationScene, tableId, 2)
{
}

void KVXToolColorCycle::MakeBrush()
{
    KVXStdBrushArgs args(pressures, GetCanvasComponentPlane(), GetCanvasBytePlane());
    SetBrush(new (gDefaultHeap)
                 KVXBrushStdTransfer<KVXColorCycleColorTransfer, KVXColorCycleColorPixelTypeTransfer,
                                     KVXHeightTransfer, KVXColorCycleColorGenerator,
                                     KVXOpacityGeneratorNib>(
                     args.path, args.ramp, args.opacity, args.heights, args.plane, args.nib,
                     args.texture, colour));
}
