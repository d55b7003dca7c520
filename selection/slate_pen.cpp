#include "selection/slate_pen.h"

#include <algorithm>

#include "engine/enclosure.h"
#include "selection/shape_visuals.h"

namespace {
const int16_t kBandLayer = 150;
}  // namespace

Pair SlateClamped(const Box& bounds, int32_t x, int32_t y)
{
    return {std::clamp(x, bounds.left, bounds.right - 1),
            std::clamp(y, bounds.top, bounds.bottom - 1)};
}

void KVXSlatePen::Press(MMVisual* canvas, const Pair& point, MMEnclosure* top)
{
    if (shape == kSlateCircle) {
        band = new KVXEllipticalShapeVisual(canvas, point.x, point.y, kBandLayer);
    } else if (shape == kSlateSquare) {
        band = new KVXRectangularShapeVisual(canvas, point.x, point.y, kBandLayer);
    } else {
        stroke.Press(point);
        auto* line = new KVXPolyLineShapeVisual(canvas, point.x, point.y, kBandLayer);
        line->AddPoint(point.x, point.y);
        band = line;
    }
    if (top != nullptr)
        top->AddVisual(band);
}

void KVXSlatePen::Move(const Pair& point)
{
    if (shape != kSlateFreehand) {
        if (band != nullptr)
            band->TrackPoint(point.x, point.y);
    } else if (stroke.Move(point) && band != nullptr) {
        static_cast<KVXPolyLineShapeVisual*>(band)->AddPoint(point.x, point.y);
    }
}

std::vector<Pair> KVXSlatePen::Release(const Pair& point)
{
    if (shape == kSlateFreehand)
        return stroke.Release(point);
    Move(point);
    return SlateShapeStroke(shape == kSlateCircle, band, point);
}

void KVXSlatePen::RemoveBand()
{
    if (band == nullptr)
        return;
    band->Invalidate();
    if (band->Enclosure() != nullptr)
        band->Enclosure()->RemoveVisual(band);
    delete band;
    band = nullptr;
}
