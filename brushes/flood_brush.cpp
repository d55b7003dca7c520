#include "brushes/flood_brush.h"

#include <algorithm>
#include <cstdlib>

#include "canvas/canvas_visual.h"
#include "engine/picture_collection.h"
#include "media/bitmap.h"

KVXBrushFlood::KVXBrushFlood(const double params[4], const uint8_t ramp[4],
                             const double opacityNumbers[4], const uint8_t heights[2],
                             KVXPlaneComponent* plane, const KVXBitmap<uint8_t>* nibMaster,
                             const KVXBitmap<uint8_t>* texture, const uint8_t* colour,
                             KVXCanvasVisual* canvasVisual, const int16_t* mode,
                             const int16_t* heightValue)
    : KVXFloodBrushBase(params, ramp, opacityNumbers, heights, plane, nibMaster, texture, colour),
      canvasVisual(canvasVisual),
      mode(mode),
      heightValue(heightValue),
      queue(sizeof(Seed), kQueueSize, storage)
{
}

KVXBrushFlood::~KVXBrushFlood() { delete marks; }

bool KVXBrushFlood::InsideCanvasVisual(const BrushDab& sample) const
{
    Box bounds = canvasVisual != nullptr ? canvasVisual->GetBounds() : plane->Bounds();
    int32_t x = int32_t(sample.x);
    int32_t y = int32_t(sample.y);
    return x >= 0 && x < bounds.Width() && y >= 0 && y < bounds.Height();
}

void KVXBrushFlood::BeginStroke(const BrushDab* sample)
{
    if (!InsideCanvasVisual(*sample))
        return;
    uint8_t pixel[4];
    colors.Start(SamplePixel(pixel, *sample), SizeIndexOf(*sample));
    if (pathGenerator != nullptr)
        pathGenerator->Begin(sample);
    plane->changeState.Advance();
}

bool KVXBrushFlood::EnsureMarks()
{
    if (plane->width <= 0 || plane->height <= 0)
        return false;
    if (marks != nullptr && marks->width == plane->width && marks->height == plane->height)
        return true;
    delete marks;
    marks = new (gDefaultHeap) KVXPlaneUCharTop(plane->Size());
    marks->Fill(0);
    return true;
}

bool KVXBrushFlood::IsFillable(int32_t x, int32_t y) const
{
    if (*marks->PixelAt(x, y) != 0)
        return false;
    const KVXComponentPixel& p = *plane->PixelAt(x, y);
    if (p.type != kPixelPlain)
        return false;
    if (mode != nullptr && *mode == kColorTestMode) {
        int32_t most = std::max({std::abs(p.blue - seedPixel.blue),
                                 std::abs(p.green - seedPixel.green),
                                 std::abs(p.red - seedPixel.red)});
        return most <= 32;
    }
    // Everything lower than the seed, and up to 32 above it.
    return int32_t(p.height) - int32_t(seedPixel.height) <= 32;
}

bool KVXBrushFlood::TakePixel(int32_t x, int32_t y)
{
    if (!IsFillable(x, y))
        return false;
    MarkAt(x, y) = kTaken;
    return true;
}

void KVXBrushFlood::Push(int32_t x, int32_t y)
{
    Seed seed = {x, y};
    if (!queue.Push(&seed))
        overflowed = true;
}

void KVXBrushFlood::PushRuns(int32_t row, int32_t from, int32_t to)
{
    bool inRun = false;
    for (int32_t x = from; x >= to; --x) {
        bool fillable = IsFillable(x, row);
        if (fillable && !inRun)
            Push(x, row);
        inRun = fillable;
    }
}

void KVXBrushFlood::Rescan(const Box& region)
{
    int32_t top = std::max(0, region.top - 1);
    int32_t bottom = std::min(plane->height - 1, region.bottom + 1);
    int32_t left = std::max(0, region.left - 1);
    int32_t right = std::min(plane->width - 1, region.right + 1);
    auto takenNear = [&](int32_t x, int32_t y) {
        for (int32_t ny = y - 1; ny <= y + 1; ny += 2) {
            if (ny < 0 || ny >= plane->height)
                continue;
            for (int32_t nx = x; nx <= std::min(x + 1, plane->width - 1); ++nx)
                if (MarkAt(nx, ny) == kTaken)
                    return true;
        }
        return false;
    };
    for (int32_t y = top; y <= bottom; ++y) {
        bool inRun = false;
        for (int32_t x = right; x >= left; --x) {
            bool seed = IsFillable(x, y) && takenNear(x, y);
            if (seed && !inRun)
                Push(x, y);
            inRun = seed;
        }
    }
}

