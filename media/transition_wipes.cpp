#include "media/transition_wipes.h"

#include <windows.h>
#include <cstdlib>
#include <utility>
#include <vector>
#include "media/dissolve_order.h"
#include "media/surface.h"

namespace {

// Strip count of a wipe with stride s over extent pixels.
int32_t Strips(int32_t s, int32_t extent)
{
    return static_cast<int16_t>((s + extent - 1) / s);
}

}  // namespace

bool MMTransitionWipeLeft::Animate(const Box& box)
{
    int32_t s = WipeStride(box, box.Width());
    int32_t count = Strips(s, box.Width());
    for (int32_t i = 0; i < count; ++i) {
        CopyBox({box.right - s * (i + 1), box.top, box.right - s * i, box.bottom});
        if (!Pace(i, count)) {
            return false;
        }
    }
    return true;
}

bool MMTransitionWipeRight::Animate(const Box& box)
{
    int32_t s = WipeStride(box, box.Width());
    int32_t count = Strips(s, box.Width());
    for (int32_t i = 0; i < count; ++i) {
        CopyBox({box.left + s * i, box.top, box.left + s * (i + 1), box.bottom});
        if (!Pace(i, count)) {
            return false;
        }
    }
    return true;
}

bool MMTransitionWipeDown::Animate(const Box& box)
{
    int32_t s = WipeStride(box, box.Height());
    int32_t count = Strips(s, box.Height());
    for (int32_t i = 0; i < count; ++i) {
        CopyBox({box.left, box.top + s * i, box.right, box.top + s * (i + 1)});
        if (!Pace(i, count)) {
            return false;
        }
    }
    return true;
}

bool MMTransitionWipeUp::Animate(const Box& box)
{
    int32_t s = WipeStride(box, box.Height());
    int32_t count = Strips(s, box.Height());
    for (int32_t i = 0; i < count; ++i) {
        CopyBox({box.left, box.bottom - s * (i + 1), box.right, box.bottom - s * i});
        if (!Pace(i, count)) {
            return false;
        }
    }
    return true;
}

namespace {

// A push seen along its axis: positions run from `low` to `high`, the
// pictures move towards `high` (forward) or towards `low`.
struct PushAxis {
    bool horizontal;
    int32_t low;
    int32_t high;
    Box box;

    // The box's part between along positions a and b.
    Box Part(int32_t a, int32_t b) const
    {
        return horizontal ? Box{a, box.top, b, box.bottom} : Box{box.left, a, box.right, b};
    }
};

}  // namespace

bool MMTransitionPush::Push(const Box& box, int32_t dx, int32_t dy)
{
    PushAxis axis = {dx != 0, dx != 0 ? box.left : box.top, dx != 0 ? box.right : box.bottom,
                     box};
    bool forward = dx + dy > 0;
    int32_t extent = axis.high - axis.low;
    int32_t step = ComputeStep(box, extent);
    if (step >= extent / 2 || !CanScrollBox(box)) {
        DropScrollTiming();
        return false;
    }
    bool scrolled = true;
    bool inTime = true;
    // The new picture enters at the edge the old one leaves from, its far
    // end first.
    int32_t edge = forward ? axis.high : axis.low;
    for (;;) {
        int32_t sourceLow = forward ? edge - step : edge;
        int32_t sourceHigh = forward ? edge : edge + step;
        if (sourceLow < axis.low) {
            sourceLow = axis.low;
            step = edge - axis.low;
        }
        if (sourceHigh > axis.high) {
            sourceHigh = axis.high;
            step = axis.high - edge;
        }
        Box destination = forward ? axis.Part(axis.low, axis.low + step)
                                  : axis.Part(axis.high - step, axis.high);
        Box source = axis.Part(sourceLow, sourceHigh);
        if (!ScrollScreen(box, dx * step, dy * step)) {
            scrolled = false;
        }
        screen->CopyFromOffscreenTo(*offscreen, {source.left, source.top}, destination);
        int32_t shown = forward ? axis.high - sourceLow : sourceHigh - axis.low;
        if (!Pace(shown, extent)) {
            inTime = false;
            break;
        }
        if (shown >= extent) {
            break;
        }
        edge = forward ? sourceLow : sourceHigh;
    }
    EndScrollTiming();
    return scrolled && inTime;
}

bool MMTransitionBoxOut::Animate(const Box& box)
{
    int32_t cx = box.left + box.Width() / 2;
    int32_t cy = box.top + box.Height() / 2;
    int32_t steps = BoxOutSteps(box, static_cast<int16_t>(2 * box.Width()));
    if (steps < 12) {
        return false;
    }
    int32_t d = steps / 4;
    Box previous = {cx, cy, cx, cy};
    for (int32_t n = 1; n <= d; ++n) {
        Box r = {cx + MulDiv(box.left - cx, n, d), cy + MulDiv(box.top - cy, n, d),
                 cx + MulDiv(box.right - cx, n, d), cy + MulDiv(box.bottom - cy, n, d)};
        if (n == 1) {
            CopyBox(r);
        } else {
            const Box& p = previous;
            CopyBox({r.left, r.top, r.right, p.top});
            CopyBox({r.left, r.top, p.left, r.bottom});
            CopyBox({p.right, r.top, r.right, r.bottom});
            CopyBox({r.left, p.bottom, r.right, r.bottom});
        }
        previous = r;
        if (!Pace(n, d)) {
            return false;
        }
    }
    return true;
}

bool MMTransitionBlinds::Animate(const Box& box)
{
    for (int32_t i = 0; i < kSteps; ++i) {
        for (int32_t y = box.top + i; y + 1 <= box.bottom; y += kSteps) {
            CopyBox({box.left, y, box.right, y + 1});
        }
        if (!Pace(i, kSteps)) {
            return false;
        }
    }
    return true;
}

Box MMTransitionRandomBoxes::Cell(const Box& box, int32_t entry)
{
    int32_t left = box.left + (entry >> 6) * kCellWidth;
    int32_t top = box.top + (entry & 63) * kCellHeight;
    return {left, top, left + kCellWidth, top + kCellHeight};
}

bool MMTransitionRandomBoxes::Animate(const Box& box)
{
    const int16_t* order = DissolveOrder();
    for (int32_t i = 0; i < kDissolveOrderSize; ++i) {
        Box cell = Cell(box, order[i]);
        if (cell.Overlaps(box)) {
            CopyBox(cell);  // whole, not clipped to the box
        }
        if (!Pace(i, kDissolveOrderSize)) {
            return false;
        }
    }
    return true;
}

bool MMTransitionRandomLines::Animate(const Box& box)
{
    int32_t rows = static_cast<int16_t>(box.Height());
    if (rows <= 0) {
        return true;
    }
    std::vector<int32_t> list(rows);
    for (int32_t i = 0; i < rows; ++i) {
        list[i] = box.top + i;
    }
    // The runtime's generator, never seeded here: the orders repeat from one
    // run of the program to the next.
    for (int32_t n = rows; n >= 1; --n) {
        int32_t j = std::rand() % n;
        std::swap(list[n - 1], list[j]);
    }
    for (int32_t i = 0; i < rows; ++i) {
        CopyBox({box.left, list[i], box.right, list[i] + 1});
        if (!Pace(i, rows)) {
            return false;
        }
    }
    return true;
}
