#include "selection/pixel_kernels.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <new>
#include <vector>

#include "canvas/blend.h"
#include "framework/random.h"
#include "media/bitmap.h"

namespace {

uint16_t ClampHeight(int64_t h) { return uint16_t(std::clamp<int64_t>(h, 0, 65535)); }

bool Is32(const MMBitmap& bitmap) { return bitmap.bitsPerPixel == 32 && bitmap.pixels != nullptr; }

// Blue, green, red and type of every pixel, row after row.
std::vector<uint32_t> CopyColourWords(const KVXPlaneComponent& plane)
{
    std::vector<uint32_t> words(size_t(plane.width) * plane.height);
    for (int32_t y = 0; y < plane.height; ++y) {
        const KVXComponentPixel* row = plane.Row(y);
        for (int32_t x = 0; x < plane.width; ++x)
            words[size_t(y) * plane.width + x] = row[x].ColorWord();
    }
    return words;
}

uint8_t Channel(const KVXComponentPixel& p, int c) { return (&p.blue)[c]; }

}  // namespace

void SoftenPixels3x3(const MMBitmap& bitmap)
{
    if (!Is32(bitmap))
        return;
    const Box& b = bitmap.box;
    for (int32_t y = b.top + 1; y < b.bottom - 1; ++y) {
        for (int32_t x = b.left + 1; x < b.right - 1; ++x) {
            uint8_t* p = bitmap.PixelAddress(x, y);
            const uint8_t* up = bitmap.PixelAddress(x, y - 1);
            const uint8_t* down = bitmap.PixelAddress(x, y + 1);
            for (int c = 0; c < 4; ++c) {
                int sum = BlendTable[p[c]][128];
                for (const uint8_t* n : std::initializer_list<const uint8_t*>{
                         up - 4, up, up + 4, p - 4, p + 4, down - 4, down, down + 4})
                    sum += BlendTable[n[c]][16];
                p[c] = uint8_t(std::min(sum, 255));
            }
        }
    }
}

void MirrorBitmap32Horizontal(const MMBitmap& bitmap)
{
    if (!Is32(bitmap))
        return;
    const Box& b = bitmap.box;
    int32_t w = b.Width();
    for (int32_t y = b.top; y < b.bottom; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(bitmap.PixelAddress(b.left, y));
        std::reverse(row, row + w);
    }
}

bool MirrorBitmap32Vertical(const MMBitmap& bitmap)
{
    if (!Is32(bitmap))
        return true;
    const Box& b = bitmap.box;
    size_t bytes = size_t(b.Width()) * 4;
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[bytes]);
    if (!buffer)
        return false;
    for (int32_t i = 0; i < b.Height() / 2; ++i) {
        uint8_t* a = bitmap.PixelAddress(b.left, b.top + i);
        uint8_t* z = bitmap.PixelAddress(b.left, b.bottom - 1 - i);
        std::memcpy(buffer.get(), a, bytes);
        std::memcpy(a, z, bytes);
        std::memcpy(z, buffer.get(), bytes);
    }
    return true;
}

void MirrorComponentHorizontal(const KVXPlaneComponent& plane)
{
    for (int32_t y = 0; y < plane.height; ++y)
        std::reverse(plane.Row(y), plane.Row(y) + plane.width);
}

void MirrorComponentVertical(const KVXPlaneComponent& plane)
{
    for (int32_t i = 0; i < plane.height / 2; ++i)
        std::swap_ranges(plane.Row(i), plane.Row(i) + plane.width, plane.Row(plane.height - 1 - i));
}

