#include <algorithm>

#include "canvas/draw_method.h"
#include "canvas/plane.h"
#include "engine/picture_collection.h"
#include "framework/color_table.h"
#include "media/bitmap.h"

namespace {

// Where a bitmap placed at offset meets the plane, in plane coordinates.
Box TargetBox(const KVXPlaneComponent& plane, const MMBitmap& bitmap, const Pair& offset)
{
    Box target = bitmap.box;
    target.Offset(offset);
    target.Intersect(plane.Bounds());
    return target;
}

// A source pixel: blue, green, red, transparency.
struct SourceReader {
    const MMBitmap& bitmap;
    const MMColorTable* colors;  // for 8-bit sources

    const uint8_t* At(int32_t x, int32_t y) const
    {
        const uint8_t* p = bitmap.PixelAddress(x, y);
        if (colors == nullptr)
            return p;
        return reinterpret_cast<const uint8_t*>(&colors->entries[*p]);
    }
};

// The canvas colour scaled by the transparency, plus the premultiplied
// source colour, kept to 8 bits.
void BlendOver(uint8_t* own, const uint8_t* source)
{
    int t = source[3];
    for (int i = 0; i < 3; ++i)
        own[i] = uint8_t(std::min(own[i] * t / 255 + source[i], 255));
}

enum class Rule { kPaste, kLoad };

void PutBitmap(KVXPlaneComponent& plane, const MMBitmap& bitmap, const MMColorTable* colors,
               const Pair& offset, Rule rule)
{
    Box target = TargetBox(plane, bitmap, offset);
    if (target.IsEmpty())
        return;
    auto shade = [&plane, &target] {
        Box reached = KVXDrawMethodAddHeight::RecomputeShading(plane, target);
        reached.Union(target);
        plane.AddDirtyRect(reached);
    };
    if (rule == Rule::kLoad)
        shade();
    SourceReader source{bitmap, colors};
    int32_t reference = rule == Rule::kPaste ? 0 : 65535;
    for (int32_t y = target.top; y < target.bottom; ++y) {
        for (int32_t x = target.left; x < target.right; ++x) {
            const KVXComponentPixel& p = *plane.PixelAt(x, y);
            if (p.type == kPixelLocked || source.At(x - offset.x, y - offset.y)[3] != 0)
                continue;
            reference = rule == Rule::kPaste ? std::max<int32_t>(reference, p.height)
                                             : std::min<int32_t>(reference, p.height);
        }
    }
    for (int32_t y = target.top; y < target.bottom; ++y) {
        for (int32_t x = target.left; x < target.right; ++x) {
            KVXComponentPixel& p = *plane.PixelAt(x, y);
            const uint8_t* s = source.At(x - offset.x, y - offset.y);
            if (p.type == kPixelLocked || s[3] == 255)
                continue;
            if (s[3] == 0) {
                std::copy(s, s + 3, &p.blue);
                p.height = uint16_t(reference);
            } else {
                BlendOver(&p.blue, s);
            }
            p.type = kPixelPlain;
        }
    }
    if (rule == Rule::kPaste)
        shade();
}

void PutPicture(KVXPlaneComponent& plane, const MMPictureReference& picture, const Pair& offset,
                Rule rule)
{
    if (picture.Collection() == nullptr)
        return;
    int32_t bits = picture.BitsPerPixel();
    MMColorTable colors;
    if ((bits != 32 && bits != 8) || (bits == 8 && !picture.CopyColorTable(colors)))
        return;
    MMBitmap bitmap;
    if (!picture.LockBitmap(bitmap))
        return;
    bitmap.transparencyKind = kTransparencyOpaque;
    if (bitmap.bitsPerPixel == bits)
        PutBitmap(plane, bitmap, bits == 8 ? &colors : nullptr, offset, rule);
    picture.Unlock();
}

}  // namespace

void KVXPlaneComponent::PastePicture(const MMPictureReference& picture, const Pair& offset)
{
    PutPicture(*this, picture, offset, Rule::kPaste);
}

void KVXPlaneComponent::LoadFromPicture(const MMPictureReference& picture, const Pair& offset)
{
    PutPicture(*this, picture, offset, Rule::kLoad);
}

void KVXPlaneComponent::StampPicture(const MMPictureReference& picture, const Pair& offset)
{
    MMBitmap bitmap;
    if (picture.Collection() == nullptr || !picture.LockBitmap(bitmap))
        return;
    bitmap.transparencyKind = kTransparencyOpaque;
    CompositeBitmapAt(bitmap, offset);
    picture.Unlock();
}

void KVXPlaneComponent::CompositeBitmapAt(const MMBitmap& bitmap, const Pair& offset)
{
    if (bitmap.bitsPerPixel != 32 || bitmap.pixels == nullptr)
        return;
    Box target = TargetBox(*this, bitmap, offset);
    for (int32_t y = target.top; y < target.bottom; ++y) {
        for (int32_t x = target.left; x < target.right; ++x) {
            KVXComponentPixel& p = *PixelAt(x, y);
            const uint8_t* s = bitmap.PixelAddress(x - offset.x, y - offset.y);
            if (s[3] == 255)
                continue;
            if (s[3] == 0)
                std::copy(s, s + 3, &p.blue);
            else
                BlendOver(&p.blue, s);
            p.type = kPixelPlain;
        }
    }
}
