#pragma once
// Transition effects copy a box of the back buffer to the screen as an
// animation paced against the clock; the cut is the plain copy the stage
// uses for every ordinary frame. Every effect ends with the whole new
// picture on the screen.
#include <cstdint>
#include "framework/geometry.h"
#include "framework/thread.h"

class MMColorTable;
class MMSurface;
class WinMMOffscreenSurface;

// What the effects have measured of the machine, shared by all of them.
struct MMTransitionTiming {
    int32_t largestArea = 0;         // pixels of the largest box whose copy was timed
    int32_t copyCost = 150;          // ms to copy 100,000 pixels
    int32_t singleCopyTime = 150;    // ms of 1000 copies of one pixel; at least 1
    bool measureSingleCopies = true; // the next cut measures singleCopyTime
    int32_t scrollTime = 0;          // ms of the first timed push; 0 until measured
    int32_t scrollCount = 0;         // scrolls during timed pushes
    bool scrollTiming = false;       // a push is being timed
};

MMTransitionTiming& TransitionTiming();

// Told of every step an effect has drawn, before the effect waits for the
// step's time.
class MMTransitionObserver {
public:
    virtual ~MMTransitionObserver() = default;
    virtual void StepShown(int32_t step, int32_t steps) = 0;
};

class MMTransitionEffect {
public:
    static constexpr int32_t kDuration = 1500;
    static constexpr int32_t kDeadline = 3000;

    MMTransitionEffect() = default;
    virtual ~MMTransitionEffect() = default;

    // Copies the box of the offscreen surface to the same place of the
    // screen, animated, at the highest thread priority; the table, when
    // given, becomes the screen's palette first.
    virtual void Run(MMSurface* screen, WinMMOffscreenSurface* offscreen, const Box& box,
                     const MMColorTable* table);   // 0
    // False leaves the copy of the whole box to Run.
    virtual bool Animate(const Box& box);           // 1

    void SetDuration(int32_t ms) { duration = ms; }
    int32_t Duration() const { return duration; }
    void SetDeadline(int32_t ms) { deadline = ms; }
    int32_t Deadline() const { return deadline; }
    void SetClock(MMClockSource source) { clock = source; }
    void SetObserver(MMTransitionObserver* value) { observer = value; }
    // Without pacing the steps follow each other at once.
    void SetPacing(bool on) { pacing = on; }

    // Helpers of the effects.
    void CopyBox(const Box& box);
    void FillBlack(const Box& box);
    // True when the whole box scrolled.
    bool ScrollScreen(const Box& box, int32_t dx, int32_t dy);
    void ApplyColorTable(const MMColorTable* table);
    // Called after step i of n was drawn: waits until i/n of the duration
    // has gone by; false once the effect is past its deadline.
    bool Pace(int32_t i, int32_t n);
    int32_t ExpectedCopyTime(const Box& box) const;
    int32_t WipeStride(const Box& box, int32_t extent) const;
    int32_t BoxOutSteps(const Box& box, int32_t n) const;
    int32_t ComputeStep(const Box& box, int32_t distance);
    bool CanScrollBox(const Box& box) const { return true; }
    void EndScrollTiming();
    // Ends the timing of a push that stops before it scrolled: the scroll
    // time stays unmeasured and later effects are paced again.
    void DropScrollTiming();

    MMSurface* Screen() const { return screen; }
    WinMMOffscreenSurface* Offscreen() const { return offscreen; }
    uint32_t StartTime() const { return startTime; }

protected:
    uint32_t Now() const { return clock(); }
    int32_t Elapsed() const { return static_cast<int32_t>(Now() - startTime); }
    void Begin(MMSurface* newScreen, WinMMOffscreenSurface* newOffscreen,
               const MMColorTable* table);
    void End();

    int32_t duration = kDuration;
    int32_t deadline = kDeadline;
    WinMMOffscreenSurface* offscreen = nullptr;
    MMSurface* screen = nullptr;
    uint32_t startTime = 0;
    MMClockSource clock = ElapsedMilliseconds;
    MMTransitionObserver* observer = nullptr;
    bool pacing = true;
};

// The plain copy; it measures the copy speed as it goes and leaves the
// thread's priority as it is.
class MMTransitionCut : public MMTransitionEffect {
public:
    void Run(MMSurface* screen, WinMMOffscreenSurface* offscreen, const Box& box,
             const MMColorTable* table) override;
};
