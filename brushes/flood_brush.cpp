#include "brushes/flood_brush.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

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

int32_t KVXBrushFlood::TakeRun(int32_t y, int32_t x, int32_t end, int32_t step, bool checker)
{
    uint8_t* markRow = marks->Row(y);
    KVXComponentPixel* row = plane->Row(y);
    for (; x != end; x += step) {
        if (!checker) {
            int32_t past = step > 0 ? blockTest.SkipRight(row, markRow, x, end)
                                    : blockTest.SkipLeft(row, markRow, x, end);
            if (past != x) {
                int32_t first = step > 0 ? x : past + 1;
                std::memset(markRow + first, kTaken, size_t(std::abs(past - x)));
                x = past;
                if (x == end)
                    break;
            }
        }
        if (!TakePixel(markRow, row, x))
            return x;
        if (checker && ((x + y) & 1) != 0)
            row[x].blue = row[x].green = row[x].red = 0;
    }
    return end;
}

void KVXBrushFlood::Push(int32_t x, int32_t y)
{
    Seed seed = {x, y};
    if (!queue.Push(&seed))
        overflowed = true;
}

namespace {

// The first x from x to end (inclusive) whose byte is 0; end + 1 when none
// is. Eight bytes a step over marked stretches.
int32_t NextUnmarked(const uint8_t* row, int32_t x, int32_t end)
{
    const uint64_t ones = 0x0101010101010101ull;
    const uint64_t highs = 0x8080808080808080ull;
    for (; x + 7 <= end; x += 8) {
        uint64_t v;
        std::memcpy(&v, row + x, 8);
        if (((v - ones) & ~v & highs) != 0)
            break;
    }
    while (x <= end && row[x] != 0)
        ++x;
    return x;
}

// The last x from x down to end (inclusive) whose byte is 0; end - 1 when
// none is.
int32_t PreviousUnmarked(const uint8_t* row, int32_t x, int32_t end)
{
    const uint64_t ones = 0x0101010101010101ull;
    const uint64_t highs = 0x8080808080808080ull;
    for (; x - 7 >= end; x -= 8) {
        uint64_t v;
        std::memcpy(&v, row + x - 7, 8);
        if (((v - ones) & ~v & highs) != 0)
            break;
    }
    while (x >= end && row[x] != 0)
        --x;
    return x;
}

}  // namespace

void KVXBrushFlood::PushRuns(int32_t row, int32_t from, int32_t to)
{
    const uint8_t* markRow = marks->Row(row);
    const KVXComponentPixel* pixels = plane->Row(row);
    bool inRun = false;
    for (int32_t x = from; x >= to; --x) {
        if (markRow[x] != 0) {
            // A marked stretch holds no seed.
            inRun = false;
            x = PreviousUnmarked(markRow, x, to) + 1;
            continue;
        }
        if (x - 7 >= to && blockTest.Passes(pixels, markRow, x - 7)) {
            // Eight fillable pixels: the run goes on through them.
            if (!inRun)
                Push(x, row);
            inRun = true;
            x -= 7;
            continue;
        }
        bool fillable = Passes(pixels[x]);
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
    colorTest = mode != nullptr && *mode == kColorTestMode;
    lastWord = seedPixel.ColorWord();
    lastAnswer = seedPixel.type == kPixelPlain;
    blockTest = FloodBlockTest(seedPixel, colorTest);
    region = {x, y, x, y};
    queue.readIndex = 0;
    queue.writeIndex = 0;
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
        // A seed that fails the test still takes the run to its right.
        bool taken = TakePixel(marks->Row(s.y), plane->Row(s.y), s.x);
        int32_t left = s.x;
        if (taken) {
            left = TakeRun(s.y, s.x - 1, -1, -1, checker);
            if (left < 0)
                left = 0;
        }
        int32_t right = TakeRun(s.y, s.x + 1, plane->width, 1, checker);
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
    for (int32_t y = box.top; y <= box.bottom; ++y) {
        uint8_t* markRow = marks->Row(y);
        const KVXComponentPixel* row = plane->Row(y);
        int32_t top = std::max(0, y - 1);
        int32_t bottom = std::min(plane->height - 1, y + 1);
        for (int32_t x = NextUnmarked(markRow, box.left, box.right); x <= box.right;
             x = NextUnmarked(markRow, x + 1, box.right)) {
            const KVXComponentPixel& p = row[x];
            if (p.type != kPixelPlain)
                continue;
            int32_t from = std::max(0, x - 1);
            int32_t to = std::min(plane->width - 1, x + 1);
            bool touches = false;
            for (int32_t ny = top; ny <= bottom && !touches; ++ny) {
                const uint8_t* marksNear = marks->Row(ny);
                for (int32_t nx = from; nx <= to; ++nx)
                    touches = touches || marksNear[nx] == kTaken;
            }
            if (touches)
                markRow[x] = uint8_t(std::min(254, (p.blue + p.green + p.red) / 3));
        }
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
    uint32_t fullCoat = uint32_t(c[0]) | uint32_t(c[1]) << 8 | uint32_t(c[2]) << 16;  // plain
    int32_t e = heightValue != nullptr ? *heightValue : 255;
    // The height each mark adds or takes away, as the per-pixel formula has it.
    double change[256];
    for (int32_t m = 0; m < 256; ++m)
        change[m] = e > 255 ? (e - 255) * 0.00392156862745098 * m
                            : (255 - e) * 0.00392156862745098 * m;
    for (int32_t y = box.top; y <= box.bottom; ++y) {
        const uint8_t* markRow = marks->Row(y);
        KVXComponentPixel* row = plane->Row(y);
        for (int32_t x = box.left; x <= box.right; ++x) {
            if (e == 255) {
                x = CoatTakenRun(row, markRow, x, box.right + 1, fullCoat);
                if (x > box.right)
                    break;
            }
            uint8_t m = markRow[x];
            if (m <= 1)
                continue;
            KVXComponentPixel& p = row[x];
            if (m == kTaken) {
                p.SetColorWord(fullCoat);
            } else {
                uint8_t* channel = &p.blue;
                for (int i = 0; i < 3; ++i)
                    channel[i] = uint8_t(BlendTable[m][c[i]] + BlendTable[255 - m][channel[i]]);
                p.type = kPixelPlain;
            }
            if (e == 255)
                continue;
            double h = p.height;
            h = e > 255 ? int32_t(h + change[m]) : int32_t(h - change[m]);
            p.height = uint16_t(std::clamp(h, 0.0, 65535.0));
        }
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
