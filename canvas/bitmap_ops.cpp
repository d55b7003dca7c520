#include "canvas/bitmap_ops.h"

#include <algorithm>
#include <memory>

#include "canvas/blend.h"
#include "framework/color_table.h"
#include "media/bitmap.h"
#include "media/bitmap_picture_collection.h"
#include "media/blit_request.h"
#include "media/encoded_image.h"

namespace {

template <class Visit>
void EachPixel(const MMBitmap& bitmap, Visit visit)
{
    if (bitmap.bitsPerPixel != 32 || bitmap.pixels == nullptr)
        return;
    for (int32_t y = bitmap.box.top; y < bitmap.box.bottom; ++y) {
        uint8_t* p = bitmap.PixelAddress(bitmap.box.left, y);
        for (int32_t x = bitmap.box.left; x < bitmap.box.right; ++x, p += 4)
            visit(p);
    }
}

// Walks the part of bitmap under the 8-bit picture placed at (x, y):
// visit(pixel, picture value).
template <class Visit>
void UnderPicture(const MMBitmap& bitmap, int32_t x, int32_t y, MMPictureID id, Visit visit)
{
    if (bitmap.bitsPerPixel != 32 || bitmap.pixels == nullptr)
        return;
    MMPictureReference picture;
    picture.Load(id);
    if (picture.Collection() == nullptr)
        return;
    Pair size = picture.GetSize();
    Box area = {x, y, x + size.x, y + size.y};
    area.Intersect(bitmap.box);
    MMBitmap locked;
    if (!area.IsEmpty() && picture.LockBitmap(locked)) {
        if (locked.bitsPerPixel == 8) {
            for (int32_t py = area.top; py < area.bottom; ++py) {
                for (int32_t px = area.left; px < area.right; ++px) {
                    uint8_t value =
                        *locked.PixelAddress(locked.box.left + px - x, locked.box.top + py - y);
                    visit(bitmap.PixelAddress(px, py), value, px, py);
                }
            }
        }
        picture.Unlock();
    }
    picture.Clear();
}

void Cover(uint8_t* p, const uint8_t* bgr, uint8_t c)
{
    if (c == 0)
        return;
    for (int i = 0; i < 3; ++i)
        p[i] = c == 255 ? bgr[i] : uint8_t(BlendTable[p[i]][255 - c] + BlendTable[bgr[i]][c]);
    p[3] = 0;
}

// The tint rule for one entry or pixel: blue, green, red and transparency.
void Tint(uint8_t* p, const uint8_t* bgr, double factor)
{
    uint8_t a = p[3];
    for (int i = 0; i < 3; ++i)
        p[i] = a != 0 ? bgr[i] : uint8_t(BlendTable[bgr[i]][255 - p[i]] + BlendTable[255][p[i]]);
    p[3] = uint8_t(factor * (255 - a) + a);
}

}  // namespace

void FillBitmapColor(const MMBitmap& bitmap, uint8_t blue, uint8_t green, uint8_t red)
{
    EachPixel(bitmap, [=](uint8_t* p) {
        p[0] = blue;
        p[1] = green;
        p[2] = red;
    });
}

void SetBitmapAlpha(const MMBitmap& bitmap, uint8_t value)
{
    EachPixel(bitmap, [=](uint8_t* p) { p[3] = value; });
}

void ClearColorWhereAlpha(MMBitmap& bitmap)
{
    bitmap.transparencyKind = kTransparencyStraight;
    EachPixel(bitmap, [](uint8_t* p) {
        if (p[3] != 0)
            p[0] = p[1] = p[2] = 0;
    });
}

void SetAlphaFromPicture(const MMBitmap& bitmap, int32_t x, int32_t y, MMPictureID picture)
{
    UnderPicture(bitmap, x, y, picture,
                 [](uint8_t* p, uint8_t value, int32_t, int32_t) { p[3] = uint8_t(255 - value); });
}

void PaintColorThroughMask(const MMBitmap& bitmap, const uint8_t* bgr, int32_t x, int32_t y,
                           MMPictureID picture)
{
    UnderPicture(bitmap, x, y, picture, [bgr](uint8_t* p, uint8_t value, int32_t, int32_t) {
        if (value != 0)
            std::copy(bgr, bgr + 3, p);
    });
}

void SetAlphaFromPictureClipped(const MMBitmap& bitmap, int32_t x, int32_t y, MMPictureID picture,
                                const uint8_t* bgr)
{
    UnderPicture(bitmap, x, y, picture,
                 [bgr](uint8_t* p, uint8_t value, int32_t, int32_t) { Cover(p, bgr, value); });
}

void BlitPictureThroughMask(const MMBitmap& bitmap, int32_t x, int32_t y, MMPictureID coverage,
                            const uint8_t* bgr, MMPictureID mask)
{
    MMPictureReference covering;
    covering.Load(coverage);
    MMBitmap cover;
    if (covering.Collection() == nullptr || !covering.LockBitmap(cover))
        return;
    if (cover.bitsPerPixel == 8) {
        UnderPicture(bitmap, x, y, mask,
                     [&](uint8_t* p, uint8_t maskValue, int32_t px, int32_t py) {
                         int32_t cx = cover.box.left + px - x;
                         int32_t cy = cover.box.top + py - y;
                         if (maskValue == 0 || cx >= cover.box.right || cy >= cover.box.bottom)
                             return;
                         Cover(p, bgr, *cover.PixelAddress(cx, cy));
                     });
    }
    covering.Unlock();
    covering.Clear();
}

