#pragma once
// The shading walk shared by every draw method: it visits the view's pixels
// under a target box (each shown as 2 x 2 target pixels when zoomed), keeps
// the shadow running diagonally down and to the right, and writes the colour
// a per-pixel step returns.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "canvas/plane.h"
#include "canvas/slope_light.h"
#include "media/bitmap.h"

// The shadow that falls on the lower-right neighbour of a pixel whose shadow
// or own height is carried.
inline uint16_t FallenShadow(int carried) { return uint16_t(std::max(carried - 32, 0)); }

// One pixel of the plain shading: the light of its slope, dimmed in a
// shadow; updates its shadow and its lower-right neighbour's. right and below
// give the neighbours' heights. Returns the light. Branch-free: in a shadow
// (height below the shadow) the shadow is carried on and dims the light by
// its depth; otherwise the pixel casts its own height.
inline int ShadeHeight(KVXComponentPixel* p, int height, int rightHeight, int belowHeight,
                       KVXComponentPixel* lowerRight)
{
    int w = LookupSlopeLight(rightHeight - height, belowHeight - height);
    int carried = std::max(height, int(p->shadow));
    w = std::max(w - (carried - height), kDarkestLight);
    p->shadow = uint16_t(carried);
    lowerRight->shadow = FallenShadow(carried);
    return w;
}

// The plain step: the pixel's own colour lit by its slope.
inline uint32_t ShadePixel(KVXComponentPixel* p, KVXComponentPixel* below)
{
    int w = ShadeHeight(p, p->height, p[1].height, below->height, below + 1);
    return LightColor(&p->blue, w);
}

// How many view columns (or rows) a target span of n pixels renders: all
// its pixels, one less when the span covers the whole view (each pixel reads
// its right and lower neighbours), halved when zoomed.
inline int32_t ShadedSpan(int32_t n, int32_t viewSize, bool zoomed)
{
    int32_t step = zoomed ? 2 : 1;
    int32_t edge = n >= viewSize ? 1 : 0;
    int32_t count = (n - edge + step - 1) / step;
    return std::min(count, viewSize - 1);
}

// The plain step over count pixels of row (below: the next row), as
// ShadePixel pixel by pixel gives them, several at a time.
void ShadeRow(KVXComponentPixel* row, KVXComponentPixel* below, int32_t count, uint32_t* out);
// The same with the shadows falling in read from incoming (a row of its own)
// and the fallen ones cast into cast[1..count] (a row of its own: the lower-
// right neighbours' shadows), the carried ones written into row only where
// they change.
void ShadeRowAside(KVXComponentPixel* row, KVXComponentPixel* below, int32_t count, uint32_t* out,
                   const KVXComponentPixel* incoming, KVXComponentPixel* cast);
// The colours alone of a row whose shadows are carried (as one of the above
// leaves them), changing nothing in the plane.
void ShadeColors(KVXComponentPixel* row, KVXComponentPixel* below, int32_t count, uint32_t* out);
// Which of the three a row loop does.
enum ShadePass { kShadeAll, kShadeAside, kShadeColors };
// The widest lanes ShadeRow may take (128, 256 or 512 bits; by default the
// widest the processor has); returns the width it will take.
int32_t UseShadeLanes(int32_t bits);
// out[2i] = out[2i + 1] = words[i] for i below count, and the same into
// out2 unless it is null.
void DoubleWords(const uint32_t* words, int32_t count, uint32_t* out, uint32_t* out2);

// Where the view's rows go in a target (whose box is relative to the canvas
// visual): zoomed, each pixel covers 2 x 2 target pixels, kept inside the
// target box; a box that starts on an odd column or row of the visual begins
// with the second half of its first canvas pixel.
struct ShadeLayout {
    ShadeLayout(const KVXPlaneComponent& view, const MMBitmap& target, bool zoomed)
        : zoomed(zoomed),
          phaseX(zoomed ? (target.box.left & 1) : 0),
          phaseY(zoomed ? (target.box.top & 1) : 0),
          columns(ShadedSpan(target.box.Width() + phaseX, view.width, zoomed)),
          rows(ShadedSpan(target.box.Height() + phaseY, view.height, zoomed)),
          fromLeft(target.box.left == 0),
          fromTop(target.box.top == 0),
          drawnWidth(std::min(2 * columns - phaseX, target.box.Width()))
    {
    }

    bool IsEmpty() const { return columns <= 0 || rows <= 0; }

    // Before a row is drawn: at the left edge no shadow falls in.
    // (Shadows are written only where they change: a row left as it was is
    // not written back to memory.)
    void Enter(KVXComponentPixel* row) const
    {
        if (fromLeft && row[0].shadow != row[0].height)
            row[0].shadow = row[0].height;
    }
    // After row y is drawn: the top row keeps no shadow for the next walk.
    void Leave(KVXComponentPixel* row, int32_t y) const
    {
        if (y == 0 && fromTop) {
            for (int32_t x = 0; x < columns; ++x) {
                if (row[x].shadow != row[x].height)
                    row[x].shadow = row[x].height;
            }
        }
    }