bool KVXBrushFlood::SeedFill(int32_t x, int32_t y, bool checker, Box& region)
{
    if (x < 0 || y < 0 || x >= plane->width || y >= plane->height || !EnsureMarks())
        return false;
    seedPixel = *plane->PixelAt(x, y);
    region = {x, y, x, y};
    queue.readIndex = queue.writeIndex = 0;
    overflowed = false;
    Push(x, y);
    for (;;) {
        if (queue.IsEmpty()) {
            if (!overflowed)
                break;
            overflowed = false;
            Rescan(region);
            if (queue.IsEmpty())
                break;
        }
        Seed s = *static_cast<const Seed*>(queue.Front());
        queue.Pop();
        if (MarkAt(s.x, s.y) != 0 || plane->PixelAt(s.x, s.y)->type != kPixelPlain)
            continue;
        bool taken = TakePixel(s.x, s.y);
        int32_t left = s.x;
        if (taken) {
            left = 0;
            for (int32_t i = s.x - 1; i >= 0; --i) {
                if (!TakePixel(i, s.y)) {
                    left = i;
                    break;
                }
                if (checker && ((i + s.y) & 1) != 0) {
                    KVXComponentPixel* p = plane->PixelAt(i, s.y);
                    p->blue = p->green = p->red = 0;
                }
            }
        }
        int32_t right = plane->width;
        for (int32_t i = s.x + 1; i < plane->width; ++i) {
            if (!TakePixel(i, s.y)) {
                right = i;
                break;
            }
            if (checker && ((i + s.y) & 1) != 0) {
                KVXComponentPixel* p = plane->PixelAt(i, s.y);
                p->blue = p->green = p->red = 0;
            }
        }
        if (s.y > 0)
            PushRuns(s.y - 1, right - 1, left);
        if (s.y + 1 < plane->height)
            PushRuns(s.y + 1, right - 1, left);
        region.left = std::min(region.left, left);
        region.top = std::min(region.top, s.y);
        region.right = std::max(region.right, right);
        region.bottom = std::max(region.bottom, s.y);
    }
    return true;
}

Box KVXBrushFlood::SoftenEdge(const Box& region)
{
    Box box = region;
    box.left = std::max(0, box.left - 1);
    box.top = std::max(0, box.top - 1);
    box.right = std::min(plane->width - 1, box.right + 1);
    box.bottom = std::min(plane->height - 1, box.bottom + 1);
    for (int32_t y = box.top; y <= box.bottom; ++y)
        for (int32_t x = box.left; x <= box.right; ++x) {
            const KVXComponentPixel& p = *plane->PixelAt(x, y);
            if (p.type != kPixelPlain || MarkAt(x, y) != 0)
                continue;
            bool touches = false;
            for (int32_t ny = std::max(0, y - 1); ny <= std::min(plane->height - 1, y + 1); ++ny)
                for (int32_t nx = std::max(0, x - 1); nx <= std::min(plane->width - 1, x + 1); ++nx)
                    touches = touches || MarkAt(nx, ny) == kTaken;
            if (touches)
                MarkAt(x, y) = uint8_t(std::min(254, (p.blue + p.green + p.red) / 3));
        }
    return box;
}

void KVXBrushFlood::ClearMarks(const Box& box)
{
    for (int32_t y = box.top; y <= box.bottom; ++y)
        std::fill(marks->PixelAt(box.left, y), marks->PixelAt(box.right, y) + 1, uint8_t(0));
}

void KVXBrushFlood::AddInclusiveDirtyRect(const Box& box)
{
    plane->AddDirtyRect({box.left, box.top, box.right + 1, box.bottom + 1});
}

