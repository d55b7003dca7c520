#include "canvas/palette_reduction.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "media/bitmap.h"

void InversePalette::Build(const RGBQUAD* entries, int32_t excludedIndex,
                           const int16_t* excludedList)
{
    std::memcpy(palette, entries, sizeof palette);
    excluded = excludedIndex;
    std::fill(std::begin(cached), std::end(cached), int16_t(-1));
    std::fill(std::begin(head), std::end(head), int16_t(-1));
    std::fill(std::begin(next), std::end(next), int16_t(-1));
    std::fill(std::begin(flagged), std::end(flagged), false);
    for (const int16_t* p = excludedList; p != nullptr && *p >= 0 && *p < 256; ++p)
        flagged[*p] = true;
    for (int16_t i = 0; i < 256; ++i) {
        if (i == excluded || flagged[i])
            continue;
        int32_t cell = Cell(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue);
        next[i] = head[cell];
        head[cell] = i;
    }
}

int16_t InversePalette::Nearest(uint8_t red, uint8_t green, uint8_t blue)
{
    int32_t cell = Cell(red, green, blue);
    if (cached[cell] != -1)
        return cached[cell];
    int32_t cr = red >> 4, cg = green >> 4, cb = blue >> 4;
    int32_t centre[3] = {cr * 16 + 7, cg * 16 + 7, cb * 16 + 7};
    int32_t best = 0x40000;
    int16_t found = -1;
    for (int32_t c = 0; c < 16; ++c) {
        for (int32_t r = std::max(cr - c, 0); r <= std::min(cr + c, 15); ++r) {
            for (int32_t g = std::max(cg - c, 0); g <= std::min(cg + c, 15); ++g) {
                for (int32_t b = std::max(cb - c, 0); b <= std::min(cb + c, 15); ++b) {
                    int32_t distance =
                        std::max({std::abs(r - cr), std::abs(g - cg), std::abs(b - cb)});
                    if (distance != c)
                        continue;
                    for (int16_t i = head[r * 256 + g * 16 + b]; i != -1; i = next[i]) {
                        int32_t dr = palette[i].rgbRed - centre[0];
                        int32_t dg = palette[i].rgbGreen - centre[1];
                        int32_t db = palette[i].rgbBlue - centre[2];
                        int32_t d2 = dr * dr + dg * dg + db * db;
                        if (d2 < best) {
                            best = d2;
                            found = i;
                        }
                    }
                }
            }
        }
        int32_t reach = 16 * (c + 1) - 9;
        if (reach * reach > best)
            break;
    }
    cached[cell] = found;
    return found;
}

PaletteDitherer::PaletteDitherer(int32_t width, const RGBQUAD* palette, int32_t excludedIndex,
                                 const int16_t* excludedList)
    : width(width)
{
    inverse.Build(palette, excludedIndex, excludedList);
    for (std::vector<int32_t>& row : errors)
        row.assign(size_t(std::max(width, 0)) + 2, 0);
}

void PaletteDitherer::SetSource(int32_t newKind, const RGBQUAD* palette)
{
    kind = newKind;
    sourcePalette = palette;
}

void PaletteDitherer::SetSpecialIndexes(int32_t first, int32_t second)
{
    firstSpecial = first;
    secondSpecial = second;
}

