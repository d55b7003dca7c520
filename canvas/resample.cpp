#include "canvas/resample.h"

#include <algorithm>
#include <cmath>

#include "canvas/plane.h"
#include "canvas/shading.h"
#include "media/bitmap.h"

int32_t Ceil16(double v)
{
    int64_t t = int64_t(v * 65536.0);
    int32_t whole = int32_t(v);
    return (t & 0xFFFF) == 0 ? whole : whole + 1;
}

namespace {

// One source window: [x0, x1) x [y0, y1) in source pixels.
struct Window {
    double x0, y0, x1, y1;
};

// Walks the destination's pixels with the window each one covers.
template <class Visit>
void WalkWindows(double left, double top, double right, double bottom, int32_t width,
                 int32_t height, Visit visit)
{
    double xs = (right - left) / width;
    double ys = (bottom - top) / height;
    Window w;
    w.y0 = top;
    w.y1 = std::min(top + ys, bottom);
    for (int32_t j = 0; j < height; ++j) {
        w.x0 = left;
        w.x1 = std::min(left + xs, right);
        for (int32_t i = 0; i < width; ++i) {
            visit(i, j, w);
            w.x0 += xs;
            w.x1 = std::min(w.x1 + xs, right);
        }
        w.y0 += ys;
        w.y1 = std::min(w.y1 + ys, bottom);
    }
}

// Averages channel values of the window's source pixels; pixel(c, r, sums,
// weight) adds weight times each channel. Returns the area, or 0 for none.
template <class Pixel>
double AverageWindow(Window w, double right, double bottom, bool widen, Pixel pixel)
{
    if (widen) {
        if (!(w.x1 - w.x0 >= 1.0))
            w.x1 = std::min(w.x0 + 1.0, right);
        if (!(w.y1 - w.y0 >= 1.0))
            w.y1 = std::min(w.y0 + 1.0, bottom);
    }
    double area = (w.x1 - w.x0) * (w.y1 - w.y0);
    if (widen && !(area > 0.0))
        return 0.0;
    int32_t iy0 = int16_t(int32_t(w.y0));
    int32_t ix0 = int16_t(int32_t(w.x0));
    int32_t iy1 = int16_t(Ceil16(w.y1));
    int32_t ix1 = int16_t(Ceil16(w.x1));
    double firstRow = 1.0 - (w.y0 - iy0);
    double lastRow = 1.0 - (iy1 - w.y1);
    double firstCol = 1.0 - (w.x0 - ix0);
    double lastCol = 1.0 - (ix1 - w.x1);
    for (int32_t r = iy0; r < iy1; ++r) {
        double rowWeight = r == iy0 ? firstRow : (r == iy1 - 1 ? lastRow : 1.0);
        for (int32_t c = ix0; c < ix1; ++c) {
            double weight = c == ix0 ? rowWeight * firstCol
                                     : (c == ix1 - 1 ? rowWeight * lastCol : rowWeight);
            pixel(c, r, weight);
        }
    }
    return area;
}

inline double Add(double sum, double weight, int value)
{
    return weight == 1.0 ? sum + value : sum + weight * value;
}

inline int32_t Rounded(double sum, double area) { return int32_t((sum + area * 0.5) / area); }

}  // namespace

void ResampleBitmap(const MMBitmap& source, const MMBitmap& destination)
{
    const Box& s = source.box;
    const Box& d = destination.box;
    if (d.Width() <= 0 || d.Height() <= 0)
        return;
    WalkWindows(s.left, s.top, s.right, s.bottom, d.Width(), d.Height(),
                [&](int32_t i, int32_t j, const Window& w) {
                    double sums[4] = {0, 0, 0, 0};
                    double area = AverageWindow(w, s.right, s.bottom, true,
                                                [&](int32_t c, int32_t r, double weight) {
                                                    const uint8_t* p = source.PixelAddress(c, r);
                                                    for (int k = 0; k < 4; ++k)
                                                        sums[k] = Add(sums[k], weight, p[k]);
                                                });
                    uint8_t* out = destination.PixelAddress(d.left + i, d.top + j);
                    if (area == 0.0) {
                        out[3] = 255;
                        return;
                    }
                    uint8_t average[4];
                    for (int k = 0; k < 4; ++k)
                        average[k] = uint8_t(Rounded(sums[k], area));
                    int a = average[3];
                    if (a == 0) {
                        std::copy(average, average + 4, out);
                    } else if (a == 255) {
                        out[3] = 255;
                    } else {
                        for (int k = 0; k < 3; ++k)
                            out[k] = uint8_t((out[k] * a + average[k] * (255 - a)) / 255);
                        out[3] = uint8_t(a);
                    }
                });
}

