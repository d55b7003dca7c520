#include "brushes/gradient_brush.h"

#include <algorithm>
#include <cstdlib>

#include "canvas/canvas_visual.h"
#include "media/surface.h"

namespace {

MMColor Level(double g)
{
    MMColor colour = {-1, 0, 0, uint8_t(int32_t(g)), 0};
    return colour;
}

}  // namespace

KVXBrushlinearGradientFlood::KVXBrushlinearGradientFlood(
    const double params[4], const uint8_t ramp[4], const double opacityNumbers[4],
    const uint8_t heights[2], KVXPlaneComponent* plane, const KVXBitmap<uint8_t>* nibMaster,
    const KVXBitmap<uint8_t>* texture, const uint8_t* colour, KVXCanvasVisual* canvasVisual,
    const int16_t* mode, const int16_t* heightValue, const uint8_t* secondColour)
    : KVXBrushFlood(params, ramp, opacityNumbers, heights, plane, nibMaster, texture, colour,
                    canvasVisual, mode, heightValue),
      secondColour(secondColour)
{
}

void KVXBrushlinearGradientFlood::BeginStroke(const BrushDab* sample)
{
    firstCall = true;
    uint8_t pixel[4];
    colors.Start(SamplePixel(pixel, *sample), SizeIndexOf(*sample));
    if (pathGenerator != nullptr)
        pathGenerator->Begin(sample);
}

void KVXBrushlinearGradientFlood::EndStroke(const BrushDab* sample)
{
    firstCall = false;
    if (pathGenerator != nullptr)
        pathGenerator->End(sample);
    plane->changeState.Advance();
}

void KVXBrushlinearGradientFlood::Cancel()
{
    if (!hasRegion)
        return;
    firstCall = false;
    BrushDab release;
    release.Set(pressPoint.x, pressPoint.y, 0, 0, 0);
    Dab(&release);
    plane->changeState.Advance();
}

void KVXBrushlinearGradientFlood::Dab(const BrushDab* sample)
{
    if (firstCall) {
        if (hasRegion) {
            // A second press before a release: the first region is given
            // up and its checkerboard painted over.
            Cancel();
            firstCall = true;
        }
        // The press is checked as a fill's click is.
        if (!InsideCanvasVisual(*sample))
            return;
        pressPoint = {int32_t(sample->x), int32_t(sample->y)};
        hasRegion = SeedFill(pressPoint.x, pressPoint.y, true, region);
        if (hasRegion)
            AddInclusiveDirtyRect(region);
        return;
    }
    if (!hasRegion)
        return;
    hasRegion = false;
    releasePoint = {int32_t(sample->x), int32_t(sample->y)};
    Box box = SoftenEdge(region);
    ApplyFill(box);
    ClearMarks(box);
    AddInclusiveDirtyRect(box);
}

void KVXBrushlinearGradientFlood::ApplyFill(const Box& box)
{
    WorkSurface* work = canvasVisual != nullptr ? canvasVisual->Work() : nullptr;
    if (work == nullptr || !work->EnsureSurface())
        return;
    MMSurface* surface = work->surface;
    work->busy = 1;
    surface->Lock();
    surface->SetClipBox(surface->GetBounds());
    // Pixels no line reaches read the first level, not an old picture.
    surface->FillBox({box.left, box.top, box.right + 1, box.bottom + 1}, Level(0));
    DrawLevels(surface, box);
    GdiFlush();
    ColorFromLevels(work->PlaneOf<uint32_t>(), box);
    surface->Unlock();
    work->busy = 0;
}

