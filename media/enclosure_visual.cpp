#include "media/enclosure_visual.h"

#include "engine/enclosure.h"

MMEnclosureVisual::MMEnclosureVisual(MMChildEnclosure* child) : child(child)
{
    child->SetVisual(this);
}

MMEnclosureVisual::~MMEnclosureVisual()
{
    delete child;
}

void MMEnclosureVisual::RedrawRegion(MMSurface*, const MMRectangleList& region)
{
    child->Redraw(region);
}

bool MMEnclosureVisual::ContainsPoint(int32_t x, int32_t y)
{
    return FindVisualAt(x, y) != nullptr;
}

MMVisual* MMEnclosureVisual::FindVisualAt(int32_t x, int32_t y)
{
    if (!GetBounds().Contains({x, y})) {
        return nullptr;
    }
    return child->FindVisualAt({x, y});
}

void MMEnclosureVisual::SetEnclosure(MMEnclosure* newEnclosure)
{
    MMBoxBasedVisual::SetEnclosure(newEnclosure);
    child->SetSurface(newEnclosure != nullptr ? newEnclosure->Surface() : nullptr);
}

void MMEnclosureVisual::Draw(MMSurface*) {}

void MMChildWindowVisual::SetPosition(int32_t x, int32_t y)
{
    MMEnclosureVisual::SetPosition(x, y);
    child->SetOrigin({x, y});
}

void MMChildWindowVisual::SetBox(const Box& newBox)
{
    MMEnclosureVisual::SetBox(newBox);
    child->SetOrigin({newBox.left, newBox.top});
}