    // Row y, or its columns from firstColumn to before endColumn:
    // rowStep(row, below, x, y, count, out) writes the colour words of count
    // view pixels from (x, y) into out.
    template <class RowStep>
    void Draw(const KVXPlaneComponent& view, const MMBitmap& target, int32_t y, RowStep& rowStep,
              int32_t firstColumn = 0, int32_t endColumn = -1) const
    {
        int32_t end = endColumn < 0 ? columns : endColumn;
        KVXComponentPixel* row = view.Row(y);
        KVXComponentPixel* below = view.Row(y + 1);
        if (!zoomed) {
            uint32_t* out = reinterpret_cast<uint32_t*>(target.pixels + ptrdiff_t(y) * target.pitch);
            rowStep(row + firstColumn, below + firstColumn, firstColumn, y, end - firstColumn,
                    out + firstColumn);
            return;
        }
        const int32_t kChunk = 256;
        uint32_t words[kChunk];
        int32_t first = 2 * y - phaseY;
        uint8_t* line = target.pixels + ptrdiff_t(first < 0 ? 0 : first) * target.pitch;
        uint32_t* out = reinterpret_cast<uint32_t*>(line);
        // Both target rows of the view row are written at once.
        uint32_t* out2 = first >= 0 && first + 1 < target.box.Height()
                             ? reinterpret_cast<uint32_t*>(line + target.pitch)
                             : nullptr;
        for (int32_t x = firstColumn; x < end; x += kChunk) {
            int32_t count = std::min(kChunk, end - x);
            rowStep(row + x, below + x, x, y, count, words);
            // Target column t shows view column (t + phaseX) / 2.
            int32_t t = std::max(2 * x - phaseX, 0);
            int32_t last = std::min(2 * (x + count) - phaseX, drawnWidth);
            const uint32_t* from = words + ((t + phaseX) / 2 - x);
            if (((t + phaseX) & 1) != 0 && t < last) {
                if (out2 != nullptr)
                    out2[t] = *from;
                out[t++] = *from++;
            }
            int32_t pairs = (last - t) / 2;
            DoubleWords(from, pairs, out + t, out2 != nullptr ? out2 + t : nullptr);
            t += 2 * pairs;
            if (t < last) {
                out[t] = from[pairs];
                if (out2 != nullptr)
                    out2[t] = from[pairs];
            }
        }
    }

    bool zoomed;
    int32_t phaseX;
    int32_t phaseY;
    int32_t columns;  // view pixels drawn of each row
    int32_t rows;
    bool fromLeft;
    bool fromTop;
    int32_t drawnWidth;
};

// Walks the view under target row by row, keeping the shadows running
// diagonally: rowStep (as ShadeLayout::Draw calls it) also keeps the shadows
// of its pixels.
template <class RowStep>
void ShadeRows(const KVXPlaneComponent& view, const MMBitmap& target, bool zoomed, RowStep rowStep)
{
    ShadeLayout layout(view, target, zoomed);
    if (layout.IsEmpty())
        return;
    for (int32_t y = 0; y < layout.rows; ++y) {
        layout.Enter(view.Row(y));
        layout.Draw(view, target, y, rowStep);
        layout.Leave(view.Row(y), y);
    }
}

// ShadeRows with the plain step (ShadeRow). A large view renders in bands of
// rows on several threads at once; the bytes are the same.
// done, where given, is told of the drawn pixels of each row once their
// shadows are final (the top row's before they are reset):
// done(context, pixels, x, y, count) for count pixels from view pixel (x, y);
// rows may come in any order and on any of the threads.
struct ShadeRowsDone {
    void (*done)(void* context, const KVXComponentPixel* pixels, int32_t x, int32_t y,
                 int32_t count) = nullptr;
    void* context = nullptr;
    void operator()(const KVXComponentPixel* pixels, int32_t x, int32_t y, int32_t count) const
    {
        if (done != nullptr)
            done(context, pixels, x, y, count);
    }
};
void ShadeView(const KVXPlaneComponent& view, const MMBitmap& target, bool zoomed,
               ShadeRowsDone done = ShadeRowsDone());
// How many threads ShadeView may take for a large view (0: the default, one
// for each processor, at most four); returns how many it will take.
int32_t UseShadeThreads(int32_t threads);
// Views of fewer pixels than this take one thread.
constexpr int32_t kShadeThreadsFrom = 32768;

// The same with a step per pixel: step(pixel, pixelBelow, x, y) gives the
// colour word of view pixel (x, y) and keeps its shadows.
template <class Step>
void ShadeWalk(const KVXPlaneComponent& view, const MMBitmap& target, bool zoomed, Step step)
{
    ShadeRows(view, target, zoomed,
              [&step](KVXComponentPixel* row, KVXComponentPixel* below, int32_t x, int32_t y,
                      int32_t count, uint32_t* out) {
                  for (int32_t i = 0; i < count; ++i)
                      out[i] = step(row + i, below + i, x + i, y);
              });
}
