// Times the five picture effects on an 800 x 600 canvas plane and one
// playback step of a slate recording whose 25 key frames are all full
// (512 points each), drawn into an 800 x 600 DIB section; each figure is
// printed as a share of a 16.7 ms frame, best of several rounds.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "framework/random.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"
#include "selection/pixel_kernels.h"
#include "selection/rope_interpreters.h"
#include "selection/slate_store.h"

namespace {

const int kWidth = 800;
const int kHeight = 600;
const double kFrameMs = 1000.0 / 60.0;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

template <class Work>
double BestOf(int rounds, int repeats, Work work)
{
    double best = 1e30;
    for (int r = 0; r < rounds; ++r) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < repeats; ++i)
            work();
        QueryPerformanceCounter(&end);
        best = std::min(best, Milliseconds(start, end) / repeats);
    }
    return best;
}

void Paint(KVXPlaneComponentTop& plane, UURandom& random)
{
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            *plane.PixelAt(x, y) = {uint8_t(x * 3 + y), uint8_t(random.Range(0, 255)),
                                    uint8_t(y / 3), 0, uint16_t(3072 + (x ^ y) % 900), 0};
}

void BenchEffects()
{
    const char* names[] = {"emboss", "blur", "impressionist dabs", "tile mosaic", "scatter"};
    KVXPlaneComponentTop plane({kWidth, kHeight});
    UURandom random(5);
    std::vector<uint8_t> mask(kDabMaskSize * kDabMaskSize);
    for (int i = 0; i < kDabMaskSize * kDabMaskSize; ++i)
        mask[i] = uint8_t(std::max(0, 255 - 40 * (std::abs(i % 8 - 4) + std::abs(i / 8 - 4))));
    for (int kind = 0; kind < 5; ++kind) {
        Paint(plane, random);
        double ms = BestOf(5, 3, [&] {
            ApplyPictureEffect(kind, plane, 400, mask.data(), random);
        });
        std::printf("effect %-20s %7.2f ms  %.2f of a frame (goal 3)\n", names[kind], ms,
                    ms / kFrameMs);
    }
}

void BenchPlayback()
{
    auto store = std::make_unique<MagicSlateStore>();
    store->Init();
    std::vector<Pair> points(kSlatePoints);
    for (int c = 0; c < kSlateChannels; ++c) {
        for (int f = 0; f < kSlateFrames; ++f) {
            // A wandering stroke, each point a few pixels on from the last.
            Pair at = {150 + c * 120 + f * 9, 100 + c * 40};
            for (int i = 0; i < kSlatePoints; ++i) {
                at.x = std::clamp(at.x + int((i * 37 + c * 11) % 9) - 4, 0, kWidth - 1);
                at.y = std::clamp(at.y + int((i * 53 + f * 7) % 9) - 3, 0, kHeight - 1);
                points[i] = at;
            }
            store->StoreFrame(c, f, points.data(), kSlatePoints, 0x00102030u * (c + 1), 2 + c);
        }
    }
    MMSurface* surface = MMSurface::CreateBitmapDC(32, {0, 0, kWidth, kHeight}, nullptr);
    if (surface == nullptr) {
        std::printf("playback: no surface\n");
        return;
    }
    surface->SetClipBox(surface->GetBounds());
    store->Start();
    double ms = BestOf(5, 48, [&] {
        store->SetStepFlag(true);
        store->DrawPlaybackStep(surface);
    });
    surface->Dispose();
    std::printf("playback step, 25 full frames  %7.2f ms  %.3f of a frame (goal 0.25)\n", ms,
                ms / kFrameMs);
}

// One stage step of a 400 x 300 selection being dragged: it moves, and the
// screen under its old and new places is restored and the selection drawn
// over it through its mask.
void BenchDrag()
{
    const Box area = {0, 0, kWidth, kHeight};
    KVXPlaneComponentTop plane({kWidth, kHeight});
    UURandom random(7);
    Paint(plane, random);
    KVXRopeSelection selection(area);
    std::vector<Pair> outline;
    for (int i = 0; i < 64; ++i) {
        double a = i * 6.283185307 / 64;
        outline.push_back({300 + int(199 * std::cos(a)), 250 + int(149 * std::sin(a))});
    }
    outline.push_back(outline.front());
    if (!selection.Make(outline.data(), int32_t(outline.size()), plane, true)) {
        std::printf("drag: no selection\n");
        return;
    }
    MMSurface* screen = MMSurface::CreateBitmapDC(32, area, nullptr);
    MMSurface* under = MMSurface::CreateBitmapDC(32, area, nullptr);
    if (screen == nullptr || under == nullptr) {
        std::printf("drag: no surface\n");
        return;
    }
    screen->SetClipBox(area);
    MMBitmap back, front;
    under->GetBitmap(back);
    screen->GetBitmap(front);
    KVXRopeSelectionVisual visual(nullptr, &selection, area);
    int step = 0;
    double ms = BestOf(5, 40, [&] {
        Box before = selection.GetBox();
        ++step;
        selection.MoveTo({100 + (step * 7) % 200, 100 + (step * 5) % 150});
        Box dirty = before;
        dirty.Union(selection.GetBox());
        dirty.Intersect(area);
        for (int32_t y = dirty.top; y < dirty.bottom; ++y)
            std::copy_n(back.PixelAddress(dirty.left, y), 4 * dirty.Width(), front.PixelAddress(dirty.left, y));
        visual.Follow();
        visual.Draw(screen);
    });
    screen->Dispose();
    under->Dispose();
    std::printf("drag step, 400 x 300 selection  %7.2f ms  %.3f of a frame (goal 0.5)\n", ms, ms / kFrameMs);
}

}  // namespace

int main()
{
    BenchEffects();
    BenchDrag();
    BenchPlayback();
    return 0;
}
