#pragma once
// A nested enclosure shown as one visual of its parent: its own visuals are
// drawn, clipped and hit-tested inside the visual's box.
#include "media/visual.h"

class MMChildEnclosure;

class MMEnclosureVisual : public MMBoxBasedVisual {
public:
    // Owns the child enclosure and registers itself with it.
    explicit MMEnclosureVisual(MMChildEnclosure* child);
    ~MMEnclosureVisual() override;
    MMEnclosureVisual(const MMEnclosureVisual&) = delete;
    MMEnclosureVisual& operator=(const MMEnclosureVisual&) = delete;

    void RedrawRegion(MMSurface* surface, const MMRectangleList& region) override;
    // Hit only where an inner visual is hit.
    bool ContainsPoint(int32_t x, int32_t y) override;
    MMVisual* FindVisualAt(int32_t x, int32_t y) override;
    void SetEnclosure(MMEnclosure* newEnclosure) override;
    void Draw(MMSurface* surface) override;

    MMChildEnclosure* Child() const { return child; }

protected:
    MMChildEnclosure* child;
};

// Its inner coordinates start at its top-left corner, so moving it moves
// everything inside.
class MMChildWindowVisual : public MMEnclosureVisual {
public:
    explicit MMChildWindowVisual(MMChildEnclosure* child) : MMEnclosureVisual(child) {}

    void SetPosition(int32_t x, int32_t y) override;
    void SetBox(const Box& newBox) override;
};