void PaletteDitherer::DitherRow(const uint8_t* source, uint8_t* out, int32_t count)
{
    if (count <= 0 || count > width || source == nullptr || out == nullptr ||
        (kind == kDitherIndexed && sourcePalette == nullptr))
        return;
    // Error rows are indexed from the spare place: position x is x + 1.
    int32_t accumulator[3];
    for (int c = 0; c < 3; ++c) {
        accumulator[c] = errors[c][1];
        errors[c][1] = 0;
        errors[c][0] = 0;
    }
    for (int32_t x = 0; x < count; ++x) {
        int32_t rgb[3];
        switch (kind) {
        case kDitherRGB:
            rgb[0] = source[3 * x];
            rgb[1] = source[3 * x + 1];
            rgb[2] = source[3 * x + 2];
            break;
        case kDitherBGR:
            rgb[0] = source[3 * x + 2];
            rgb[1] = source[3 * x + 1];
            rgb[2] = source[3 * x];
            break;
        case kDitherIndexed: {
            const RGBQUAD& e = sourcePalette[source[x]];
            rgb[0] = e.rgbRed;
            rgb[1] = e.rgbGreen;
            rgb[2] = e.rgbBlue;
            break;
        }
        default:
            rgb[0] = source[4 * x + 2];
            rgb[1] = source[4 * x + 1];
            rgb[2] = source[4 * x];
            break;
        }
        for (int c = 0; c < 3; ++c)
            accumulator[c] = std::clamp(accumulator[c] + rgb[c], 0, 255);
        int16_t index = inverse.Nearest(uint8_t(accumulator[0]), uint8_t(accumulator[1]),
                                        uint8_t(accumulator[2]));
        out[x] = uint8_t(index < 0 ? 0 : index);
        const RGBQUAD& chosen = inverse.Entry(out[x]);
        int32_t entry[3] = {chosen.rgbRed, chosen.rgbGreen, chosen.rgbBlue};
        for (int c = 0; c < 3; ++c) {
            int32_t e = accumulator[c] - entry[c];
            if (index == firstSpecial && e > 0)
                e = 0;
            if (index == secondSpecial && e < 0)
                e = 0;
            std::vector<int32_t>& row = errors[c];
            int32_t at = x + 1;
            if (e == 0) {
                accumulator[c] = 0;
                row[at + 1] = 0;
                continue;
            }
            int32_t r = e >= 0 ? 8 : -8;
            accumulator[c] = row[at + 1] + ((7 * e + r) >> 4);
            row[at + 1] = (e + r) >> 4;
            row[at] += (5 * e + r) >> 4;
            row[at - 1] += (3 * e + r) >> 4;
        }
    }
}

namespace {

// Run i of n over size source places: whole places, neighbours sharing the
// boundary place when the sizes do not divide.
void Run(int32_t i, int32_t n, int32_t size, int32_t& first, int32_t& end)
{
    first = int32_t(int64_t(i) * size / n);
    end = int32_t((int64_t(i + 1) * size + n - 1) / n);
    end = std::max(end, first + 1);
}

}  // namespace

