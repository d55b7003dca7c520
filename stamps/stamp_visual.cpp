#include "stamps/stamp_visual.h"

MMStampPictureBasedVisual::MMStampPictureBasedVisual()
{
    SetHitTransparency(255);
}

Pair MMStampPictureBasedVisual::DisplaySize() const
{
    Pair natural = picture.IsEmpty() ? Pair{0, 0} : picture.GetSize();
    return {width < 0 ? int32_t(natural.x * scaleX) : width,
            height < 0 ? int32_t(natural.y * scaleY) : height};
}

void MMStampPictureBasedVisual::SetScale(double x, double y)
{
    if (x == scaleX && y == scaleY)
        return;
    Invalidate();
    scaleX = x;
    scaleY = y;
    Invalidate();
}

Box MMStampPictureBasedVisual::GetBounds() const
{
    Pair size = DisplaySize();
    return {x, y, x + size.x, y + size.y};
}

void MMStampPictureBasedVisual::SetDisplaySize(int32_t w, int32_t h)
{
    if (w == width && h == height)
        return;
    Invalidate();
    width = w;
    height = h;
    Invalidate();
}

bool MMStampPictureBasedVisual::ContainsPoint(int32_t px, int32_t py)
{
    Box bounds = GetBounds();
    if (picture.IsEmpty() || !bounds.Contains({px, py}))
        return false;
    // The point is looked up in the picture as it is drawn: scaled to the
    // displayed size and mirrored.
    Pair natural = picture.GetSize();
    Pair shown = DisplaySize();
    int32_t lx = int32_t(int64_t(px - x) * natural.x / shown.x);
    int32_t ly = int32_t(int64_t(py - y) * natural.y / shown.y);
    if (mirrorHorizontally)
        lx = natural.x - 1 - lx;
    if (mirrorVertically)
        ly = natural.y - 1 - ly;
    return picture.TransparencyAt({lx, ly}) <= hitTransparency;
}
