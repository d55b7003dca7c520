#include <cstring>
#include "framework/text.h"
#include "media/surface.h"

namespace {

// anchor - alignment, for alignments 0 to 2; other values do not move.
int32_t AlignmentFactor(int32_t alignment, int32_t anchor)
{
    if (alignment < 0 || alignment > 2 || anchor < 0 || anchor > 2) {
        return 0;
    }
    return anchor - alignment;
}

}  // namespace

void MMSurface::SelectFont(MMFont* font)
{
    Lock();
    selectedFont = font;
    font->Select(this);
}

void MMSurface::ReleaseFont()
{
    selectedFont->Deselect();
    selectedFont = nullptr;
    Unlock();
}

int32_t MMSurface::FontCapHeight()
{
    return selectedFont->GetCapHeight();
}

int32_t MMSurface::FontAscent()
{
    return selectedFont->GetAscent();
}

int32_t MMSurface::FontDescent()
{
    return selectedFont->GetDescent();
}

int32_t MMSurface::FontLineHeight()
{
    return selectedFont->GetLineHeight();
}

int32_t MMSurface::TextWidth(const char* text, int32_t length)
{
    return selectedFont->GetTextWidth(text, length);
}

int32_t MMSurface::LeadingOverhang(const char* text)
{
    return selectedFont->GetLeftOverhang(text);
}

int32_t MMSurface::TrailingOverhang(const char* character)
{
    return selectedFont->GetRightOverhang(character);
}

void MMSurface::MoveTextTo(int32_t x, int32_t y)
{
    selectedFont->MovePen(x, y);
}

Pair MMSurface::TextPosition()
{
    return selectedFont->GetPenPosition();
}

void MMSurface::DrawTextRun(MMColor color, const char* text, int32_t length)
{
    ApplyClip();
    selectedFont->DrawText(color, text, length);
}

int32_t MMSurface::AlignByWidth(int32_t x, int32_t alignment, int32_t anchor, int32_t width)
{
    return x + width * AlignmentFactor(alignment, anchor) / 2;
}

int32_t MMSurface::AlignText(int32_t x, int32_t alignment, int32_t anchor, const char* text,
                             int32_t length)
{
    int32_t factor = AlignmentFactor(alignment, anchor);
    if (factor == 0) {
        return x;
    }
    return x + TextWidth(text, length) * factor / 2;
}

int32_t MMSurface::AlignBaseline(int32_t y, int32_t alignment, int32_t anchor)
{
    return y - FontCapHeight() * AlignmentFactor(alignment, anchor) / 2;
}

void MMSurface::DrawStyledText(const char* text, const Pair& point, const MMTextStyle& style)
{
    if (text == nullptr || style.font == nullptr) {
        return;
    }
    SelectFont(style.font);
    int32_t x = AlignText(point.x, style.horizontalAlignment, 0, text, 0);
    int32_t y = AlignBaseline(point.y, style.verticalAlignment, 0);
    MoveTextTo(x, y);
    DrawTextRun(style.color, text, 0);
    ReleaseFont();
}

Box MMSurface::MeasureStyledText(const char* text, const Pair& point, const MMTextStyle& style)
{
    if (text == nullptr || style.font == nullptr) {
        return {point.x, point.y, point.x, point.y};
    }
    SelectFont(style.font);
    int32_t width = TextWidth(text, 0);
    Box box;
    box.left = AlignByWidth(point.x, style.horizontalAlignment, 0, width);
    box.right = box.left + width;
    int32_t baseline = AlignBaseline(point.y, style.verticalAlignment, 0);
    if (text[0] != 0) {
        int32_t length = static_cast<int32_t>(std::strlen(text));
        box.left -= LeadingOverhang(text);
        box.right += TrailingOverhang(text + LastCharOffset(text, length));
    }
    box.top = baseline - FontAscent();
    box.bottom = baseline + FontDescent();
    ReleaseFont();
    return box;
}