namespace {

// The picture blitted 1:1; with keepAlpha a picture with alpha has its bytes
// copied as they are, transparency included, instead of mixed. Answers the
// picture's transparency rule, -1 when it could not be drawn.
int32_t BlitPicture(const DrawPictureRecord& record, bool keepAlpha)
{
    MMPictureReference picture;
    picture.Load(record.picture);
    if (picture.Collection() == nullptr || record.destination == nullptr)
        return -1;
    MMBitmap bitmap;
    MMEncodedImage image;
    MMImageDescription* source = &bitmap;
    bool locked = picture.IsBitmap() ? picture.LockBitmap(bitmap)
                                     : (source = &image, picture.LockEncodedImage(image));
    if (!locked) {
        picture.Clear();
        return -1;
    }
    int32_t rule = source->transparencyKind;
    if (keepAlpha && (rule == kTransparencyStraight || rule == kTransparencyPremultiplied))
        source->transparencyKind = kTransparencyOpaque;
    Box box = source->box;
    box.Offset({record.x, record.y});
    // A picture without a colour table is drawn through a grey ramp.
    MMColorTable colors;
    for (int i = 0; i < 256; ++i)
        colors.entries[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
    picture.CopyColorTable(colors);
    MMBitmapBlitRequest request;
    request.colorTable = &colors;
    if (request.PrepareToBox(*source, *record.destination, box))
        request.Perform();
    picture.Unlock();
    picture.Clear();
    return rule;
}

uint32_t DivideRounded(uint32_t value, uint32_t by) { return (value + by / 2) / by; }

// Straight-alpha "over" in this file's convention (byte 3 counts clearness):
// the source pixel s laid on d, whose own clearness shows through.
void LayOver(const uint8_t* s, uint8_t* d, bool premultiplied)
{
    uint32_t top = 255 - s[3];
    if (top == 0)
        return;
    uint32_t under = DivideRounded((255 - d[3]) * (255 - top), 255);
    uint32_t total = top + under;
    for (int i = 0; i < 3; ++i) {
        uint32_t mixed = (premultiplied ? s[i] * 255 : s[i] * top) + d[i] * under;
        d[i] = uint8_t(std::min<uint32_t>(255, DivideRounded(mixed, total)));
    }
    d[3] = uint8_t(255 - total);
}

}  // namespace

void DrawPictureIntoBitmap(const DrawPictureRecord& record) { BlitPicture(record, false); }

void ComposePictureOverBitmap(const DrawPictureRecord& record)
{
    const MMBitmap* destination = record.destination;
    MMPictureReference picture;
    picture.Load(record.picture);
    if (destination == nullptr || destination->bitsPerPixel != 32 ||
        picture.Collection() == nullptr)
        return;
    Pair size = picture.GetSize();
    Box area = Box{record.x, record.y, record.x + size.x, record.y + size.y}.Intersected(
        destination->box);
    if (area.IsEmpty())
        return;
    // The picture copied onto a clear layer first, so that every kind of
    // picture (plain or encoded, 8 or 32 bits) reaches the mix the same way.
    std::unique_ptr<MMBitmapWithPixels> layer(
        MMBitmap::CreateWithPixels({0, 0, size.x, size.y}, kPixelBGRA, nullptr));
    if (!layer)
        return;
    FillBitmapColor(*layer, 0, 0, 0);
    SetBitmapAlpha(*layer, 255);
    int32_t rule = BlitPicture({layer.get(), 0, 0, record.picture}, true);
    if (rule < 0)
        return;
    if (rule == kTransparencyOpaque)
        SetBitmapAlpha(*layer, 0);
    bool premultiplied = rule == kTransparencyPremultiplied;
    for (int32_t y = area.top; y < area.bottom; ++y) {
        const uint8_t* s = layer->PixelAddress(area.left - record.x, y - record.y);
        uint8_t* d = destination->PixelAddress(area.left, y);
        for (int32_t x = area.left; x < area.right; ++x, s += 4, d += 4)
            LayOver(s, d, premultiplied);
    }
}

MMPictureReference& TintPicture(MMPictureReference& result, MMPictureCollection* collection,
                                MMPictureID id, const uint8_t* bgr, double factor)
{
    result.Clear();
    auto* bitmaps = dynamic_cast<MMBitmapPictureCollection*>(collection);
    MMPictureReference picture;
    picture.Load(id);
    if (bitmaps == nullptr || picture.Collection() == nullptr)
        return result;
    Pair size = picture.GetSize();
    int32_t bits = picture.BitsPerPixel();
    int16_t slot = bitmaps->FreeSlot();
    MMBitmap locked;
    if (size.x < 1 || size.y < 1 || slot < 0 || (bits != 8 && bits != 32))
        return result;
    if (bits == 8) {
        MMColorTable colors;
        if (!picture.CopyColorTable(colors) || !picture.LockBitmap(locked))
            return result;
        for (RGBQUAD& entry : colors.entries)
            Tint(reinterpret_cast<uint8_t*>(&entry), bgr, factor);
        locked.transparencyKind = kTransparencyStraight;
        bitmaps->BindPicture(result, slot, locked, &colors);
        picture.Unlock();
        return result;
    }
    if (!picture.LockBitmap(locked))
        return result;
    std::unique_ptr<MMBitmapWithPixels> copy(
        MMBitmap::CreateWithPixels(locked.box, kPixelBGRA, gDefaultHeap));
    if (copy) {
        copy->transparencyKind = kTransparencyStraight;
        for (int32_t y = locked.box.top; y < locked.box.bottom; ++y) {
            const uint8_t* from = locked.PixelAddress(locked.box.left, y);
            uint8_t* to = copy->PixelAddress(locked.box.left, y);
            for (int32_t x = 0; x < locked.Width(); ++x, from += 4, to += 4) {
                std::copy(from, from + 4, to);
                Tint(to, bgr, factor);
            }
        }
        bitmaps->BindPicture(result, slot, *copy, nullptr);
    }
    picture.Unlock();
    return result;
}
