#pragma once
// Two small back buffers for the transition tests: the "screen" shows the
// old picture, the offscreen surface holds the new one; a clock the test
// drives; an observer that looks at the screen after every step.
#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>
#include "media/offscreen_surface.h"
#include "media/transition_effect.h"

struct TestClock {
    static inline uint32_t now = 1000;
    static inline uint32_t advance = 0;  // added after every read
    static inline uint32_t reads = 0;
    static uint32_t Now()
    {
        ++reads;
        uint32_t value = now;
        now += advance;
        return value;
    }
    static void Set(uint32_t value, uint32_t step)
    {
        now = value;
        advance = step;
        reads = 0;
    }
};

// A pixel pattern: every pixel of a picture differs from the other's.
inline uint32_t NewPixel(int32_t x, int32_t y)
{
    return 0x00800000u | (uint32_t(y) << 10) | uint32_t(x);
}
inline uint32_t OldPixel(int32_t x, int32_t y)
{
    return 0x00400000u | (uint32_t(y) << 10) | uint32_t(x);
}

class Pictures {
public:
    Pictures(const Box& box, int32_t screenBits = 32, int32_t offscreenBits = 32)
        : screen(MMSurface::CreateBitmapDC(screenBits, box, nullptr)),
          offscreen(MMSurface::CreateBitmapDC(offscreenBits, box, nullptr))
    {
        Paint(offscreen, NewPixel);
        Paint(screen, OldPixel);
    }
    ~Pictures()
    {
        screen->Dispose();
        offscreen->Dispose();
    }

    static void Paint(WinMMOffscreenSurface* surface, uint32_t (*pixel)(int32_t, int32_t))
    {
        MMBitmap store;
        surface->GetBitmap(store);
        for (int32_t y = store.box.top; y < store.box.bottom; ++y) {
            for (int32_t x = store.box.left; x < store.box.right; ++x) {
                uint32_t value = pixel(x, y);
                std::memcpy(store.PixelAddress(x, y), &value, store.bitsPerPixel / 8);
            }
        }
    }
    static uint32_t PixelOf(WinMMOffscreenSurface* surface, int32_t x, int32_t y)
    {
        MMBitmap store;
        surface->GetBitmap(store);
        uint32_t value = 0;
        std::memcpy(&value, store.PixelAddress(x, y), store.bitsPerPixel / 8);
        return value & 0x00FFFFFFu;
    }
    // Pixels of the screen that show the new picture.
    std::vector<Pair> Shown() const
    {
        GdiFlush();
        std::vector<Pair> shown;
        Box bounds = screen->GetBounds();
        for (int32_t y = bounds.top; y < bounds.bottom; ++y) {
            for (int32_t x = bounds.left; x < bounds.right; ++x) {
                if (PixelOf(screen, x, y) == (NewPixel(x, y) & 0x00FFFFFFu)) {
                    shown.push_back({x, y});
                }
            }
        }
        return shown;
    }
    bool AllShown() const
    {
        Box bounds = screen->GetBounds();
        return Shown().size() == size_t(bounds.Width()) * bounds.Height();
    }
    void Run(MMTransitionEffect& effect, const Box& box, const MMColorTable* table = nullptr)
    {
        effect.Run(screen, offscreen, box, table);
        GdiFlush();
    }

    WinMMOffscreenSurface* screen;
    WinMMOffscreenSurface* offscreen;
};

// The pixels of a box, row by row.
inline std::vector<Pair> PixelsOf(std::initializer_list<Box> boxes)
{
    std::vector<Pair> pixels;
    Box all = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (const Box& b : boxes) {
        all = {std::min(all.left, b.left), std::min(all.top, b.top), std::max(all.right, b.right),
               std::max(all.bottom, b.bottom)};
    }
    for (int32_t y = all.top; y < all.bottom; ++y) {
        for (int32_t x = all.left; x < all.right; ++x) {
            for (const Box& b : boxes) {
                if (b.Contains({x, y})) {
                    pixels.push_back({x, y});
                    break;
                }
            }
        }
    }
    return pixels;
}

// Records, for the first `limit` steps, the pixels that each step brought to
// the screen and all it shows.
class StepRecorder : public MMTransitionObserver {
public:
    explicit StepRecorder(const Pictures& pictures, int32_t limit = INT32_MAX)
        : pictures(pictures), limit(limit)
    {
    }
    void StepShown(int32_t step, int32_t steps) override
    {
        this->steps.push_back({step, steps});
        if (static_cast<int32_t>(whole.size()) < limit) {
            std::vector<Pair> now = pictures.Shown();
            Box bounds = pictures.screen->GetBounds();
            std::vector<bool> seen(size_t(bounds.Width()) * bounds.Height(), false);
            for (const Pair& p : before) {
                seen[size_t(p.y - bounds.top) * bounds.Width() + (p.x - bounds.left)] = true;
            }
            std::vector<Pair> added;
            for (const Pair& p : now) {
                if (!seen[size_t(p.y - bounds.top) * bounds.Width() + (p.x - bounds.left)]) {
                    added.push_back(p);
                }
            }
            newly.push_back(added);
            whole.push_back(now);
            before = now;
        }
        if (onStep) {
            onStep(step, steps);
        }
    }

    const Pictures& pictures;
    int32_t limit;
    std::vector<Pair> before;
    std::vector<Pair> steps;               // (i, n) of each Pace
    std::vector<std::vector<Pair>> newly;  // pixels each step brought
    std::vector<std::vector<Pair>> whole;  // pixels shown after each step
    std::function<void(int32_t, int32_t)> onStep;
};

// Sets the shared timing record to the given values around a test.
inline void ResetTiming(const MMTransitionTiming& values = MMTransitionTiming())
{
    TransitionTiming() = values;
}
