#include "text/canvas_text_target.h"

#include "canvas/canvas_visual.h"
#include "canvas/plane.h"

KVXPlaneComponentTop* KVXCanvasTextTarget::Plane() { return canvas ? canvas->Plane() : nullptr; }

Pair KVXCanvasTextTarget::Origin()
{
    if (canvas == nullptr)
        return Pair{0, 0};
    Box bounds = canvas->GetBounds();
    return Pair{bounds.left, bounds.top};
}

void KVXCanvasTextTarget::TakeUndoSnapshot()
{
    if (canvas)
        canvas->SnapshotForUndo(true);
}

void KVXCanvasTextTarget::PlaneChanged()
{
    if (canvas)
        canvas->Invalidate();
}
