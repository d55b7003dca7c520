#pragma once
// A slate pen's stroke while it is drawn, on the painting screen's slate and
// on the chalk talk's board alike: the free line keeps its points and shows
// them as a rubber band; the circle and the square show their outline from
// the press to the pointer and give the outline's points when let go.
#include <vector>

#include "framework/geometry.h"
#include "selection/magic_slate_tool_collection.h"

class KVXShapeVisual;
class MMEnclosure;
class MMVisual;

// The pointer kept inside the canvas's bounds.
Pair SlateClamped(const Box& bounds, int32_t x, int32_t y);

class KVXSlatePen {
public:
    explicit KVXSlatePen(SlateShape shape) : shape(shape) {}
    ~KVXSlatePen() { RemoveBand(); }
    KVXSlatePen(const KVXSlatePen&) = delete;
    KVXSlatePen& operator=(const KVXSlatePen&) = delete;

    // The band starts over the canvas, shown in the enclosure when there is one.
    void Press(MMVisual* canvas, const Pair& point, MMEnclosure* top);
    void Move(const Pair& point);
    // The stroke; the band stays until RemoveBand.
    std::vector<Pair> Release(const Pair& point);
    void RemoveBand();

private:
    SlateShape shape;
    KVXSlateStrokePoints stroke;
    KVXShapeVisual* band = nullptr;
};