uint16_t KVXBrushFlood::HeightFor(uint16_t height, int32_t w, int32_t m) const
{
    int32_t e = heightValue != nullptr ? *heightValue : 255;
    double h = height;
    if (e > 255) {
        int16_t k = int16_t(int32_t((e - 255) * 0.00392156862745098 * w));
        h = int32_t(h + k * m / 255.0);
    } else if (e < 255) {
        int16_t k = int16_t(int32_t((255 - e) * 0.00392156862745098 * w));
        h = int32_t(h - k * m / 255.0);
    }
    return uint16_t(std::clamp(h, 0.0, 65535.0));
}

void KVXBrushFlood::Dab(const BrushDab* sample)
{
    Box region;
    if (!SeedFill(int32_t(sample->x), int32_t(sample->y), false, region))
        return;
    Box box = SoftenEdge(region);
    ApplyFill(box);
    ClearMarks(box);
    AddInclusiveDirtyRect(box);
}

void KVXBrushFlood::ApplyFill(const Box& box)
{
    const uint8_t* c = colors.Current();
    int32_t e = heightValue != nullptr ? *heightValue : 255;
    for (int32_t y = box.top; y <= box.bottom; ++y)
        for (int32_t x = box.left; x <= box.right; ++x) {
            uint8_t m = MarkAt(x, y);
            if (m <= 1)
                continue;
            KVXComponentPixel& p = *plane->PixelAt(x, y);
            uint8_t* channel = &p.blue;
            for (int i = 0; i < 3; ++i)
                channel[i] = m == kTaken ? c[i]
                                         : uint8_t(BlendTable[m][c[i]] + BlendTable[255 - m][channel[i]]);
            double h = p.height;
            if (e > 255)
                h = int32_t(h + (e - 255) * 0.00392156862745098 * m);
            else if (e < 255)
                h = int32_t(h - (255 - e) * 0.00392156862745098 * m);
            p.height = uint16_t(std::clamp(h, 0.0, 65535.0));
            p.type = kPixelPlain;
        }
}

KVXBrushPatternFlood::KVXBrushPatternFlood(
    const double params[4], const uint8_t ramp[4], const double opacityNumbers[4],
    const uint8_t heights[2], KVXPlaneComponent* plane, const KVXBitmap<uint8_t>* nibMaster,
    const KVXBitmap<uint8_t>* texture, const uint8_t* colour, KVXCanvasVisual* canvasVisual,
    const int16_t* mode, const int16_t* heightValue, const int32_t* pattern)
    : KVXBrushFlood(params, ramp, opacityNumbers, heights, plane, nibMaster, texture, colour,
                    canvasVisual, mode, heightValue),
      pattern(pattern)
{
}

void KVXBrushPatternFlood::ApplyFill(const Box& box)
{
    MMPictureReference picture;
    picture.Load(pattern != nullptr ? *pattern : -1);
    MMBitmap bits;
    if (picture.Collection() == nullptr || !picture.LockBitmap(bits))
        return;
    if (bits.bitsPerPixel != 8 || bits.Width() <= 0 || bits.Height() <= 0) {
        picture.Unlock();
        return;
    }
    const uint8_t* c = colors.Current();
    int32_t e = heightValue != nullptr ? *heightValue : 255;
    for (int32_t y = box.top; y <= box.bottom; ++y)
        for (int32_t x = box.left; x <= box.right; ++x) {
            uint8_t m = MarkAt(x, y);
            if (m <= 1)
                continue;
            KVXComponentPixel& p = *plane->PixelAt(x, y);
            uint8_t g = *bits.PixelAddress(bits.box.left + x % bits.Width(),
                                           bits.box.top + y % bits.Height());
            uint8_t* channel = &p.blue;
            for (int i = 0; i < 3; ++i) {
                uint8_t n = uint8_t(BlendTable[g][c[i]] + BlendTable[255 - g][channel[i]]);
                channel[i] = m == kTaken ? n : uint8_t(BlendTable[m][n] + BlendTable[255 - m][channel[i]]);
            }
            p.height = HeightFor(p.height, g, m);
            p.type = kPixelPlain;
        }
    picture.Unlock();
}