bool BoxFilterShrink(const KVXDibRows& source, const MMBitmap& destination, int32_t brightness,
                     int32_t contrast, const RGBQUAD* palette)
{
    int32_t sw = source.Width(), sh = source.Height();
    int32_t dw = destination.Width(), dh = destination.Height();
    int32_t bits = source.BitsPerPixel();
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0 || destination.pixels == nullptr ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24))
        return false;
    RGBQUAD table[256] = {};
    if (bits != 24 && !source.CopyColorTable(table))
        return false;
    int32_t offset = MulDiv(brightness, 256, 100) - 128;
    double factor = (contrast < 50 ? contrast + 50 : 2 * contrast) / 100.0;
    int32_t rowBytes = bits == 24 ? 3 * sw : sw;
    std::vector<uint8_t> row(size_t(rowBytes), 0);
    std::vector<int32_t> sums(static_cast<size_t>(dw) * 3);
    std::vector<int32_t> counts(static_cast<size_t>(dw));
    std::vector<uint8_t> line(static_cast<size_t>(dw) * 4);
    std::unique_ptr<PaletteDitherer> ditherer;
    if (destination.bitsPerPixel == 8) {
        if (palette == nullptr)
            return false;
        ditherer.reset(new PaletteDitherer(dw, palette, -1, nullptr));
        ditherer->SetSource(kDitherBGRX);
    }
    for (int32_t j = 0; j < dh; ++j) {
        int32_t top, bottom;
        Run(j, dh, sh, top, bottom);
        std::fill(sums.begin(), sums.end(), 0);
        std::fill(counts.begin(), counts.end(), 0);
        for (int32_t y = top; y < std::min(bottom, sh); ++y) {
            if (!source.UnpackedRow(y, row.data()))
                return false;
            for (int32_t i = 0; i < dw; ++i) {
                int32_t left, right;
                Run(i, dw, sw, left, right);
                for (int32_t x = left; x < std::min(right, sw); ++x) {
                    uint8_t b, g, r;
                    if (bits == 24) {
                        b = row[3 * x], g = row[3 * x + 1], r = row[3 * x + 2];
                    } else {
                        const RGBQUAD& e = table[row[x]];
                        b = e.rgbBlue, g = e.rgbGreen, r = e.rgbRed;
                    }
                    sums[3 * i] += b;
                    sums[3 * i + 1] += g;
                    sums[3 * i + 2] += r;
                    ++counts[i];
                }
            }
        }
        for (int32_t i = 0; i < dw; ++i) {
            for (int c = 0; c < 3; ++c) {
                int32_t n = std::max(counts[i], 1);
                int32_t mean = (sums[3 * i + c] + n / 2) / n;
                line[4 * i + c] = uint8_t(std::clamp(int32_t(factor * mean) + offset, 0, 255));
            }
            line[4 * i + 3] = 0;
        }
        uint8_t* out = destination.PixelAddress(destination.box.left, destination.box.top + j);
        if (ditherer) {
            ditherer->DitherRow(line.data(), out, dw);
        } else if (destination.bitsPerPixel == 24) {
            for (int32_t i = 0; i < dw; ++i)
                std::memcpy(out + 3 * i, &line[4 * i], 3);
        } else {
            std::memcpy(out, line.data(), size_t(dw) * 4);
        }
    }
    return true;
}

namespace {

enum SampleKind { kColored, kClear, kSpecial };

// The source pixels of a palette shrink: one picture, or two of one size
// mixed, the first weighing (weight + 1) / 256 and the second
// (255 - weight) / 256; a mixed pixel is clear or special when the pixel of
// the picture weighing more is.
class PaletteSamples {
public:
    PaletteSamples(const MMBitmap& first, const MMBitmap* second, int32_t weight,
                   const RGBQUAD* palette, int32_t transparentIndex, int32_t specialIndex)
        : first(first), second(second), weight(weight), palette(palette),
          transparentIndex(transparentIndex), specialIndex(specialIndex)
    {
    }
    int32_t Width() const { return first.Width(); }
    int32_t Height() const { return first.Height(); }

    // The kind of pixel (x, y) and, when coloured, its red, green, blue.
    SampleKind At(int32_t x, int32_t y, int32_t rgb[3]) const
    {
        int32_t a = Index(first, x, y);
        if (second == nullptr)
            return Colour(a, rgb);
        int32_t b = Index(*second, x, y);
        SampleKind kind = Kind(weight >= 128 ? a : b);
        if (kind != kColored)
            return kind;
        const RGBQUAD& p = palette[a];
        const RGBQUAD& q = palette[b];
        rgb[0] = (p.rgbRed * (weight + 1) + q.rgbRed * (255 - weight)) >> 8;
        rgb[1] = (p.rgbGreen * (weight + 1) + q.rgbGreen * (255 - weight)) >> 8;
        rgb[2] = (p.rgbBlue * (weight + 1) + q.rgbBlue * (255 - weight)) >> 8;
        return kColored;
    }

private:
    static int32_t Index(const MMBitmap& bitmap, int32_t x, int32_t y)
    {
        return *bitmap.PixelAddress(bitmap.box.left + x, bitmap.box.top + y);
    }
    SampleKind Kind(int32_t index) const
    {
        return index == transparentIndex ? kClear : index == specialIndex ? kSpecial : kColored;
    }
    SampleKind Colour(int32_t index, int32_t rgb[3]) const
    {
        SampleKind kind = Kind(index);
        rgb[0] = palette[index].rgbRed;
        rgb[1] = palette[index].rgbGreen;
        rgb[2] = palette[index].rgbBlue;
        return kind;
    }

