#include <algorithm>
#include <cstdint>

#include "canvas/resample.h"
#include "media/bitmap.h"

namespace {

// The running window of a whole 8-bit shrink, stepped from pixel to pixel.
struct ByteShrinkState {
    const MMBitmap& source;
    const MMBitmap& destination;
    double area, xs, ys;
    double y0, x0, x1, y1;
    double sum;
    int32_t ix0, iy0, ix1, iy1;
    double firstRow, firstCol, lastCol, lastRow;
    double colRest, rowRest;

    ByteShrinkState(const MMBitmap& source, const MMBitmap& destination)
        : source(source), destination(destination)
    {
        xs = double(source.Width()) / destination.Width();
        ys = double(source.Height()) / destination.Height();
        area = xs * ys;
    }

    uint8_t At(int32_t x, int32_t y) const { return *source.PixelAddress(x, y); }

    void StartRow(bool lastColumn)
    {
        x0 = source.box.left;
        x1 = lastColumn ? source.box.right : x0 + xs;
        ix0 = int32_t(x0);
        ix1 = Ceil16(x1);
        firstCol = 1.0;
        colRest = ix1 - x1;
        lastCol = 1.0 - colRest;
    }

    void Start(bool lastColumn, bool lastRowToo)
    {
        y0 = source.box.top;
        y1 = lastRowToo ? source.box.bottom : y0 + ys;
        iy0 = int32_t(y0);
        iy1 = Ceil16(y1);
        firstRow = 1.0;
        rowRest = iy1 - y1;
        lastRow = 1.0 - rowRest;
        StartRow(lastColumn);
    }

    uint8_t Average()
    {
        sum = 0.0;
        for (int32_t r = iy0; r < iy1; ++r) {
            double rowWeight = r == iy0 ? firstRow : (r == iy1 - 1 ? lastRow : 1.0);
            for (int32_t c = ix0; c < ix1; ++c) {
                double w = c == ix0 ? rowWeight * firstCol
                                    : (c == ix1 - 1 ? rowWeight * lastCol : rowWeight);
                sum += w == 1.0 ? At(c, r) : w * At(c, r);
            }
        }
        return uint8_t((area * 0.5 + sum) / area);
    }

    // Four equal pixels at the window's corner make a flat block; the test
    // is not made where the block would reach past the source.
    bool Uniform(uint8_t& value) const
    {
        if (ix0 + 1 >= source.box.right || iy0 + 1 >= source.box.bottom)
            return false;
        value = At(ix0, iy0);
        return At(ix0 + 1, iy0) == value && At(ix0, iy0 + 1) == value &&
               At(ix0 + 1, iy0 + 1) == value;
    }

    void StepRight(bool lastColumn)
    {
        x0 = x1;
        x1 = lastColumn ? source.box.right : x1 + xs;
        ix0 = ix1 - 1;
        ix1 = Ceil16(x1);
        firstCol = colRest;
        colRest = ix1 - x1;
        lastCol = 1.0 - colRest;
        if (firstCol == 0.0) {
            firstCol = 1.0;
            ix0 += 1;
        }
    }

    void StepDown(bool lastRowToo, bool lastColumn)
    {
        double oldRowRest = rowRest;
        y0 = y1;
        y1 = lastRowToo ? source.box.bottom : y1 + ys;
        iy0 = iy1 - 1;
        iy1 = Ceil16(y1);
        firstRow = oldRowRest;
        rowRest = iy1 - y1;
        lastRow = 1.0 - rowRest;
        StartRow(lastColumn);
    }
};

void Halve(const MMBitmap& source, const MMBitmap& destination)
{
    int32_t lastRow = source.Height() - 1;
    for (int32_t r = 0; r < destination.Height(); ++r) {
        // A source one row short reads its last row twice.
        const uint8_t* s0 = source.pixels + ptrdiff_t(std::min(2 * r, lastRow)) * source.pitch;
        const uint8_t* s1 = source.pixels + ptrdiff_t(std::min(2 * r + 1, lastRow)) * source.pitch;
        uint8_t* out = destination.pixels + ptrdiff_t(r) * destination.pitch;
        for (int32_t k = 0; k < destination.Width(); ++k)
            out[k] = uint8_t((s0[2 * k] + s0[2 * k + 1] + s1[2 * k] + s1[2 * k + 1]) / 4);
    }
}

}  // namespace

void ResampleBitmapWhole(const MMBitmap& source, const MMBitmap& destination)
{
    int32_t width = destination.Width();
    int32_t height = destination.Height();
    if (width <= 0 || height <= 0 || source.Width() <= 0 || source.Height() <= 0)
        return;
    ByteShrinkState state(source, destination);
    if (state.xs == 2.0 && source.Width() >= 2 * width) {
        Halve(source, destination);
        return;
    }
    bool shortcut = state.xs < 2.0;
    state.Start(width == 1, height == 1);
    for (int32_t j = 0; j < height; ++j) {
        uint8_t* out = destination.PixelAddress(destination.box.left, destination.box.top + j);
        for (int32_t i = 0; i < width; ++i) {
            uint8_t value;
            out[i] = shortcut && state.Uniform(value) ? value : state.Average();
            if (i + 1 < width)
                state.StepRight(i + 2 == width);
        }
        if (j + 1 < height)
            state.StepDown(j + 2 == height, width == 1);
    }
}