void ResamplePlane(const KVXPlaneComponent& source, const KVXPlaneComponent& destination)
{
    if (destination.width <= 0 || destination.height <= 0)
        return;
    double right = source.width;
    double bottom = source.height;
    WalkWindows(0, 0, right, bottom, destination.width, destination.height,
                [&](int32_t i, int32_t j, const Window& w) {
                    double sums[5] = {0, 0, 0, 0, 0};
                    double area = AverageWindow(w, right, bottom, true,
                                                [&](int32_t c, int32_t r, double weight) {
                                                    const KVXComponentPixel* p = source.PixelAt(c, r);
                                                    const uint8_t* b = &p->blue;
                                                    for (int k = 0; k < 4; ++k)
                                                        sums[k] = Add(sums[k], weight, b[k]);
                                                    sums[4] = Add(sums[4], weight, p->height);
                                                });
                    KVXComponentPixel& out = *destination.PixelAt(i, j);
                    if (area == 0.0) {
                        out = {255, 255, 255, 255, 0, 0};
                        return;
                    }
                    out = {uint8_t(Rounded(sums[0], area)), uint8_t(Rounded(sums[1], area)),
                           uint8_t(Rounded(sums[2], area)), uint8_t(Rounded(sums[3], area)),
                           uint16_t(Rounded(sums[4], area)), 0};
                });
}

void ResampleCanvasShaded(KVXPlaneComponent& source, const MMBitmap& destination)
{
    const Box& d = destination.box;
    if (d.Width() <= 0 || d.Height() <= 0)
        return;
    double right = source.width;
    double bottom = source.height;
    WalkWindows(0, 0, right, bottom, d.Width(), d.Height(),
                [&](int32_t i, int32_t j, const Window& w) {
                    double sums[3] = {0, 0, 0};
                    double area = AverageWindow(
                        w, right, bottom, false, [&](int32_t c, int32_t r, double weight) {
                            KVXComponentPixel* p = source.PixelAt(c, r);
                            uint32_t color = p->ColorWord();
                            if (c < source.width - 1 && r < source.height - 1)
                                color = ShadePixel(p, source.PixelAt(c, r + 1));
                            for (int k = 0; k < 3; ++k)
                                sums[k] = Add(sums[k], weight, (color >> (8 * k)) & 0xFF);
                        });
                    uint8_t* out = destination.PixelAddress(d.left + i, d.top + j);
                    if (!(area > 0.0))
                        return;
                    for (int k = 0; k < 3; ++k)
                        out[k] = uint8_t(Rounded(sums[k], area));
                    out[3] = 0;
                });
}

void MirrorBitmap(const MMBitmap& source, const MMBitmap& destination, bool mirrorX, bool mirrorY)
{
    if (!mirrorX && !mirrorY)
        return;
    int32_t bytes = source.bitsPerPixel / 8;
    if ((bytes != 1 && bytes != 4) || destination.bitsPerPixel != source.bitsPerPixel)
        return;
    int32_t n = source.Width();
    int32_t h = source.Height();
    for (int32_t i = 0; i < h; ++i) {
        const uint8_t* from = source.pixels + ptrdiff_t(mirrorY ? h - 1 - i : i) * source.pitch;
        uint8_t* to = destination.pixels + ptrdiff_t(i) * destination.pitch;
        for (int32_t j = 0; j < n; ++j) {
            const uint8_t* p = from + ptrdiff_t(mirrorX ? n - 1 - j : j) * bytes;
            std::copy(p, p + bytes, to + ptrdiff_t(j) * bytes);
        }
    }
}
