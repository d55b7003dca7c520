#include "canvas/undo_snapshot.h"

UndoSnapshot::UndoSnapshot(const KVXPlaneComponentTop& plane) : copy(plane.Size())
{
    Checkpoint(plane);
}

void UndoSnapshot::Checkpoint(const KVXPlaneComponentTop& plane)
{
    if (plane.bits && copy.bits)
        plane.CopyPixelsTo(copy);
}

void UndoSnapshot::Swap(KVXPlaneComponentTop& plane) { plane.SwapPixels(copy); }
