#include "engine/enclosure.h"

#include <algorithm>

#include "engine/stage.h"
#include "media/rectangle_list.h"
#include "media/surface.h"
#include "media/visual.h"

MMEnclosure::~MMEnclosure() = default;

void MMEnclosure::SetSurface(MMSurface* surface)
{
    surface_ = surface;
    for (MMVisual* visual : std::vector<MMVisual*>(visuals_))
        visual->SetEnclosure(this);
}

void MMEnclosure::SortVisuals()
{
    std::stable_sort(visuals_.begin(), visuals_.end(), [](const MMVisual* a, const MMVisual* b) {
        return int16_t(a->Layer()) < int16_t(b->Layer());
    });
}

void MMEnclosure::AddVisual(MMVisual* visual)
{
    if (!visual)
        return;
    visuals_.push_back(visual);
    SortVisuals();
    visual->SetEnclosure(this);
}

void MMEnclosure::RemoveVisual(MMVisual* visual)
{
    if (!visual)
        return;
    visual->SetEnclosure(nullptr);
    visuals_.erase(std::remove(visuals_.begin(), visuals_.end(), visual), visuals_.end());
}

void MMEnclosure::Redraw(const MMRectangleList& list)
{
    if (!surface_)
        return;
    surface_->Lock();
    for (MMVisual* visual : visuals_) {
        if (!visual->IsHidden())
            visual->RedrawRegion(surface_, list);
    }
    surface_->Unlock();
}

MMVisual* MMEnclosure::FindVisualAt(const Pair& point)
{
    for (auto it = visuals_.rbegin(); it != visuals_.rend(); ++it) {
        MMVisual* visual = *it;
        if (visual->IsHidden())
            continue;
        if (MMVisual* hit = visual->FindVisualAt(point.x, point.y))
            return hit;
    }
    return nullptr;
}

void MMTopEnclosure::SetSurface(MMSurface* surface)
{
    MMEnclosure::SetSurface(surface);
    if (surface_)
        Invalidate(GetBounds());
}

Box MMTopEnclosure::GetBounds() const
{
    return surface_ ? surface_->GetBounds() : Box{0, 0, 0, 0};
}

void MMTopEnclosure::Invalidate(const Box& box)
{
    Box clipped = box;
    clipped.Intersect(GetBounds());
    if (stage_ && !clipped.IsEmpty())
        stage_->Invalidate(clipped);
}

void MMTopEnclosure::InvalidateList(const MMRectangleList& list)
{
    MMRectangleList clipped = list;
    clipped.ClipToBox(GetBounds());
    if (stage_)
        stage_->InvalidateList(clipped);
}

MMEnclosure* MMChildEnclosure::Parent() const { return visual_ ? visual_->Enclosure() : nullptr; }

// The child's own list, moved into local coordinates and clipped to the
// visible part, drawn with the surface origin shifted by the child's origin.
void MMChildEnclosure::Redraw(const MMRectangleList& list)
{
    if (!surface_)
        return;
    MMRectangleList local = list;
    local.Offset(Pair{-origin_.x, -origin_.y});
    local.ClipToBox(GetBounds());
    if (local.IsEmpty())
        return;
    Box bounds = surface_->GetBounds();
    surface_->SetOrigin(Pair{bounds.left - origin_.x, bounds.top - origin_.y});
    MMEnclosure::Redraw(local);
    surface_->SetOrigin(Pair{bounds.left, bounds.top});
}

bool MMChildEnclosure::IsInside(const MMEnclosure* enclosure) const
{
    if (!enclosure)
        return false;
    for (MMEnclosure* parent = Parent(); parent;) {
        if (parent == enclosure)
            return true;
        MMChildEnclosure* child = dynamic_cast<MMChildEnclosure*>(parent);
        parent = child ? child->Parent() : nullptr;
    }
    return false;
}

MMVisual* MMChildEnclosure::FindVisualAt(const Pair& point)
{
    return MMEnclosure::FindVisualAt(Pair{point.x - origin_.x, point.y - origin_.y});
}

void MMChildEnclosure::ListFromStage(MMRectangleList& list) const
{
    if (MMEnclosure* parent = Parent())
        parent->ListFromStage(list);
    list.Offset(Pair{-origin_.x, -origin_.y});
}

void MMChildEnclosure::BoxFromStage(Box& box) const
{
    if (MMEnclosure* parent = Parent())
        parent->BoxFromStage(box);
    box.Offset(Pair{-origin_.x, -origin_.y});
}

void MMChildEnclosure::PointFromStage(Pair& point) const
{
    if (MMEnclosure* parent = Parent())
        parent->PointFromStage(point);
    point.x -= origin_.x;
    point.y -= origin_.y;
}

void MMChildEnclosure::ListToStage(MMRectangleList& list) const
{
    list.Offset(origin_);
    if (MMEnclosure* parent = Parent())
        parent->ListToStage(list);
}

void MMChildEnclosure::BoxToStage(Box& box) const
{
    box.Offset(origin_);
    if (MMEnclosure* parent = Parent())
        parent->BoxToStage(box);
}

void MMChildEnclosure::PointToStage(Pair& point) const
{
    point.x += origin_.x;
    point.y += origin_.y;
    if (MMEnclosure* parent = Parent())
        parent->PointToStage(point);
}

Box MMChildEnclosure::GetBounds() const
{
    if (!visual_)
        return Box{0, 0, 0, 0};
    Box bounds = visual_->GetBounds();
    bounds.Offset(Pair{-origin_.x, -origin_.y});
    return bounds;
}

void MMChildEnclosure::Invalidate(const Box& box)
{
    Box clipped = box;
    clipped.Intersect(GetBounds());
    clipped.Offset(origin_);
    MMEnclosure* parent = Parent();
    if (parent && !clipped.IsEmpty())
        parent->Invalidate(clipped);
}

void MMChildEnclosure::InvalidateList(const MMRectangleList& list)
{
    MMRectangleList clipped = list;
    clipped.ClipToBox(GetBounds());
    clipped.Offset(origin_);
    MMEnclosure* parent = Parent();
    if (parent && !clipped.IsEmpty())
        parent->InvalidateList(clipped);
}
