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

bool ShrinkPalettePicture(const MMBitmap& source, const MMBitmap& destination,
                          const RGBQUAD* palette, int32_t transparentIndex, int32_t specialIndex,
                          int32_t reservedIndex, bool mirror)
{
    int32_t sw = source.Width(), sh = source.Height();
    int32_t dw = destination.Width(), dh = destination.Height();
    if (dw <= 0 || dh <= 0 || sw < 2 * dw || sh < 2 * dh || palette == nullptr)
        return false;
    InversePalette inverse;
    const int16_t excluded[] = {int16_t(transparentIndex), int16_t(specialIndex),
                                int16_t(reservedIndex), 256};
    inverse.Build(palette, -1, excluded);
    double xs = double(sw) / dw, ys = double(sh) / dh;
    struct Group {
        int32_t sum[3];
        int32_t colored, special;
        bool clear;
    };
    std::vector<Group> groups(size_t(dw) * dh, Group{{0, 0, 0}, 0, 0, false});
    for (int32_t y = 0; y < sh; ++y) {
        int32_t j = std::min(int32_t((y + 0.5) / ys), dh - 1);
        const uint8_t* row = source.PixelAddress(source.box.left, source.box.top + y);
        for (int32_t x = 0; x < sw; ++x) {
            int32_t i = std::min(int32_t((x + 0.5) / xs), dw - 1);
            Group& g = groups[size_t(j) * dw + i];
            int32_t index = row[x];
            if (index == transparentIndex) {
                g.clear = true;
            } else if (index == specialIndex) {
                ++g.special;
            } else {
                g.sum[0] += palette[index].rgbRed;
                g.sum[1] += palette[index].rgbGreen;
                g.sum[2] += palette[index].rgbBlue;
                ++g.colored;
            }
        }
    }
    for (int32_t j = 0; j < dh; ++j) {
        uint8_t* out = destination.PixelAddress(destination.box.left, destination.box.top + j);
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
            out[mirror ? dw - 1 - i : i] = value;
        }
    }
    return true;
}
