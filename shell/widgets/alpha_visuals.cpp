#include "shell/widgets/alpha_visuals.h"

#include "canvas/masked_palette_blit.h"
#include "engine/enclosure.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"
#include "text/smart_font.h"
#include "text/text_renderer.h"

namespace {

// The part of bounds that the surface draws now.
Box DrawnPart(MMSurface* surface, const Box& bounds)
{
    Box part = bounds;
    part.Intersect(surface->GetBounds());
    part.Intersect(surface->GetClipBox());
    return part;
}

}  // namespace

KVXAlphaVisual::KVXAlphaVisual() = default;

KVXAlphaVisual::KVXAlphaVisual(const MMPictureReference& newMask,
                               const MMPictureReference& newImage, int32_t x, int32_t y,
                               int16_t layer)
    : MMPointBasedVisual(x, y), mask(newMask), image(newImage)
{
    SetLayer(layer);
    ComputeBounds();
}

void KVXAlphaVisual::ComputeBounds()
{
    if (mask.IsEmpty() || image.IsEmpty()) {
        bounds = {0, 0, 0, 0};
        return;
    }
    Pair maskSize = mask.GetSize();
    Pair imageSize = image.GetSize();
    bounds = {0, 0, maskSize.x, maskSize.y};
    bounds.Intersect(Box{0, 0, imageSize.x, imageSize.y});
    bounds.Offset({x, y});
}

void KVXAlphaVisual::SetPictures(const MMPictureReference& newMask,
                                 const MMPictureReference& newImage)
{
    if (MMSamePicture(newMask, mask) && MMSamePicture(newImage, image))
        return;
    Invalidate();
    mask = newMask;
    image = newImage;
    ComputeBounds();
    Invalidate();
}

void KVXAlphaVisual::SetPosition(int32_t newX, int32_t newY)
{
    if (newX == x && newY == y)
        return;
    Invalidate();
    x = newX;
    y = newY;
    ComputeBounds();
    Invalidate();
}

bool KVXAlphaVisual::ContainsPoint(int32_t px, int32_t py)
{
    if (!bounds.Contains({px, py}) || mask.IsEmpty())
        return false;
    MMBitmap bits;
    if (!mask.LockBitmap(bits))
        return false;
    uint8_t value = *bits.PixelAddress(bits.box.left + px - x, bits.box.top + py - y);
    mask.Unlock();
    return value < 255;
}

void KVXAlphaVisual::Draw(MMSurface* surface)
{
    if (mask.IsEmpty() || image.IsEmpty())
        return;
    Box destination = DrawnPart(surface, bounds);
    if (destination.IsEmpty())
        return;
    Box source = destination;
    source.Offset({-bounds.left, -bounds.top});
    MaskedPaletteBlitRecord record;
    MMBitmap maskBits;
    MMBitmap imageBits;
    const MMColorTable* colours = nullptr;
    if (!mask.LockBitmap(maskBits))
        return;
    if (image.LockBitmap(imageBits, &colours)) {
        source.Offset({imageBits.box.left, imageBits.box.top});
        imageBits.SubBitmap(record.picture, source);
        Box maskPart = source;
        maskPart.Offset({maskBits.box.left - imageBits.box.left, maskBits.box.top - imageBits.box.top});
        maskBits.SubBitmap(record.mask, maskPart);
        record.mask.box = record.picture.box;
        if (colours)
            record.colours.Assign(*colours);
        MaskedPaletteBlit(record, surface, destination);
        image.Unlock();
    }
    mask.Unlock();
}

KVXAlphaTextBasedVisual::KVXAlphaTextBasedVisual(int32_t x, int32_t y, const char* newText,
                                                 int32_t length)
    : level(255)
{
    ConstructAt(x, y, newText, length);
}

KVXAlphaTextVisual::KVXAlphaTextVisual(int32_t x, int32_t y, const char* newText, int32_t length)
    : KVXAlphaTextBasedVisual(x, y, newText, length)
{
    dirty = true;
}

KVXAlphaTextVisual::~KVXAlphaTextVisual() { DisposeSurfaces(); }

void KVXAlphaTextVisual::DisposeSurfaces()
{
    if (maskSurface)
        maskSurface->Dispose();
    if (colorSurface)
        colorSurface->Dispose();
    maskSurface = nullptr;
    colorSurface = nullptr;
}

Box KVXAlphaTextVisual::ComingBox() const
{
    if (comingValid)
        return coming;
    MPSmartFont* font = dynamic_cast<MPSmartFont*>(style.font);
    MMSurface* work = enclosure ? enclosure->Surface() : nullptr;
    if (font == nullptr || work == nullptr || text == nullptr)
        return TextBox();
    MPTextRenderer renderer(work);
    renderer.SetFont(font);
    coming = renderer.HalfSizeAlphaBox(text, 0);
    comingValid = true;
    return coming;
}

Box KVXAlphaTextVisual::GetBounds() const
{
    Box box = maskSurface && !dirty ? maskSurface->GetBounds() : ComingBox();
    box.Offset({x, y});
    return box;
}

void KVXAlphaTextVisual::Invalidate()
{
    dirty = true;
    comingValid = false;
    KVXAlphaTextBasedVisual::Invalidate();
}

void KVXAlphaTextVisual::SetPosition(int32_t newX, int32_t newY)
{
    bool wasDirty = dirty;
    KVXAlphaTextBasedVisual::SetPosition(newX, newY);
    dirty = wasDirty;
}

void KVXAlphaTextVisual::Prepare()
{
    ready = false;
    dirty = false;
    DisposeSurfaces();
    MPSmartFont* font = dynamic_cast<MPSmartFont*>(style.font);
    MMSurface* work = enclosure ? enclosure->Surface() : nullptr;
    if (font == nullptr || work == nullptr || text == nullptr)
        return;
    ++renders;
    MPTextRenderer renderer(work);
    renderer.SetFont(font);
    maskSurface = renderer.RenderHalfSizeAlpha(text, 0, level);
    if (maskSurface == nullptr)
        return;
    for (int i = 0; i < 6; ++i) {
        colorTable.entries[i].rgbBlue = style.color.blue;
        colorTable.entries[i].rgbGreen = style.color.green;
        colorTable.entries[i].rgbRed = style.color.red;
    }
    colorSurface = MMSurface::CreateBitmapDC(8, maskSurface->GetBounds(), &colorTable);
    if (colorSurface == nullptr) {
        maskSurface->Dispose();
        maskSurface = nullptr;
        return;
    }
    MMColor ink = style.color;
    ink.index = -1;
    colorSurface->FillBox(colorSurface->GetBounds(), ink);
    GdiFlush();
    ready = true;
}

void KVXAlphaTextVisual::Draw(MMSurface* surface)
{
    if (dirty) {
        // The text is drawn with GDI on surfaces of its own meanwhile.
        bool locked = surface->LockCount() > 0;
        if (locked)
            surface->Unlock();
        Prepare();
        if (locked)
            surface->Lock();
    }
    if (!ready)
        return;
    Box bounds = GetBounds();
    Box destination = DrawnPart(surface, bounds);
    if (destination.IsEmpty())
        return;
    Box source = destination;
    source.Offset({-bounds.left, -bounds.top});
    maskSurface->Lock();
    colorSurface->Lock();
    MaskedPaletteBlitRecord record;
    colorSurface->Store().SubBitmap(record.picture, source);
    maskSurface->Store().SubBitmap(record.mask, source);
    record.colours.Assign(colorTable);
    MaskedPaletteBlit(record, surface, destination);
    colorSurface->Unlock();
    maskSurface->Unlock();
}
