#include "canvas/masked_palette_blit.h"

#include <algorithm>

#include "canvas/blend.h"
#include "media/surface.h"

MaskedPaletteBlitRecord::MaskedPaletteBlitRecord()
    : mirrorX(false), mirrorY(false), source{0, 0, 0, 0}, destination{0, 0, 0, 0}, stepX(0),
      stepY(0)
{
}

namespace {

// The source rectangle for the clipped destination.
void ComputeSource(MaskedPaletteBlitRecord& r, const Box& box)
{
    const Box& p = r.picture.box;
    const Box& d = r.destination;
    if (p.Width() == box.Width() && p.Height() == box.Height()) {
        r.source = {p.left + d.left - box.left, p.top + d.top - box.top,
                    p.left + d.right - box.left, p.top + d.bottom - box.top};
    } else {
        double l = std::min(double(p.Width()) / box.Width(), double(p.Height()) / box.Height());
        r.source.left = p.left + int16_t(int32_t(l * (d.left - box.left)));
        r.source.top = p.top + int16_t(int32_t(l * (d.top - box.top)));
        r.source.right = r.source.left + int16_t(int32_t(l * d.Width()));
        r.source.bottom = r.source.top + int16_t(int32_t(l * d.Height()));
        if (r.source.right == r.source.left) {
            if (r.source.right < p.right)
                ++r.source.right;
            else
                --r.source.left;
        }
        if (r.source.bottom == r.source.top) {
            if (r.source.bottom < p.bottom)
                ++r.source.bottom;
            else
                --r.source.top;
        }
    }
    if (r.mirrorX) {
        int32_t left = p.left + p.right - r.source.right;
        r.source.right = p.left + p.right - r.source.left;
        r.source.left = left;
    }
    if (r.mirrorY) {
        int32_t top = p.top + p.bottom - r.source.bottom;
        r.source.bottom = p.top + p.bottom - r.source.top;
        r.source.top = top;
    }
}

void Mix(uint8_t* d, const RGBQUAD& e, uint8_t m)
{
    const uint8_t* keep = BlendTable[m];
    const uint8_t* take = BlendTable[255 - m];
    d[0] = uint8_t(take[e.rgbBlue] + keep[d[0]]);
    d[1] = uint8_t(take[e.rgbGreen] + keep[d[1]]);
    d[2] = uint8_t(take[e.rgbRed] + keep[d[2]]);
    d[3] = 0;
}

// Destination row k, pixel j read source (sx(j), sy(k)); mirroring fills
// the destination backwards while the source is walked forwards.
void Draw(const MaskedPaletteBlitRecord& r, const MMBitmap& target, bool scaled)
{
    const Box& d = r.destination;
    int32_t width = d.Width();
    int32_t height = d.Height();
    for (int32_t k = 0; k < height; ++k) {
        int32_t sy = scaled ? int32_t((int64_t(r.source.top) * 65536 + int64_t(k) * r.stepY) >> 16)
                            : r.source.top + k;
        int32_t dy = r.mirrorY ? d.bottom - 1 - k : d.top + k;
        const uint8_t* picture = r.picture.PixelAddress(r.picture.box.left, sy);
        const uint8_t* mask = r.mask.PixelAddress(r.picture.box.left, sy);
        uint8_t* row = target.PixelAddress(d.left, dy);
        for (int32_t j = 0; j < width; ++j) {
            int32_t sx = scaled
                             ? int32_t((int64_t(r.source.left) * 65536 + int64_t(j) * r.stepX) >> 16)
                             : r.source.left + j;
            int32_t column = sx - r.picture.box.left;
            int32_t dx = r.mirrorX ? width - 1 - j : j;
            Mix(row + dx * 4, r.colours.entries[picture[column]], mask[column]);
        }
    }
}

}  // namespace

bool MaskedPaletteBlit(MaskedPaletteBlitRecord& record, MMSurface* surface, const Box& box)
{
    surface->Lock();
    MMBitmap target;
    if (surface->GetBitmap(target) && target.bitsPerPixel == 32 && record.picture.pixels &&
        record.mask.pixels && !box.IsEmpty()) {
        record.destination = box;
        record.destination.Intersect(target.box);
        if (!record.destination.IsEmpty()) {
            ComputeSource(record, box);
            bool scaled = record.picture.box.Width() != box.Width() ||
                          record.picture.box.Height() != box.Height();
            if (scaled) {
                record.stepX = int32_t(int64_t(record.source.Width()) * 65536 /
                                       record.destination.Width());
                record.stepY = int32_t(int64_t(record.source.Height()) * 65536 /
                                       record.destination.Height());
            }
            Draw(record, target, scaled);
        }
    }
    surface->Unlock();
    return true;
}