void KVXBrushlinearGradientFlood::DrawLevels(MMSurface* surface, const Box& box)
{
    Pair s = pressPoint;
    Pair e = releasePoint;
    int32_t dxn = int16_t(s.x - e.x);
    int32_t dyn = int16_t(s.y - e.y);
    Pair p1;
    Pair p2;
    Pair step;
    int32_t n;
    if (dyn == 0) {
        int32_t x = s.x < e.x ? box.left : box.right;
        p1 = {x, box.top};
        p2 = {x, box.bottom};
        step = {s.x < e.x ? 1 : -1, 0};
        n = box.right - box.left;
    } else if (dxn == 0) {
        int32_t y = s.y < e.y ? box.top : box.bottom;
        p1 = {box.left, y};
        p2 = {box.right, y};
        step = {0, s.y < e.y ? 1 : -1};
        n = box.bottom - box.top;
    } else {
        bool steep = std::abs(dyn) >= std::abs(dxn);
        bool down = e.y > s.y;
        bool rightward = e.x > s.x;
        Pair k = {rightward ? box.left : box.right, down ? box.top : box.bottom};
        step = steep ? Pair{0, down ? 1 : -1} : Pair{rightward ? 1 : -1, 0};
        p1 = {k.x - dyn, k.y + dxn};
        p2 = {k.x + dyn, k.y - dxn};
        if (steep) {
            while (box.left < p1.x && p1.x < box.right)
                p1 = {p1.x - dyn, p1.y + dxn};
            while (box.left < p2.x && p2.x < box.right)
                p2 = {p2.x + dyn, p2.y - dxn};
            n = (box.bottom - box.top) + std::max(std::abs(p1.y - k.y), std::abs(p2.y - k.y));
        } else {
            while (box.top < p1.y && p1.y < box.bottom)
                p1 = {p1.x - dyn, p1.y + dxn};
            while (box.top < p2.y && p2.y < box.bottom)
                p2 = {p2.x + dyn, p2.y - dxn};
            n = (box.right - box.left) + std::max(std::abs(p1.x - k.x), std::abs(p2.x - k.x));
        }
    }
    double g = 0;
    for (int32_t i = 0; i < n; ++i) {
        surface->DrawLine(p1.x, p1.y, p2.x, p2.y, Level(g), 2);
        p1 = {p1.x + step.x, p1.y + step.y};
        p2 = {p2.x + step.x, p2.y + step.y};
        if (g < 255)
            g += 255.0 / n;
    }
}

void KVXBrushRadialGradientFlood::DrawLevels(MMSurface* surface, const Box& box)
{
    Pair s = pressPoint;
    Pair e = releasePoint;
    Box outer = {s.x, s.y, s.x, s.y};
    while (!outer.Contains(box))
        outer.Inflate(1);
    outer.Inflate(std::min(box.Width(), box.Height()) / 2);
    Box ring = {s.x, s.y, s.x, s.y};
    // No drag at all still gives rings one pixel apart.
    int32_t d = std::max(1, std::max(std::abs(s.y - e.y), std::abs(s.x - e.x)));
    double step = 255.0 / d;
    double g = 0;
    while (outer.Contains(ring)) {
        surface->FrameEllipse(ring, Level(g), 2);
        g += step;
        ring.Inflate(1);
        if (g <= 0) {
            g = 0;
            step = -step;
        }
        if (g >= 255) {
            g = 255;
            step = -step;
        }
    }
    GdiFlush();
    MMBitmap bitmap;
    surface->GetBitmap(bitmap);
    SmoothUnmarkedPixels3x3(bitmap);
    SmoothUnmarkedPixels3x3(bitmap);
}

void KVXBrushlinearGradientFlood::ColorFromLevels(const KVXBitmap<uint32_t>& levels, const Box& box)
{
    const uint8_t* c1 = colors.Current();
    for (int32_t y = box.top; y <= box.bottom; ++y)
        for (int32_t x = box.left; x <= box.right; ++x) {
            uint8_t m = MarkAt(x, y);
            if (m <= 1)
                continue;
            uint8_t w = 0;
            if (x < levels.width && y < levels.height)
                w = uint8_t(*levels.PixelAt(x, y) >> 16);
            KVXComponentPixel& p = *plane->PixelAt(x, y);
            uint8_t* channel = &p.blue;
            for (int i = 0; i < 3; ++i) {
                uint8_t n = uint8_t(BlendTable[w][secondColour[i]] + BlendTable[255 - w][c1[i]]);
                channel[i] = m == kTaken ? n : uint8_t(BlendTable[m][n] + BlendTable[255 - m][channel[i]]);
            }
            p.height = HeightFor(p.height, w, m);
            p.type = kPixelPlain;
        }
}