    const MMBitmap& first;
    const MMBitmap* second;
    int32_t weight;
    const RGBQUAD* palette;
    int32_t transparentIndex;
    int32_t specialIndex;
};

struct PaletteShrink {
    const MMBitmap& destination;
    const RGBQUAD* palette;
    int32_t transparentIndex;
    int32_t specialIndex;
    int32_t reservedIndex;
    bool mirror;

    const int16_t* Excluded(int16_t list[4]) const
    {
        list[0] = int16_t(transparentIndex);
        list[1] = int16_t(specialIndex);
        list[2] = int16_t(reservedIndex);
        list[3] = 256;
        return list;
    }
    uint8_t* Row(int32_t j) const
    {
        return destination.PixelAddress(destination.box.left, destination.box.top + j);
    }
    void Put(uint8_t* row, int32_t i, uint8_t value) const
    {
        row[mirror ? destination.Width() - 1 - i : i] = value;
    }
    void Whole(const PaletteSamples& samples) const;
    void Fractional(const PaletteSamples& samples) const;
    bool Run(const PaletteSamples& samples) const;
};

// Groups of whole source pixels, at most half the size: each destination
// pixel takes the mean of the coloured pixels of its group.
void PaletteShrink::Whole(const PaletteSamples& samples) const
{
    int32_t sw = samples.Width(), sh = samples.Height();
    int32_t dw = destination.Width(), dh = destination.Height();
    int16_t excluded[4];
    InversePalette inverse;
    inverse.Build(palette, -1, Excluded(excluded));
    double xs = double(sw) / dw, ys = double(sh) / dh;
    struct Group {
        int32_t sum[3];
        int32_t colored, special;
        bool clear;
    };
    std::vector<Group> groups(size_t(dw) * dh, Group{{0, 0, 0}, 0, 0, false});
    for (int32_t y = 0; y < sh; ++y) {
        int32_t j = std::min(int32_t((y + 0.5) / ys), dh - 1);
        for (int32_t x = 0; x < sw; ++x) {
            int32_t i = std::min(int32_t((x + 0.5) / xs), dw - 1);
            Group& g = groups[size_t(j) * dw + i];
            int32_t rgb[3];
            SampleKind kind = samples.At(x, y, rgb);
            if (kind == kClear) {
                g.clear = true;
            } else if (kind == kSpecial) {
                ++g.special;
            } else {
                for (int c = 0; c < 3; ++c)
                    g.sum[c] += rgb[c];
                ++g.colored;
            }
        }
    }
    for (int32_t j = 0; j < dh; ++j) {
        uint8_t* out = Row(j);
        for (int32_t i = 0; i < dw; ++i) {
            const Group& g = groups[size_t(j) * dw + i];
            uint8_t value;
            if (g.clear) {
                value = uint8_t(transparentIndex);
            } else if (g.special > g.colored) {
                value = uint8_t(reservedIndex);
            } else {
                int32_t n = std::max(g.colored, 1);
                int32_t shift = n == 1 ? 0 : n == 2 ? 1 : n == 4 ? 2 : n == 8 ? 3 : -1;
                uint8_t mean[3];
                for (int c = 0; c < 3; ++c)
                    mean[c] = uint8_t(shift >= 0 ? g.sum[c] >> shift : (g.sum[c] + n / 4) / n);
                int16_t index = inverse.Nearest(mean[0], mean[1], mean[2]);
                value = uint8_t(index < 0 ? 0 : index);
            }
            Put(out, i, value);
        }
    }
}

// Windows of fractional size: every source pixel counts by the part of it
// the window covers; the mean colours of a row are dithered into the palette.
void PaletteShrink::Fractional(const PaletteSamples& samples) const
{
    int32_t sw = samples.Width(), sh = samples.Height();
    int32_t dw = destination.Width(), dh = destination.Height();
    int16_t excluded[4];
    PaletteDitherer ditherer(dw, palette, -1, Excluded(excluded));
    ditherer.SetSource(kDitherBGRX);
    double xs = double(sw) / dw, ys = double(sh) / dh;
    std::vector<uint8_t> line(size_t(dw) * 4);
    std::vector<uint8_t> kinds(static_cast<size_t>(dw));
    std::vector<uint8_t> indexes(static_cast<size_t>(dw));
    for (int32_t j = 0; j < dh; ++j) {
        double y0 = j * ys, y1 = std::min((j + 1) * ys, double(sh));
        for (int32_t i = 0; i < dw; ++i) {
            double x0 = i * xs, x1 = std::min((i + 1) * xs, double(sw));
            double sum[3] = {0, 0, 0};
            double colored = 0, special = 0;
            bool clear = false;
            for (int32_t y = int32_t(y0); y < sh && y < y1; ++y) {
                double cover = std::min(y + 1.0, y1) - std::max(double(y), y0);
                for (int32_t x = int32_t(x0); x < sw && x < x1; ++x) {
                    double w = cover * (std::min(x + 1.0, x1) - std::max(double(x), x0));
                    if (w <= 0)
                        continue;
                    int32_t rgb[3];
                    SampleKind kind = samples.At(x, y, rgb);
                    if (kind == kClear) {
                        clear = true;
                    } else if (kind == kSpecial) {
                        special += w;
                    } else {
                        for (int c = 0; c < 3; ++c)
                            sum[c] += w * rgb[c];
                        colored += w;
                    }
                }
            }
            kinds[size_t(i)] = uint8_t(clear ? kClear : special > colored ? kSpecial : kColored);
            for (int c = 0; c < 3; ++c)  // red, green, blue into blue, green, red
                line[4 * size_t(i) + 2 - c] =
                    uint8_t(colored > 0 ? int32_t(sum[c] / colored + 0.5) : 0);
            line[4 * size_t(i) + 3] = 0;
        }
        ditherer.DitherRow(line.data(), indexes.data(), dw);
        uint8_t* out = Row(j);
        for (int32_t i = 0; i < dw; ++i) {
            uint8_t kind = kinds[size_t(i)];
            Put(out, i,
                kind == kClear     ? uint8_t(transparentIndex)
                : kind == kSpecial ? uint8_t(reservedIndex)
                                   : indexes[size_t(i)]);
        }
    }
}

bool PaletteShrink::Run(const PaletteSamples& samples) const
{
    int32_t sw = samples.Width(), sh = samples.Height();
    int32_t dw = destination.Width(), dh = destination.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || palette == nullptr ||
        destination.pixels == nullptr)
        return false;
    if (sw >= 2 * dw && sh >= 2 * dh)
        Whole(samples);
    else
        Fractional(samples);
    return true;
}

}  // namespace

bool ShrinkPalettePicture(const MMBitmap& source, const MMBitmap& destination,
                          const RGBQUAD* palette, int32_t transparentIndex, int32_t specialIndex,
                          int32_t reservedIndex, bool mirror)
{
    PaletteShrink shrink{destination, palette, transparentIndex, specialIndex, reservedIndex, mirror};
    return shrink.Run(
        PaletteSamples(source, nullptr, 0, palette, transparentIndex, specialIndex));
}

bool ShrinkMixedPalettePictures(const MMBitmap& first, const MMBitmap& second, int32_t weight,
                                const MMBitmap& destination, const RGBQUAD* palette,
                                int32_t transparentIndex, int32_t specialIndex,
                                int32_t reservedIndex, bool mirror)
{
    if (second.Width() != first.Width() || second.Height() != first.Height() || weight < 0 ||
        weight > 255)
        return false;
    PaletteShrink shrink{destination, palette, transparentIndex, specialIndex, reservedIndex, mirror};
    return shrink.Run(
        PaletteSamples(first, &second, weight, palette, transparentIndex, specialIndex));
}
