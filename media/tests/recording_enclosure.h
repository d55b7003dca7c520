#pragma once
// An enclosure over a test's surface that records what is invalidated.
#include <vector>
#include "engine/enclosure.h"
#include "media/rectangle_list.h"
#include "media/surface.h"

class RecordingEnclosure : public MMEnclosure {
public:
    bool IsInside(const MMEnclosure*) const override { return false; }
    Box GetBounds() const override { return surface_ ? surface_->GetBounds() : Box{0, 0, 0, 0}; }
    void Invalidate(const Box& box) override { marked.push_back(box); }
    void InvalidateList(const MMRectangleList& list) override
    {
        for (const Box& box : list) {
            marked.push_back(box);
        }
    }
    void RedrawAll()
    {
        MMRectangleList all;
        all.Add(GetBounds());
        Redraw(all);
        GdiFlush();
    }
    std::vector<Box> marked;
};
