#include "media/transition_effect.h"

#include <windows.h>
#include <algorithm>
#include "media/offscreen_surface.h"

namespace {

int64_t Area(const Box& box)
{
    if (box.right <= box.left || box.bottom <= box.top) {
        return 0;
    }
    return int64_t(box.Width()) * box.Height();
}

RECT AsRect(const Box& box)
{
    return {box.left, box.top, box.right, box.bottom};
}

}  // namespace

MMTransitionTiming& TransitionTiming()
{
    static MMTransitionTiming timing;
    return timing;
}

void MMTransitionEffect::Begin(MMSurface* newScreen, WinMMOffscreenSurface* newOffscreen,
                               const MMColorTable* table)
{
    screen = newScreen;
    offscreen = newOffscreen;
    startTime = Now();
    ApplyColorTable(table);
    screen->Lock();
    offscreen->Lock();
}

void MMTransitionEffect::End()
{
    screen->Unlock();
    offscreen->Unlock();
}

void MMTransitionEffect::Run(MMSurface* newScreen, WinMMOffscreenSurface* newOffscreen,
                             const Box& box, const MMColorTable* table)
{
    Begin(newScreen, newOffscreen, table);
    HANDLE thread = GetCurrentThread();
    int priority = GetThreadPriority(thread);
    SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST);
    if (!Animate(box)) {
        CopyBox(box);
    }
    // However the effect ended, the effects after it are paced.
    DropScrollTiming();
    SetThreadPriority(thread, priority);
    End();
}

bool MMTransitionEffect::Animate(const Box&)
{
    return false;
}

void MMTransitionEffect::CopyBox(const Box& box)
{
    screen->CopyFromOffscreen(*offscreen, box);
}

void MMTransitionEffect::FillBlack(const Box& box)
{
    screen->FillBlack(AsRect(box));
}

bool MMTransitionEffect::ScrollScreen(const Box& box, int32_t dx, int32_t dy)
{
    MMTransitionTiming& timing = TransitionTiming();
    if (timing.scrollTiming) {
        ++timing.scrollCount;
    }
    return screen->Scroll(AsRect(box), dx, dy);
}

void MMTransitionEffect::ApplyColorTable(const MMColorTable* table)
{
    if (table != nullptr) {
        screen->SetColorTable(*table);
    }
}

bool MMTransitionEffect::Pace(int32_t i, int32_t n)
{
    if (observer != nullptr) {
        observer->StepShown(i, n);
    }
    if (Elapsed() > deadline) {
        return false;
    }
    if (TransitionTiming().scrollTiming || !pacing) {
        return true;
    }
    int64_t target = n > 0 ? int64_t(duration) * i / n : duration;
    while (Elapsed() < target) {
        YieldProcessor();
    }
    return true;
}

int32_t MMTransitionEffect::ExpectedCopyTime(const Box& box) const
{
    return static_cast<int32_t>(Area(box) * TransitionTiming().copyCost / 100000);
}

int32_t MMTransitionEffect::WipeStride(const Box& box, int32_t extent) const
{
    extent = std::max<int32_t>(static_cast<int16_t>(extent), 1);
    int32_t remaining = duration - ExpectedCopyTime(box);
    if (remaining < 1) {
        return extent;
    }
    int64_t affordable =
        int64_t(remaining) * 1000 / std::max<int32_t>(TransitionTiming().singleCopyTime, 1);
    if (affordable > extent) {
        return 1;
    }
    if (affordable < 2) {
        return extent;
    }
    return static_cast<int32_t>(extent / affordable);
}

int32_t MMTransitionEffect::BoxOutSteps(const Box& box, int32_t n) const
{
    int32_t remaining = duration - ExpectedCopyTime(box);
    if (remaining < 1) {
        return 1;
    }
    int64_t affordable =
        int64_t(remaining) * 1000 / std::max<int32_t>(TransitionTiming().singleCopyTime, 1);
    return static_cast<int32_t>(std::min<int64_t>(affordable, n));
}

int32_t MMTransitionEffect::ComputeStep(const Box& box, int32_t distance)
{
    MMTransitionTiming& timing = TransitionTiming();
    if (timing.scrollTime == 0) {
        // The first push runs in 2-pixel steps, flat out, and is timed.
        timing.scrollTiming = true;
        return 2;
    }
    int32_t remaining = duration - ExpectedCopyTime(box);
    int64_t fitting = int64_t(remaining) * timing.scrollCount / timing.scrollTime;
    int32_t step;
    if (fitting > distance) {
        step = 1;
    } else if (fitting < 2) {
        step = distance;
    } else {
        step = static_cast<int32_t>((distance + fitting - 1) / fitting);
    }
    if (step > 2) {
        return (step + 3) & ~3;
    }
    if (offscreen->GetPixelKind() != kPixelIndexed && screen->GetPixelKind() == kPixelIndexed) {
        return 4;
    }
    return step;
}

void MMTransitionEffect::EndScrollTiming()
{
    MMTransitionTiming& timing = TransitionTiming();
    if (timing.scrollTiming) {
        timing.scrollTime = Elapsed();
        timing.scrollTiming = false;
    }
}

void MMTransitionEffect::DropScrollTiming()
{
    TransitionTiming().scrollTiming = false;
}

void MMTransitionCut::Run(MMSurface* newScreen, WinMMOffscreenSurface* newOffscreen,
                          const Box& box, const MMColorTable* table)
{
    Begin(newScreen, newOffscreen, table);
    MMTransitionTiming& timing = TransitionTiming();
    int64_t area = Area(box);
    if (area > timing.largestArea) {
        uint32_t t0 = Now();
        CopyBox(box);
        uint32_t t1 = Now();
        timing.largestArea = static_cast<int32_t>(area);
        timing.copyCost = static_cast<int32_t>(int64_t(int32_t(t1 - t0)) * 100000 / area);
    } else {
        CopyBox(box);
    }
    if (timing.measureSingleCopies) {
        Box one = {box.left, box.top, box.left + 1, box.top + 1};
        uint32_t t0 = Now();
        for (int i = 0; i < 1000; ++i) {
            CopyBox(one);
        }
        // A clock too coarse to see the copies still leaves a cost to divide by.
        timing.singleCopyTime = std::max<int32_t>(static_cast<int32_t>(Now() - t0), 1);
        timing.measureSingleCopies = false;
    }
    End();
}