void EmbossComponentPlane(const KVXPlaneComponent& plane, int32_t)
{
    const int32_t w = plane.width, h = plane.height;
    // The type byte holds each pass's results, so every pixel of a channel
    // is computed from unchanged colours; 254 at most keeps it unmarked.
    for (int c : {2, 1, 0}) {
        for (int32_t y = 0; y + 1 < h; ++y) {
            const KVXComponentPixel* above = plane.Row(y > 0 ? y - 1 : 0);
            KVXComponentPixel* row = plane.Row(y);
            const KVXComponentPixel* below = plane.Row(y + 1);
            for (int32_t x = 1; x + 1 < w; ++x) {
                if (row[x].type == kOutsideOutline)
                    continue;
                int32_t s = Channel(above[x + 1], c) + Channel(row[x + 1], c) +
                            Channel(below[x + 1], c) + Channel(below[x], c) -
                            Channel(above[x - 1], c) - Channel(row[x - 1], c) -
                            Channel(below[x - 1], c) - Channel(above[x], c);
                int32_t e = (Channel(row[x], c) + 2 * s) / 2;
                row[x].type = uint8_t(std::clamp(e, 0, 254));
            }
        }
        for (int32_t y = 0; y + 1 < h; ++y) {
            KVXComponentPixel* row = plane.Row(y);
            for (int32_t x = 1; x + 1 < w; ++x) {
                if (row[x].type != kOutsideOutline)
                    (&row[x].blue)[c] = row[x].type;
            }
        }
    }
    for (int32_t y = 0; y < h; ++y) {
        KVXComponentPixel* row = plane.Row(y);
        for (int32_t x = 0; x < w; ++x) {
            if (row[x].type != kOutsideOutline)
                row[x].type = 0;
        }
    }
}

void BlurComponentPlane(const KVXPlaneComponent& plane, int32_t)
{
    for (int32_t y = 1; y + 1 < plane.height; ++y) {
        const KVXComponentPixel* up = plane.Row(y - 1);
        KVXComponentPixel* row = plane.Row(y);
        const KVXComponentPixel* down = plane.Row(y + 1);
        for (int32_t x = 1; x + 1 < plane.width; ++x) {
            if (row[x].type != 0)
                continue;
            for (int c = 0; c < 3; ++c) {
                int sum = BlendTable[Channel(row[x], c)][64];
                for (const KVXComponentPixel* n : std::initializer_list<const KVXComponentPixel*>{
                         &up[x], &down[x], &row[x - 1], &row[x + 1]})
                    sum += BlendTable[Channel(*n, c)][32];
                for (const KVXComponentPixel* n : std::initializer_list<const KVXComponentPixel*>{
                         &up[x - 1], &up[x + 1], &down[x - 1], &down[x + 1]})
                    sum += BlendTable[Channel(*n, c)][16];
                (&row[x].blue)[c] = uint8_t(std::min(sum, 255));
            }
        }
    }
}

void ImpressionistDabs(const KVXPlaneComponent& plane, int32_t strength, const uint8_t* mask,
                       UURandom& random)
{
    const int32_t w = plane.width, h = plane.height;
    if (w <= 0 || h <= 0 || mask == nullptr)
        return;
    std::vector<uint32_t> copy = CopyColourWords(plane);
    for (int32_t y = 0; y < h; ++y) {
        for (KVXComponentPixel* p = plane.Row(y); p < plane.Row(y) + w; ++p)
            p->blue = p->green = p->red = 255;
    }
    const Box all = plane.Bounds();
    for (int32_t u = 0; u < h; u += 4) {
        for (int32_t v = 0; v < w; v += 4) {
            int32_t dx = random.Range(-2, 2);
            int32_t dy = random.Range(-2, 2);
            Box box = {v + dx - 2, u + dy - 2, v + dx + 2, u + dy + 2};
            box.Intersect(all);
            if (box.IsEmpty() || box.left >= box.right || box.top >= box.bottom)
                continue;
            int32_t sum[3] = {0, 0, 0};
            for (int32_t y = box.top; y < box.bottom; ++y)
                for (int32_t x = box.left; x < box.right; ++x)
                    for (int c = 0; c < 3; ++c)
                        sum[c] += (copy[size_t(y) * w + x] >> (8 * c)) & 0xFF;
            int32_t n = box.Width() * box.Height();
            uint8_t average[3] = {uint8_t(sum[0] / n), uint8_t(sum[1] / n), uint8_t(sum[2] / n)};
            int32_t left = box.left + box.Width() / 2 - kDabMaskSize / 2;
            int32_t top = box.top + box.Height() / 2 - kDabMaskSize / 2;
            for (int32_t my = 0; my < kDabMaskSize; ++my) {
                int32_t y = top + my;
                if (y < 0 || y >= h)
                    continue;
                for (int32_t mx = 0; mx < kDabMaskSize; ++mx) {
                    int32_t x = left + mx;
                    uint8_t m = mask[my * kDabMaskSize + mx];
                    if (x < 0 || x >= w || m == 0)
                        continue;
                    KVXComponentPixel& p = *plane.PixelAt(x, y);
                    for (int c = 0; c < 3; ++c)
                        (&p.blue)[c] = uint8_t(BlendTable[Channel(p, c)][255 - m] +
                                               BlendTable[average[c]][m]);
                    p.type = 0;
                    p.height = ClampHeight(p.height + m * (strength - 255) / 255);
                }
            }
        }
    }
}

