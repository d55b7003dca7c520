#include "brushes/policy_brush.h"

#include <algorithm>

#include "brushes/path_generator.h"

KVXPolicyBrush::KVXPolicyBrush(const double params[4], const uint8_t heights[2],
                               KVXPlaneComponent* plane, const KVXBitmap<uint8_t>* nibMaster,
                               const KVXBitmap<uint8_t>* texture, const uint8_t* colour)
    : KVXBrushWithComponentPlane(plane), colour(colour), texture(texture)
{
    heightRange.Set(heights);
    KVXPlaneUChar master;
    if (nibMaster != nullptr)
        master.CopyView(*nibMaster);
    nibs.Build(master, int16_t(int32_t(params[2])), int16_t(int32_t(params[3])));
}

void KVXPolicyBrush::BeginStroke(const BrushDab* sample)
{
    uint8_t pixel[4];
    Colors().Start(SamplePixel(pixel, *sample), SizeIndexOf(*sample));
    BeginPath(sample);
}

uint8_t* KVXPolicyBrush::SamplePixel(uint8_t* out, const BrushDab& dab) const
{
    Pair at = ClampedDabPoint(*plane, dab);
    const KVXComponentPixel* p = plane->PixelAt(at.x, at.y);
    out[0] = p->blue;
    out[1] = p->green;
    out[2] = p->red;
    out[3] = p->type;
    return out;
}

int32_t KVXPolicyBrush::SizeIndexOf(const BrushDab& dab)
{
    return std::clamp(dab.sizeIndex, 0, kBrushSizes - 1);
}

Box KVXPolicyBrush::DabRect(const BrushDab& dab) const
{
    if (nibs.IsEmpty())
        return {0, 0, 0, 0};
    int32_t s = SizeIndexOf(dab);
    int32_t n = nibs.SizeFor(s);
    int32_t left = int32_t(dab.x) - nibs.OffsetFor(s);
    int32_t top = int32_t(dab.y) - nibs.OffsetFor(s);
    return OnPlane({left, top, left + n, top + n});
}

const uint8_t* KVXPolicyBrush::TextureRow(int32_t y) const
{
    if (texture == nullptr || texture->bits == nullptr || y < 0 || y >= texture->height)
        return nullptr;
    return texture->Row(y);
}

uint8_t KVXPolicyBrush::TextureAt(int32_t x, int32_t y) const
{
    const uint8_t* row = TextureRow(y);
    return row != nullptr && x >= 0 && x < texture->width ? row[x] : 0;
}
