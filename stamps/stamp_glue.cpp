#include "stamps/stamp_glue.h"

#include "canvas/canvas_visual.h"
#include "engine/picture_collection.h"

Pair GluePlanePoint(const KVXCanvasVisual& canvas, const Pair& stagePoint)
{
    return {canvas.ViewToCanvasX(stagePoint.x), canvas.ViewToCanvasY(stagePoint.y)};
}

Box GlueStampPicture(KVXCanvasVisual* canvas, const MMPictureReference& picture,
                     const Pair& stagePoint)
{
    if (canvas == nullptr || canvas->Plane() == nullptr || picture.IsEmpty())
        return {0, 0, 0, 0};
    Pair at = GluePlanePoint(*canvas, stagePoint);
    Pair size = picture.GetSize();
    canvas->Plane()->LoadFromPicture(picture, at);
    Box glued = {at.x, at.y, at.x + size.x + 2, at.y + size.y + 2};
    canvas->RefreshDrawMethodRect(glued);
    canvas->Invalidate();
    return glued;
}