void TileMosaic(const KVXPlaneComponent& plane, int32_t strength)
{
    for (int32_t top = 0; top < plane.height; top += 9) {
        for (int32_t left = 0; left < plane.width; left += 9) {
            int32_t right = std::min(left + 8, plane.width);
            int32_t bottom = std::min(top + 8, plane.height);
            int32_t sum[3] = {0, 0, 0};
            uint16_t largest = 0;
            for (int32_t y = top; y < bottom; ++y) {
                for (const KVXComponentPixel* p = plane.PixelAt(left, y);
                     p < plane.PixelAt(right, y); ++p) {
                    for (int c = 0; c < 3; ++c)
                        sum[c] += Channel(*p, c);
                    largest = std::max(largest, p->height);
                }
            }
            int32_t n = (right - left) * (bottom - top);
            uint8_t average[3] = {uint8_t(sum[0] / n), uint8_t(sum[1] / n), uint8_t(sum[2] / n)};
            int32_t dark = 765 - (average[0] + average[1] + average[2]);
            uint16_t height = ClampHeight(largest + dark * (strength - 255) / 255);
            for (int32_t y = top; y < bottom; ++y) {
                for (KVXComponentPixel* p = plane.PixelAt(left, y); p < plane.PixelAt(right, y);
                     ++p) {
                    p->blue = average[0];
                    p->green = average[1];
                    p->red = average[2];
                    p->type = 0;
                    p->height = height;
                }
            }
        }
    }
}

void ScatterPixels(const KVXPlaneComponent& plane, int32_t, UURandom& random)
{
    const int32_t w = plane.width, h = plane.height;
    if (w <= 0 || h <= 0)
        return;
    std::vector<uint32_t> copy = CopyColourWords(plane);
    for (int32_t i = 0; i < h; ++i) {
        for (int32_t j = 0; j < w; ++j) {
            int32_t r1 = random.Next();
            int32_t r2 = random.Next();
            int32_t tx = std::clamp(j + (r1 & 7) - 3, 0, w - 1);
            int32_t ty = std::clamp(i + (r2 & 7) - 3, 0, h - 1);
            plane.PixelAt(tx, ty)->SetColorWord(copy[size_t(i) * w + j]);
        }
    }
}

void ApplyPictureEffect(int32_t kind, const KVXPlaneComponent& plane, int32_t strength,
                        const uint8_t* dabMask, UURandom& random)
{
    switch (kind) {
    case kEffectEmboss:
        EmbossComponentPlane(plane, strength);
        break;
    case kEffectBlur:
        BlurComponentPlane(plane, strength);
        break;
    case kEffectDabs:
        ImpressionistDabs(plane, strength, dabMask, random);
        break;
    case kEffectMosaic:
        TileMosaic(plane, strength);
        break;
    case kEffectScatter:
        ScatterPixels(plane, strength, random);
        break;
    default:
        break;
    }
}
