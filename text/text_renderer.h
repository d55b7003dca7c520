#pragma once
// Anti-aliased text in one colour: the text is drawn at twice its size in
// black and white on an 8-bit surface, halved by 2 x 2 means into a coverage
// mask, and the colour is blended into the destination through that mask.
#include <cstdint>

#include "framework/color_table.h"
#include "framework/geometry.h"

class MMFont;
class MMSurface;
class MPSmartFont;
class WinMMOffscreenSurface;

class MPTextRenderer {
public:
    // The work surface is where text is measured and drawn (not owned).
    explicit MPTextRenderer(MMSurface* workSurface);
    ~MPTextRenderer();
    MPTextRenderer(const MPTextRenderer&) = delete;
    MPTextRenderer& operator=(const MPTextRenderer&) = delete;

    // Takes the font without owning it and makes its double-size twin.
    void SetFont(MPSmartFont* font);
    // Makes and owns a plain font of the face at the size, and its twin.
    void SetFontByName(const char* face, int32_t size);

    int32_t FirstOverhang(MMFont* font, const char* text);
    // A length of 0 takes the whole text; the extent plus the overhangs of
    // the first and the last character.
    int32_t MeasureWidth(MMFont* font, const char* text, int32_t length);

    // A new 8-bit surface of half the double-size text's extent (each side
    // rounded up to an even number first): 255 where there is no ink, down to
    // 255 - level under full ink. Null without a font, text or memory.
    WinMMOffscreenSurface* RenderHalfSizeAlpha(const char* text, int32_t length, uint8_t level);
    // The box of that surface, {0, 0, 0, 0} when none would be made.
    Box HalfSizeAlphaBox(const char* text, int32_t length);
    // Blends colour (red in bits 16-23, green 8-15, blue 0-7) through the
    // text's mask with its baseline at y; answers the box drawn, empty when
    // nothing was.
    Box DrawText(const char* text, int32_t length, int32_t x, int32_t y, uint32_t colour,
                 uint8_t level);

    MMFont* Font() const { return font; }
    MMFont* DoubleFont() const { return doubleFont; }
    int16_t Ascent() const { return ascent; }
    int16_t Descent() const { return descent; }
    int16_t Height() const { return height; }
    int16_t DoubleAscent() const { return doubleAscent; }
    int16_t DoubleDescent() const { return doubleDescent; }
    int16_t DoubleHeight() const { return doubleHeight; }
    const MMColorTable& GreyPalette() const { return palette; }

private:
    void ReleaseFonts();
    void ReadMetrics(MMFont* which, int16_t& outAscent, int16_t& outDescent, int16_t& outHeight);
    void TakeFonts(MMFont* newFont, bool owned, MMFont* newDouble);

    MMSurface* surface;
    MMFont* font = nullptr;
    bool ownsFont = false;
    MMFont* doubleFont = nullptr;
    int16_t ascent = 0;
    int16_t descent = 0;
    int16_t height = 0;
    int16_t doubleAscent = 0;
    int16_t doubleDescent = 0;
    int16_t doubleHeight = 0;
    MMColorTable palette;
};
