#include "shell/app_transitions.h"

#include <algorithm>

#include "media/offscreen_surface.h"

namespace {

const int32_t kPanMargin = 27;
const int32_t kRevealStep = 10;
const int32_t kRevealPushSteps = 13;
const int32_t kRevealBand = 129;

Box Columns(const Box& box, int32_t left, int32_t right)
{
    return Box{left, box.top, right, box.bottom};
}

}  // namespace

bool KVXTransitionPanRight::Animate(const Box& box)
{
    int32_t width = box.Width();
    int32_t step = ComputeStep(box, width - kPanMargin);
    if (step >= width / 2 || !CanScrollBox(box)) {
        DropScrollTiming();
        return false;
    }
    int32_t x = box.left + kPanMargin;
    int32_t total = box.right - x;
    if (x % 4 != 0) {
        int32_t from = x - x % 4;
        int32_t strip = std::min(step, box.right - from);
        ScrollScreen(box, -std::max(0, step - x % 4), 0);
        screen->CopyFromOffscreenTo(*offscreen, {from, box.top},
                                    Columns(box, box.right - strip, box.right));
        x = from + strip;
    }
    while (x < box.right) {
        int32_t strip = std::min(step, box.right - x);
        ScrollScreen(box, -strip, 0);
        screen->CopyFromOffscreenTo(*offscreen, {x, box.top},
                                    Columns(box, box.right - strip, box.right));
        x += strip;
        if (!Pace(x - (box.right - total), total))
            break;
    }
    EndScrollTiming();
    return false;
}

bool KVXTransitionPanLeft::Animate(const Box& box)
{
    int32_t width = box.Width();
    int32_t step = ComputeStep(box, width - kPanMargin);
    if (step >= width / 2 || !CanScrollBox(box)) {
        DropScrollTiming();
        return false;
    }
    int32_t start = box.right - kPanMargin;
    int32_t x = start;
    int32_t total = x - box.left;
    bool inTime = true;
    if (x % 4 != 0) {
        int32_t strip = std::min(x % 4, x - box.left);
        ScrollScreen(box, strip, 0);
        screen->CopyFromOffscreenTo(*offscreen, {x - strip, box.top},
                                    Columns(box, box.left, box.left + strip));
        x -= strip;
    }
    while (x > box.left) {
        int32_t strip = std::min(step, x - box.left);
        ScrollScreen(box, strip, 0);
        screen->CopyFromOffscreenTo(*offscreen, {x - strip, box.top},
                                    Columns(box, box.left, box.left + strip));
        x -= strip;
        if (!Pace(start - x, total)) {
            inTime = false;
            break;
        }
    }
    EndScrollTiming();
    if (!inTime)
        return false;
    // The margin the pan never reached still shows the old picture.
    CopyBox(Columns(box, start, box.right));
    return true;
}

void KVXTransitionWipeUp::Run(MMSurface* screen, WinMMOffscreenSurface* offscreen, const Box&,
                              const MMColorTable* table)
{
    MMTransitionWipeUp::Run(screen, offscreen, fixedBox, table);
}

void KVXTransitionWipeDown::Run(MMSurface* screen, WinMMOffscreenSurface* offscreen, const Box&,
                                const MMColorTable* table)
{
    MMTransitionWipeDown::Run(screen, offscreen, fixedBox, table);
}

void KVXTransitionUndoDissolve::Run(MMSurface* screen, WinMMOffscreenSurface* offscreen,
                                    const Box&, const MMColorTable* table)
{
    MMTransitionDissolve::Run(screen, offscreen, fixedBox, table);
}

bool KVXTransitionRevealLeft::Animate(const Box& box)
{
    int32_t n = (box.Width() + kRevealStep - 1) / kRevealStep;
    if (n <= 0)
        return true;
    // Never more push steps than the box has strips: more would scroll the
    // new picture out again.
    int32_t pushes = std::min(kRevealPushSteps, n);
    int32_t from = box.left;
    for (int32_t i = 0; i < pushes; ++i) {
        int32_t strip = std::min(kRevealStep, box.right - from);
        ScrollScreen(box, -strip, 0);
        screen->CopyFromOffscreenTo(*offscreen, {from, box.top},
                                    Columns(box, box.right - strip, box.right));
        from += strip;
        if (!Pace(i + 1, n))
            return false;
    }
    if (n <= pushes)
        return true;
    // The pushed band stands where the new picture's left part belongs;
    // the rest is uncovered in place and the band put right at the end.
    int32_t edge = box.right - pushes * kRevealStep;
    for (int32_t i = pushes; i < n && edge > box.left; ++i) {
        int32_t strip = std::min(kRevealStep, edge - box.left);
        ScrollScreen(Columns(box, box.left, edge), -strip, 0);
        CopyBox(Columns(box, edge - strip, edge));
        edge -= strip;
        if (!Pace(i + 1, n))
            break;
    }
    return false;
}

bool KVXTransitionRevealRight::Animate(const Box& box)
{
    int32_t n = (box.Width() + kRevealStep - 1) / kRevealStep;
    if (n <= 0)
        return true;
    int32_t end = box.right;
    for (int32_t k = 0; k < n; ++k) {
        int32_t strip = std::min(kRevealStep, end - box.left);
        int32_t scrolledRight = std::min(box.right, box.left + kRevealBand + k * kRevealStep);
        ScrollScreen(Columns(box, box.left, scrolledRight), strip, 0);
        screen->CopyFromOffscreenTo(*offscreen, {end - strip, box.top},
                                    Columns(box, box.left, box.left + strip));
        end -= strip;
        if (!Pace(k + 1, n))
            return false;
    }
    return true;
}
