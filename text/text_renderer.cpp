#include "text/text_renderer.h"

#include <cstring>
#include <new>

#include "canvas/blend.h"
#include "framework/text.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"
#include "text/smart_font.h"

namespace {

int32_t LengthOf(const char* text, int32_t length)
{
    if (text == nullptr)
        return 0;
    return length == 0 ? int32_t(std::strlen(text)) : length;
}

int32_t RoundUpToEven(int32_t n) { return (n + 1) & ~1; }

}  // namespace

MPTextRenderer::MPTextRenderer(MMSurface* workSurface) : surface(workSurface)
{
    for (int i = 0; i < 256; ++i) {
        palette.entries[i].rgbBlue = uint8_t(i);
        palette.entries[i].rgbGreen = uint8_t(i);
        palette.entries[i].rgbRed = uint8_t(i);
    }
}

MPTextRenderer::~MPTextRenderer() { ReleaseFonts(); }

void MPTextRenderer::ReleaseFonts()
{
    if (ownsFont)
        delete font;
    font = nullptr;
    ownsFont = false;
    delete doubleFont;
    doubleFont = nullptr;
}

void MPTextRenderer::ReadMetrics(MMFont* which, int16_t& outAscent, int16_t& outDescent,
                                 int16_t& outHeight)
{
    outAscent = outDescent = outHeight = 0;
    if (which == nullptr || surface == nullptr)
        return;
    surface->SelectFont(which);
    outAscent = int16_t(surface->FontAscent());
    outDescent = int16_t(surface->FontDescent());
    outHeight = int16_t(surface->FontLineHeight());
    surface->ReleaseFont();
}

void MPTextRenderer::TakeFonts(MMFont* newFont, bool owned, MMFont* newDouble)
{
    ReleaseFonts();
    font = newFont;
    ownsFont = owned;
    doubleFont = newDouble;
    ReadMetrics(font, ascent, descent, height);
    ReadMetrics(doubleFont, doubleAscent, doubleDescent, doubleHeight);
}

void MPTextRenderer::SetFont(MPSmartFont* newFont)
{
    MMFont* twin = newFont ? newFont->CloneAtSize(newFont->Size() * 2) : nullptr;
    TakeFonts(newFont, false, twin);
}

void MPTextRenderer::SetFontByName(const char* face, int32_t size)
{
    MMFont* plain = new (std::nothrow) MMSystemFont(face, size, FW_NORMAL, false, false);
    MMFont* twin = new (std::nothrow) MMSystemFont(face, size * 2, FW_NORMAL, false, false);
    TakeFonts(plain, plain != nullptr, twin);
}

int32_t MPTextRenderer::FirstOverhang(MMFont* which, const char* text)
{
    if (which == nullptr || surface == nullptr || LengthOf(text, 0) == 0)
        return 0;
    surface->SelectFont(which);
    int32_t overhang = surface->LeadingOverhang(text);
    surface->ReleaseFont();
    return overhang;
}

int32_t MPTextRenderer::MeasureWidth(MMFont* which, const char* text, int32_t length)
{
    length = LengthOf(text, length);
    if (which == nullptr || surface == nullptr || length <= 0)
        return 0;
    surface->SelectFont(which);
    int32_t width = surface->TextWidth(text, length) +
                    surface->TrailingOverhang(text + LastCharOffset(text, length)) +
                    surface->LeadingOverhang(text);
    surface->ReleaseFont();
    return width;
}

Box MPTextRenderer::HalfSizeAlphaBox(const char* text, int32_t length)
{
    length = LengthOf(text, length);
    if (doubleFont == nullptr || length <= 0)
        return Box{0, 0, 0, 0};
    int32_t width = RoundUpToEven(MeasureWidth(doubleFont, text, length));
    int32_t tall = RoundUpToEven(doubleHeight);
    if (width <= 0 || tall <= 0)
        return Box{0, 0, 0, 0};
    return Box{0, 0, width / 2, tall / 2};
}

WinMMOffscreenSurface* MPTextRenderer::RenderHalfSizeAlpha(const char* text, int32_t length,
                                                           uint8_t level)
{
    length = LengthOf(text, length);
    Box halfBox = HalfSizeAlphaBox(text, length);
    if (halfBox.IsEmpty())
        return nullptr;
    int32_t width = halfBox.right * 2;
    int32_t tall = halfBox.bottom * 2;
    WinMMOffscreenSurface* half =
        MMSurface::CreateBitmapDC(8, halfBox, &palette);
    if (half == nullptr)
        return nullptr;
    WinMMOffscreenSurface* large = MMSurface::CreateBitmapDC(8, Box{0, 0, width, tall}, &palette);
    if (large == nullptr) {
        half->Dispose();
        return nullptr;
    }

    const MMBitmap& big = large->Store();
    for (int32_t y = 0; y < tall; ++y)
        std::memset(big.PixelAddress(0, y), 255, size_t(width));
    uint8_t grey = uint8_t(255 - level);
    large->SelectFont(doubleFont);
    large->MoveTextTo(large->LeadingOverhang(text), doubleAscent);
    large->DrawTextRun(MMColor{-1, grey, grey, grey, 0}, text, length);
    large->ReleaseFont();
    GdiFlush();

    const MMBitmap& small = half->Store();
    for (int32_t y = 0; y < tall / 2; ++y) {
        const uint8_t* upper = big.PixelAddress(0, 2 * y);
        const uint8_t* lower = big.PixelAddress(0, 2 * y + 1);
        uint8_t* out = small.PixelAddress(0, y);
        for (int32_t x = 0; x < width / 2; ++x) {
            out[x] = uint8_t((upper[2 * x] + upper[2 * x + 1] + lower[2 * x] + lower[2 * x + 1]) >> 2);
        }
    }
    large->Dispose();
    return half;
}

Box MPTextRenderer::DrawText(const char* text, int32_t length, int32_t x, int32_t y,
                             uint32_t colour, uint8_t level)
{
    Box drawn = {0, 0, 0, 0};
    if (doubleFont == nullptr || surface == nullptr)
        return drawn;
    WinMMOffscreenSurface* mask = RenderHalfSizeAlpha(text, length, level);
    if (mask == nullptr)
        return drawn;
    const MMBitmap& coverage = mask->Store();
    Box placed = {x, y - ascent, x + coverage.Width(), y - ascent + coverage.Height()};
    Box clipped = placed;
    clipped.Intersect(surface->GetBounds());
    MMBitmap target;
    surface->Lock();
    if (!clipped.IsEmpty() && surface->GetBitmap(target) && target.bytesPerPixel >= 3) {
        const uint8_t ink[3] = {uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16)};
        for (int32_t row = clipped.top; row < clipped.bottom; ++row) {
            const uint8_t* m = coverage.PixelAddress(clipped.left - placed.left, row - placed.top);
            uint8_t* d = target.PixelAddress(clipped.left, row);
            for (int32_t column = clipped.left; column < clipped.right; ++column) {
                const uint8_t* keep = BlendTable[*m];
                const uint8_t* take = BlendTable[255 - *m];
                for (int c = 0; c < 3; ++c)
                    d[c] = uint8_t(keep[d[c]] + take[ink[c]]);
                ++m;
                d += target.bytesPerPixel;
            }
        }
        drawn = clipped;
    }
    surface->Unlock();
    mask->Dispose();
    return drawn;
}
